// Creating the launcher window and filling its controls from the settings record.
#include <windows.h>

#include "ui/launcher_window.h"

#include "numtext/number_text.h"
#include "res/resource.h"
#include "settings/choice_tables.h"
#include "settings/launcher_settings.h"
#include "ui/control_table.h"

DialogFill dialogFill = DialogFill::NotFilled;

namespace {

// The palette list never holds more than six items.
constexpr int kLongestPaletteList = 6;

LRESULT sendToControl(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(launcherWindow, id, message, wParam, lParam);
}

void fillList(int id, const ChoiceTable& table, int32_t selected) {
    for (int32_t i = 0; i < table.count; ++i) {
        sendToControl(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(table.entries[i].label));
    }
    // A position outside the list selects nothing and leaves the setting as it is.
    sendToControl(id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// The edit takes its own copy of the text before it announces the change, but the
// announcement replaces the path field while the edit is still being set: hand it a copy.
void showPath(int id, const OwnedText& path) {
    const OwnedText shown = copyText(path ? path.get() : "");
    SetDlgItemTextA(launcherWindow, id, shown ? shown.get() : "");
}

void showReal(int id, float value) {
    // Room for the one-decimal text of any float (the largest has 39 integer digits), so
    // values of 10^9 and more, or -10^8 and less, show whole.
    char text[kFixedTextSize];
    formatFixed(static_cast<double>(value), 1, text, sizeof text);
    SetDlgItemTextA(launcherWindow, id, text);
}

void showCheck(int id, bool checked) {
    sendToControl(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void fillControl(const ControlRow& row) {
    const LauncherSettings& s = settings;
    switch (row.kind) {
    case ControlKind::List:
    case ControlKind::ThreedModeList:
        fillList(row.id, *row.choices, s.*row.integer);
        break;
    case ControlKind::PaletteList:
        fillPaletteList(listsTwoColourPalettes(s.threedMode));
        break;
    case ControlKind::PathEdit:
        showPath(row.id, s.*row.path);
        break;
    case ControlKind::CountEdit:
        SetDlgItemInt(launcherWindow, row.id, static_cast<UINT>(s.*row.integer), FALSE);
        break;
    case ControlKind::RealEdit:
        showReal(row.id, s.*row.real);
        break;
    case ControlKind::Check:
        showCheck(row.id, row.flag != nullptr ? s.*row.flag : showsTicked(s.*row.integer));
        break;
    default:
        break; // the buttons show no setting
    }
}

} // namespace

HWND openLauncherWindow(HINSTANCE instance, DLGPROC procedure) {
    dialogFill = DialogFill::NotFilled;
    launcherWindow =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, procedure, 0);
    return launcherWindow;
}

void fillPaletteList(bool twoColour) {
    for (int i = 0; i < kLongestPaletteList; ++i) {
        sendToControl(IDC_PALLET, CB_DELETESTRING, 0, 0);
    }
    int32_t first = 0;
    const int32_t count = paletteListFor(twoColour ? kTwoColourThreedMode : 0, &first);
    for (int32_t i = 0; i < count; ++i) {
        sendToControl(IDC_PALLET, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>(kPaletteTable.entries[first + i].label));
    }
    sendToControl(IDC_PALLET, CB_SETCURSEL, static_cast<WPARAM>(settings.pallet), 0);
}

void fillDialog() {
    dialogFill = DialogFill::Filling;
    for (int i = 0; i < kControlCount; ++i) {
        fillControl(kControls[i]);
    }
    dialogFill = DialogFill::Filled;
}
