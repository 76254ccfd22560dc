// The launcher's dialog template as the tests expect it, written once: resources_test compares
// the compiled template with these rows, window_test the live window made from it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "res/resource.h"

constexpr WORD kNoId = 0xFFFF;

enum class Kind {
    PathEdit,
    ShortEdit, // brightness and balance: no ES_AUTOHSCROLL, they stop at their width
    NumberEdit,
    Push,
    DefaultPush,
    Check,
    List,
    DisabledList, // nothing enables the joystick list
    UpDown,       // a real's: no UDS_SETBUDDYINT, which would write integers into its edit
    NumberUpDown,
    Label,
};

struct TemplateRow {
    WORD id;
    Kind kind;
    const char* caption;
    short x, y, cx, cy; // dialog units
};

// Template order, which is also the tab order and the Z order.
const TemplateRow kTemplateRows[] = {
    {IDC_EMU_PATH, Kind::PathEdit, "", 64, 7, 160, 12},
    {IDC_EMU_BROWSE, Kind::Push, "...", 233, 7, 13, 12},
    {IDC_ROM_PATH, Kind::PathEdit, "", 64, 28, 160, 12},
    {IDC_ROM_BROWSE, Kind::Push, "...", 233, 28, 13, 12},
    {IDC_DISPLAY_MODE, Kind::List, "", 64, 52, 79, 106},
    {IDC_3D_MODE, Kind::List, "", 64, 72, 79, 99},
    {IDC_ZOOM, Kind::List, "", 64, 92, 79, 75},
    {IDC_PALLET, Kind::List, "", 64, 112, 79, 72},
    {IDC_BRIGHTNESS, Kind::ShortEdit, "", 64, 132, 29, 12},
    {IDC_BRIGHTNESS_SPIN, Kind::UpDown, "Spin1", 94, 132, 11, 13},
    {IDC_BAL_R, Kind::ShortEdit, "", 64, 152, 29, 12},
    {IDC_BAL_R_SPIN, Kind::UpDown, "Spin1", 88, 148, 11, 13},
    {IDC_BAL_G, Kind::ShortEdit, "", 96, 152, 29, 12},
    {IDC_BAL_G_SPIN, Kind::UpDown, "Spin1", 120, 150, 11, 13},
    {IDC_BAL_B, Kind::ShortEdit, "", 128, 152, 29, 12},
    {IDC_BAL_B_SPIN, Kind::UpDown, "Spin1", 151, 151, 11, 13},
    {IDC_FRAME_SKIP, Kind::NumberEdit, "", 64, 173, 29, 12},
    {IDC_FRAME_SKIP_SPIN, Kind::NumberUpDown, "Spin1", 89, 173, 11, 13},
    {IDC_KEY_MAP, Kind::List, "", 64, 193, 79, 52},
    {IDC_CONTROLLER, Kind::List, "", 64, 213, 79, 70},
    {IDC_JOYSTICK, Kind::DisabledList, "", 64, 233, 79, 70},
    {IDC_SWAP, Kind::Check, "swap display", 162, 49, 84, 12},
    {IDC_HSTRETCH, Kind::Check, "horizontal 2x ", 162, 63, 84, 12},
    {IDC_NO_THROTTLE, Kind::Check, "No Throttle", 162, 86, 84, 12},
    {IDC_STATUS_LINE, Kind::Check, "Status Line", 162, 104, 84, 12},
    {IDC_TIMMER_HACK, Kind::Check, "Long Timmer Hack", 162, 123, 84, 12},
    {IDC_VF_HACK, Kind::Check, "Vertical Force Hack", 162, 139, 84, 12},
    {IDC_DEBUG, Kind::Check, "Debug Mode", 162, 174, 84, 12},
    {IDC_DISASM, Kind::Check, "Dissasembly", 172, 192, 74, 12},
    {IDC_CONSOLE, Kind::Check, "Console Output", 172, 210, 74, 12},
    {IDC_HELP, Kind::Push, "Help", 162, 234, 38, 12},
    {IDC_LAUNCH, Kind::DefaultPush, "Launch", 208, 234, 38, 12},
    {kNoId, Kind::Label, "Emulator Path", 7, 7, 47, 12},
    {kNoId, Kind::Label, "Rom Path", 7, 28, 47, 12},
    {kNoId, Kind::Label, "Display Mode", 7, 52, 47, 12},
    {kNoId, Kind::Label, "3D Mode", 7, 72, 47, 12},
    {kNoId, Kind::Label, "Zoom", 7, 92, 47, 12},
    {kNoId, Kind::Label, "Pallet", 7, 112, 47, 12},
    {kNoId, Kind::Label, "Brightness", 7, 132, 47, 12},
    {kNoId, Kind::Label, "Balance (r,g,b)", 7, 152, 47, 12},
    {kNoId, Kind::Label, "Frame Skip", 7, 173, 47, 12},
    {kNoId, Kind::Label, "Key Map", 7, 193, 47, 12},
    {kNoId, Kind::Label, "VB Controller", 7, 213, 47, 12},
    {kNoId, Kind::Label, "Joystick", 7, 233, 47, 12},
    {IDC_RAM_HACK, Kind::Check, "Ram Hack", 162, 154, 84, 12},
};
constexpr size_t kTemplateRowCount = sizeof kTemplateRows / sizeof kTemplateRows[0];

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kSpinStyle = kShown | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;

