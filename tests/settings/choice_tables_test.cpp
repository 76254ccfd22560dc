// The choice tables: the palette's two lists in one token list, and indices from a
// hand-edited file that lie outside their tables.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/choice_tables.h"
#include "settings/launcher_settings.h"

namespace {

struct PaletteCase {
    int32_t threedMode;
    int32_t pallet;
    const char* token;
};

TEST(ChoiceTables, PaletteTokenFollowsTheListOfTheThreedMode) {
    const PaletteCase cases[] = {
        {0, 0, "normal"},
        {0, 1, "red"},
        {4, 1, "red"},
        {1, 0, "rb"},
        {1, 2, "rc"},
        {1, 5, "bg"},
        {5, 0, "normal"},
        // Positions in the one token list past the plain palettes stay as stored.
        {0, 2, "rb"},
        {0, 7, "bg"},
        // Outside the token list: the first palette of the mode's own list.
        {1, 6, "rb"},
        {1, -3, "rb"},
        {0, 8, "normal"},
        {0, -1, "normal"},
        {1, INT32_MAX, "rb"},
        {1, INT32_MIN, "rb"},
        {-1, 1, "red"},
        {99, 1, "red"},
    };
    for (const PaletteCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.threedMode) + "/" + std::to_string(c.pallet));
        EXPECT_STREQ(c.token, paletteToken(c.threedMode, c.pallet));
    }
}

TEST(ChoiceTables, PaletteListsOfTheDialog) {
    int32_t first = -1;
    ASSERT_EQ(6, paletteListFor(1, &first));
    EXPECT_STREQ("Red-Blue", kPaletteTable.entries[first].label);
    EXPECT_STREQ("Blue-Green", kPaletteTable.entries[first + 5].label);
    for (int32_t mode : {0, 2, 3, 4, 5, -1, 6}) {
        ASSERT_EQ(2, paletteListFor(mode, &first));
        EXPECT_STREQ("Normal", kPaletteTable.entries[first].label);
        EXPECT_STREQ("Red", kPaletteTable.entries[first + 1].label);
    }
}

struct ThreedChoiceCase {
    int32_t mode;
    int32_t pallet;
    int32_t chosen;
    bool twoColour;
};

TEST(ChoiceTables, WindowChoicesKeepTheRecordConsistent) {
    // Every 3D-mode choice starts the palette afresh, also within the same palette family.
    const ThreedChoiceCase cases[] = {
        {0, 1, 1, true}, {1, 5, 4, false}, {1, 3, 1, true}, {4, 1, 4, false}, {5, 0, -1, false}};
    for (const ThreedChoiceCase& c : cases) {
        LauncherSettings s{};
        s.threedMode = c.mode;
        s.pallet = c.pallet;
        chooseThreedMode(s, c.chosen);
        EXPECT_EQ(c.chosen, s.threedMode);
        EXPECT_EQ(0, s.pallet);
        EXPECT_EQ(c.twoColour, listsTwoColourPalettes(s.threedMode));
    }
    // A box stores exactly 0 or 1; any stored nonzero value shows ticked.
    EXPECT_EQ(1, storedCheck(true));
    EXPECT_EQ(0, storedCheck(false));
    for (int32_t value : {1, 2, 5, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_TRUE(showsTicked(value)) << value;
    }
    EXPECT_FALSE(showsTicked(0));
}

struct OutsideCase {
    const ChoiceTable* table;
    int32_t index;
    const char* label;
};

TEST(ChoiceTables, AnIndexOutsideItsTableGivesTheFirstEntry) {
    const OutsideCase cases[] = {
        {&kDisplayTable, 7, "1600x1200"},
        {&kDisplayTable, 8, "Frame"},
        {&kDisplayTable, -1, "Frame"},
        {&kDisplayTable, INT32_MIN, "Frame"},
        {&kThreedModeTable, 5, "CyberScope"},
        {&kThreedModeTable, 6, "Normal"},
        {&kZoomTable, 6, "6x"},
        {&kZoomTable, 7, "Stretch"},
        {&kControllerTable, 4, "IBM (0x3BC)"},
        {&kJoystickTable, INT32_MAX, "none"},
        {&kKeyMapTable, 2, "Default"},
    };
    for (const OutsideCase& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_STREQ(c.label, choiceAt(*c.table, c.index).label);
    }
}

struct NarrowCase {
    double value;
    float stored;
};

TEST(ChoiceTables, RealsBeyondFloatRangeAreStoredAsTheLargestFloat) {
    const float largest = 3.40282346638528859811704183484516925440e38f;
    const NarrowCase cases[] = {
        {1e39, largest},
        {-1e39, -largest},
        {1.0 / 0.0, largest},
        {-1.0 / 0.0, -largest},
        {3.4028235677973366e38, largest}, // would round to the largest float anyway
        {340282346638528859811704183484516925440.0, largest},
        {0.87, 0.87f},
        {-1.25, -1.25f},
        {1e-50, 0.0f},
    };
    for (const NarrowCase& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.stored, storedReal(c.value));
    }
    EXPECT_EQ(0.0f, storedReal(0.0 / 0.0));
}

} // namespace
