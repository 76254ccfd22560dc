// The control events: every change in the launcher window goes straight into the settings
// record as it happens; there is no OK or Apply step and no validation.
#include <windows.h>

#include "launch/shell_launch.h"
#include "numtext/number_text.h"
#include "res/resource.h"
#include "settings/choice_tables.h"
#include "settings/launcher_settings.h"
#include "ui/launcher_window.h"

namespace {

// The open-file dialog's filters: pairs of display text and pattern, ending in an empty pair.
const char kEmulatorFilter[] = "*.exe\0*.exe\0all files\0*.*\0";
const char kRomFilter[] = "*.vb\0*.vb\0all files\0*.*\0";

// The text of whichever edit is being read.
char scratch[kPathBufferSize];

int32_t selectedPosition(HWND control) {
    return static_cast<int32_t>(SendMessageA(control, CB_GETCURSEL, 0, 0));
}

bool isChecked(HWND control) {
    return SendMessageA(control, BM_GETCHECK, 0, 0) != 0;
}

void readPath(int id, OwnedText& path) {
    GetDlgItemTextA(launcherWindow, id, scratch, sizeof scratch);
    path = copyText(scratch);
}

float readReal(int id) {
    GetDlgItemTextA(launcherWindow, id, scratch, sizeof scratch);
    return storedReal(parseReal(scratch));
}

// Lists react to a new selection, edits to their text about to change; check boxes and
// buttons to any command from their control.
void onListChange(int id, HWND control) {
    LauncherSettings& s = settings;
    const int32_t position = selectedPosition(control);
    switch (id) {
    case IDC_DISPLAY_MODE:
        s.dspMode = position;
        break;
    case IDC_3D_MODE:
        s.threedMode = position;
        s.pallet = 0; // every 3D-mode choice starts at the first palette of its list
        fillPaletteList(s.threedMode == kTwoColourThreedMode);
        break;
    case IDC_PALLET:
        s.pallet = position;
        break;
    case IDC_KEY_MAP:
        s.keyMap = position;
        break;
    case IDC_ZOOM:
        s.scale = position;
        break;
    case IDC_CONTROLLER:
        s.pport = position;
        break;
    case IDC_JOYSTICK:
        s.joy = position;
        break;
    default:
        break;
    }
}

void onEditUpdate(int id) {
    LauncherSettings& s = settings;
    switch (id) {
    case IDC_FRAME_SKIP:
        s.fSkip = static_cast<int32_t>(GetDlgItemInt(launcherWindow, id, nullptr, FALSE));
        break;
    case IDC_EMU_PATH:
        readPath(id, s.emuPath);
        break;
    case IDC_ROM_PATH:
        readPath(id, s.romPath);
        break;
    case IDC_BRIGHTNESS:
        s.bFactor = readReal(id);
        break;
    case IDC_BAL_R:
        s.balr = readReal(id);
        break;
    case IDC_BAL_G:
        s.balg = readReal(id);
        break;
    case IDC_BAL_B:
        s.balb = readReal(id);
        break;
    default:
        break;
    }
}

void onButton(int id, HWND control) {
    LauncherSettings& s = settings;
    switch (id) {
    case IDC_SWAP:
        s.swap = isChecked(control);
        break;
    case IDC_HSTRETCH:
        s.hstretch = isChecked(control);
        break;
    case IDC_TIMMER_HACK:
        s.timmerHack = isChecked(control);
        break;
    case IDC_VF_HACK:
        s.vfHack = isChecked(control);
        break;
    case IDC_RAM_HACK:
        s.more_ram = isChecked(control) ? 1 : 0;
        break;
    case IDC_DEBUG:
        s.debug = isChecked(control);
        break;
    case IDC_NO_THROTTLE:
        s.nothrtl = isChecked(control);
        break;
    case IDC_STATUS_LINE:
        s.status = isChecked(control);
        break;
    case IDC_DISASM:
        s.disasm = isChecked(control);
        break;
    case IDC_CONSOLE:
        s.stdout_ = isChecked(control);
        break;
    case IDC_EMU_BROWSE:
        browseForFile(IDC_EMU_PATH, kEmulatorFilter);
        break;
    case IDC_ROM_BROWSE:
        browseForFile(IDC_ROM_PATH, kRomFilter);
        break;
    case IDC_HELP:
        openHelp();
        break;
    case IDC_LAUNCH:
        launchEmulator();
        break;
    default:
        break;
    }
}

bool isList(int id) {
    switch (id) {
    case IDC_DISPLAY_MODE:
    case IDC_3D_MODE:
    case IDC_PALLET:
    case IDC_KEY_MAP:
    case IDC_ZOOM:
    case IDC_CONTROLLER:
    case IDC_JOYSTICK:
        return true;
    default:
        return false;
    }
}

bool isEdit(int id) {
    switch (id) {
    case IDC_FRAME_SKIP:
    case IDC_EMU_PATH:
    case IDC_ROM_PATH:
    case IDC_BRIGHTNESS:
    case IDC_BAL_R:
    case IDC_BAL_G:
    case IDC_BAL_B:
        return true;
    default:
        return false;
    }
}

} // namespace

void handleControlCommand(WPARAM wParam, LPARAM) {
    if (dialogFill == DialogFill::NotFilled) {
        return;
    }
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    // The control is looked up by its id rather than taken from the message, so a command
    // that names no window cannot address another one.
    HWND control = GetDlgItem(launcherWindow, id);
    if (isEdit(id)) {
        if (code == EN_UPDATE) {
            onEditUpdate(id);
        }
        return;
    }
    // What the program itself selects or checks while filling is not the user's choice.
    if (dialogFill == DialogFill::Filling) {
        return;
    }
    if (isList(id)) {
        if (code == CBN_SELCHANGE) {
            onListChange(id, control);
        }
        return;
    }
    onButton(id, control);
}