// The style word the template gives a control of each kind, whole.
inline DWORD templateStyle(Kind kind) {
    const DWORD field = kShown | WS_BORDER | WS_TABSTOP;
    const DWORD list = kShown | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN;
    switch (kind) {
    case Kind::PathEdit:
        return field | ES_AUTOHSCROLL;
    case Kind::ShortEdit:
        return field;
    case Kind::NumberEdit:
        return field | ES_AUTOHSCROLL | ES_NUMBER;
    case Kind::Push:
        return kShown | WS_TABSTOP | BS_PUSHBUTTON;
    case Kind::DefaultPush:
        return kShown | WS_TABSTOP | BS_DEFPUSHBUTTON;
    case Kind::Check:
        return kShown | WS_TABSTOP | BS_AUTOCHECKBOX;
    case Kind::List:
        return list;
    case Kind::DisabledList:
        return list | WS_DISABLED;
    case Kind::UpDown:
        return kSpinStyle;
    case Kind::NumberUpDown:
        return kSpinStyle | UDS_SETBUDDYINT;
    case Kind::Label:
        return kShown | WS_GROUP | SS_RIGHT | SS_CENTERIMAGE;
    }
    return 0;
}

// The window class a control of each kind belongs to: the predefined class's atom the template
// names (0 for the up-down, which has none and is named), its name, and the field of its style
// that holds its type (compared whole; the other bits only for presence, since the window may
// add its own).
struct KindClass {
    WORD atom;
    const char* name;
    DWORD typeMask;
};

inline KindClass classOf(Kind kind) {
    switch (kind) {
    case Kind::PathEdit:
    case Kind::ShortEdit:
    case Kind::NumberEdit:
        return {0x81, "Edit", 0};
    case Kind::Push:
    case Kind::DefaultPush:
    case Kind::Check:
        return {0x80, "Button", BS_TYPEMASK};
    case Kind::List:
    case Kind::DisabledList:
        return {0x85, "ComboBox", CBS_DROPDOWNLIST};
    case Kind::UpDown:
    case Kind::NumberUpDown:
        return {0, UPDOWN_CLASSA, 0};
    case Kind::Label:
        return {0x82, "Static", SS_TYPEMASK};
    }
    return {0, "", 0};
}

inline bool isUpDownKind(Kind kind) {
    return kind == Kind::UpDown || kind == Kind::NumberUpDown;
}
