// The control events: every change in the launcher window goes straight into the settings
// record as it happens; there is no OK or Apply step and no validation.
#include <windows.h>

#include "launch/shell_launch.h"
#include "numtext/number_text.h"
#include "settings/choice_tables.h"
#include "settings/launcher_settings.h"
#include "ui/control_table.h"
#include "ui/launcher_window.h"

namespace {

// The text of whichever edit is being read.
char scratch[kPathBufferSize];

bool isEdit(ControlKind kind) {
    return kind == ControlKind::PathEdit || kind == ControlKind::CountEdit ||
           kind == ControlKind::RealEdit;
}

bool isList(ControlKind kind) {
    return kind == ControlKind::List || kind == ControlKind::ThreedModeList ||
           kind == ControlKind::PaletteList;
}

void readEdit(const ControlRow& row) {
    LauncherSettings& s = settings;
    switch (row.kind) {
    case ControlKind::PathEdit:
        GetDlgItemTextA(launcherWindow, row.id, scratch, sizeof scratch);
        s.*row.path = copyText(scratch);
        break;
    case ControlKind::CountEdit:
        // Unsigned, so 4294967295 is stored as the 32-bit pattern of -1.
        s.*row.integer =
            static_cast<int32_t>(GetDlgItemInt(launcherWindow, row.id, nullptr, FALSE));
        break;
    case ControlKind::RealEdit:
        GetDlgItemTextA(launcherWindow, row.id, scratch, sizeof scratch);
        s.*row.real = storedReal(parseReal(scratch));
        break;
    default:
        break;
    }
}

void readListChoice(const ControlRow& row, HWND control) {
    const auto position = static_cast<int32_t>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    if (row.kind == ControlKind::ThreedModeList) {
        chooseThreedMode(settings, position);
        fillPaletteList(listsTwoColourPalettes(settings.threedMode));
        return;
    }
    settings.*row.integer = position;
}

void readCheckBox(const ControlRow& row, HWND control) {
    const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) != 0;
    if (row.flag != nullptr) {
        settings.*row.flag = checked;
    } else {
        settings.*row.integer = storedCheck(checked);
    }
}

void press(const ControlRow& row) {
    switch (row.kind) {
    case ControlKind::Browse:
        browseForFile(row.editId, row.filter);
        break;
    case ControlKind::Help:
        openHelp();
        break;
    case ControlKind::Launch:
        launchEmulator();
        break;
    default:
        break;
    }
}

} // namespace

void handleControlCommand(WPARAM wParam, LPARAM) {
    if (dialogFill == DialogFill::NotFilled) {
        return;
    }
    const ControlRow* row = controlRowOf(LOWORD(wParam));
    if (row == nullptr) {
        return;
    }
    const UINT code = HIWORD(wParam);
    // Edits react to their text about to change, also while filling (the one-decimal pass).
    if (isEdit(row->kind)) {
        if (code == EN_UPDATE) {
            readEdit(*row);
        }
        return;
    }
    // What the program itself selects or checks while filling is not the user's choice.
    if (dialogFill == DialogFill::Filling) {
        return;
    }
    // The control is looked up by its id rather than taken from the message, so a command
    // that names no window cannot address another one.
    HWND control = GetDlgItem(launcherWindow, row->id);
    if (isList(row->kind)) {
        if (code == CBN_SELCHANGE) {
            readListChoice(*row, control);
        }
    } else if (row->kind == ControlKind::Check) {
        readCheckBox(*row, control); // check boxes and buttons react to any command
    } else {
        press(*row);
    }
}
