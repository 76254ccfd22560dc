// The table of the launcher window's controls.
#include "ui/control_table.h"

#include "res/resource.h"

namespace {

using S = LauncherSettings;

// The open-file dialog's filters: pairs of display text and pattern, ending in an empty pair.
const wchar_t kEmulatorFilter[] = L"*.exe\0*.exe\0all files\0*.*\0";
const wchar_t kRomFilter[] = L"*.vb\0*.vb\0all files\0*.*\0";

constexpr ControlRow list(int id, int32_t S::*field, const ChoiceTable* choices,
                          ControlKind kind = ControlKind::List) {
    return {id, kind, field, nullptr, nullptr, nullptr, choices, 0, nullptr};
}
constexpr ControlRow pathEdit(int id, OwnedText S::*field) {
    return {id, ControlKind::PathEdit, nullptr, nullptr, nullptr, field, nullptr, 0, nullptr};
}
constexpr ControlRow countEdit(int id, int32_t S::*field) {
    return {id, ControlKind::CountEdit, field, nullptr, nullptr, nullptr, nullptr, 0, nullptr};
}
constexpr ControlRow realEdit(int id, float S::*field) {
    return {id, ControlKind::RealEdit, nullptr, nullptr, field, nullptr, nullptr, 0, nullptr};
}
constexpr ControlRow check(int id, bool S::*field) {
    return {id, ControlKind::Check, nullptr, field, nullptr, nullptr, nullptr, 0, nullptr};
}
constexpr ControlRow integerCheck(int id, int32_t S::*field) {
    return {id, ControlKind::Check, field, nullptr, nullptr, nullptr, nullptr, 0, nullptr};
}
constexpr ControlRow browse(int id, int editId, const wchar_t* filter) {
    return {id, ControlKind::Browse, nullptr, nullptr, nullptr, nullptr, nullptr, editId, filter};
}
constexpr ControlRow button(int id, ControlKind kind) {
    return {id, kind, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr};
}

} // namespace

const ControlRow kControls[] = {
    list(IDC_DISPLAY_MODE, &S::dspMode, &kDisplayTable),
    list(IDC_3D_MODE, &S::threedMode, &kThreedModeTable, ControlKind::ThreedModeList),
    list(IDC_PALLET, &S::pallet, &kPaletteTable, ControlKind::PaletteList),
    list(IDC_KEY_MAP, &S::keyMap, &kKeyMapTable),
    list(IDC_ZOOM, &S::scale, &kZoomTable),
    list(IDC_CONTROLLER, &S::pport, &kControllerTable),
    list(IDC_JOYSTICK, &S::joy, &kJoystickTable),

    pathEdit(IDC_EMU_PATH, &S::emuPath),
    pathEdit(IDC_ROM_PATH, &S::romPath),
    countEdit(IDC_FRAME_SKIP, &S::fSkip),
    realEdit(IDC_BRIGHTNESS, &S::bFactor),
    realEdit(IDC_BAL_R, &S::balr),
    realEdit(IDC_BAL_G, &S::balg),
    realEdit(IDC_BAL_B, &S::balb),

    check(IDC_SWAP, &S::swap),
    check(IDC_HSTRETCH, &S::hstretch),
    check(IDC_TIMMER_HACK, &S::timmerHack),
    check(IDC_VF_HACK, &S::vfHack),
    integerCheck(IDC_RAM_HACK, &S::more_ram),
    check(IDC_DEBUG, &S::debug),
    check(IDC_NO_THROTTLE, &S::nothrtl),
    check(IDC_STATUS_LINE, &S::status),
    check(IDC_DISASM, &S::disasm),
    check(IDC_CONSOLE, &S::stdout_),

    browse(IDC_EMU_BROWSE, IDC_EMU_PATH, kEmulatorFilter),
    browse(IDC_ROM_BROWSE, IDC_ROM_PATH, kRomFilter),
    button(IDC_HELP, ControlKind::Help),
    button(IDC_LAUNCH, ControlKind::Launch),
};
const int kControlCount = sizeof kControls / sizeof kControls[0];

const ControlRow* controlRowOf(int id) {
    for (const ControlRow& row : kControls) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}
