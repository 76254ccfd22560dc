// The seven choice tables: labels in the order the dialog's lists show them, tokens for the
// emulator's parameter text.
#include "settings/choice_tables.h"

namespace {

template <size_t N> constexpr ChoiceTable tableOf(const ChoiceEntry (&entries)[N]) {
    return ChoiceTable{entries, static_cast<int32_t>(N)};
}

const ChoiceEntry kDisplayEntries[] = {
    {"Frame", "frame"},   {"320x200", "320"},    {"640x480", "640"},    {"800x600", "800"},
    {"1024x768", "1024"}, {"1280x1024", "1280"}, {"1400x1050", "1400"}, {"1600x1200", "1600"},
};

const ChoiceEntry kThreedModeEntries[] = {
    {"Normal", "normal"},         {"Affine", "affine"}, {"Interlaced", "interlace"},
    {"Over under", "over_under"}, {"Side", "side"},     {"CyberScope", "cscope"},
};

// The two plain palettes, then the six two-colour ones that the Affine mode lists.
const ChoiceEntry kPaletteEntries[] = {
    {"Normal", "normal"}, {"Red", "red"},        {"Red-Blue", "rb"},      {"Red-Green", "rg"},
    {"Red-Cyan", "rc"},   {"Yellow-Blue", "yb"}, {"Magenta-Green", "mg"}, {"Blue-Green", "bg"},
};

const ChoiceEntry kKeyMapEntries[] = {{"Default", ""}, {"Alternate", "-altkbd"}};

const ChoiceEntry kZoomEntries[] = {
    {"Stretch", ""}, {"1x", ""}, {"2x", ""}, {"3x", ""}, {"4x", ""}, {"5x", ""}, {"6x", ""},
};

const ChoiceEntry kControllerEntries[] = {
    {"none", ""},         {"lpt1 (0x378)", ""}, {"lpt2 (0x278)", ""},
    {"lpt3 (0x3B8)", ""}, {"IBM (0x3BC)", ""},
};

const ChoiceEntry kJoystickEntries[] = {{"none", ""}, {"Joy Map 1", ""}};

constexpr int32_t kPlainPaletteCount = 2;

} // namespace

const ChoiceTable kDisplayTable = tableOf(kDisplayEntries);
const ChoiceTable kThreedModeTable = tableOf(kThreedModeEntries);
const ChoiceTable kPaletteTable = tableOf(kPaletteEntries);
const ChoiceTable kKeyMapTable = tableOf(kKeyMapEntries);
const ChoiceTable kZoomTable = tableOf(kZoomEntries);
const ChoiceTable kControllerTable = tableOf(kControllerEntries);
const ChoiceTable kJoystickTable = tableOf(kJoystickEntries);

const ChoiceEntry& choiceAt(const ChoiceTable& table, int32_t index) {
    if (index < 0 || index >= table.count) {
        return table.entries[0];
    }
    return table.entries[index];
}

bool listsTwoColourPalettes(int32_t threedMode) {
    return threedMode == kTwoColourThreedMode;
}

int32_t paletteListFor(int32_t threedMode, int32_t* first) {
    if (listsTwoColourPalettes(threedMode)) {
        *first = kTwoColourPaletteOffset;
        return kPaletteTable.count - kTwoColourPaletteOffset;
    }
    *first = 0;
    return kPlainPaletteCount;
}

const char* paletteToken(int32_t threedMode, int32_t pallet) {
    int32_t first = 0;
    paletteListFor(threedMode, &first);
    // Widened so that a pallet near INT32_MAX cannot overflow when the offset is added.
    const int64_t position = static_cast<int64_t>(pallet) + first;
    if (position < 0 || position >= kPaletteTable.count) {
        return kPaletteTable.entries[first].token;
    }
    return kPaletteTable.entries[position].token;
}
