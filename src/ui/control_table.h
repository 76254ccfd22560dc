// The launcher window's controls, described once: which setting each control shows and edits,
// and how. Filling the window and the control events both walk this table.
#pragma once

#include <cstdint>

#include "settings/choice_tables.h"
#include "settings/launcher_settings.h"

enum class ControlKind {
    List,           // a choice setting: the list shows its table's labels, selects its index
    ThreedModeList, // a list whose choice also starts the palette list afresh
    PaletteList,    // the palette list, whose labels follow the 3D mode
    PathEdit,       // a path, as typed (at most 259 characters)
    CountEdit,      // the frame skip: an unsigned decimal
    RealEdit,       // a real: shown with one decimal, read by the launcher's own rule
    Check,          // an on/off setting: a flag, or more_ram's full integer
    Browse,         // "...": the open-file dialog for the path edit `editId`
    Help,
    Launch,
};

// One control: its id, its kind, and the setting it edits (the member pointer of its type is
// set, the others are null). Buttons edit no setting.
struct ControlRow {
    int id;
    ControlKind kind;
    int32_t LauncherSettings::*integer;
    bool LauncherSettings::*flag;
    float LauncherSettings::*real;
    OwnedText LauncherSettings::*path;
    const ChoiceTable* choices; // a List's labels
    int editId;                 // a Browse button's path edit
    const wchar_t* filter;      // a Browse button's open-file filter
};

// Every control that shows or edits a setting, or acts, in the order filling puts the settings
// in: the lists, the edits, the check boxes, then the buttons. The up-downs and labels are not
// here: the launcher handles none of their commands.
extern const ControlRow kControls[];
extern const int kControlCount;

// The row of control `id`; null for an id the launcher does not handle.
const ControlRow* controlRowOf(int id);
