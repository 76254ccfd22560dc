// The value domains of the seven choice settings: stored index -> list label -> token.
#pragma once

#include <cstddef>
#include <cstdint>

struct ChoiceEntry {
    const char* label; // what the dialog's list shows
    const char* token; // what the emulator's parameter text carries ("" when passed as a number)
};

struct ChoiceTable {
    const ChoiceEntry* entries;
    int32_t count;
};

extern const ChoiceTable kDisplayTable;    // dspMode, "-display"
extern const ChoiceTable kThreedModeTable; // threedMode, "-dspmode"
extern const ChoiceTable kPaletteTable;    // pallet, "-pallet": the eight tokens in one list
extern const ChoiceTable kKeyMapTable;     // keyMap: only 1 gives "-altkbd"
extern const ChoiceTable kZoomTable;       // scale, "-sclscr" (passed as the index itself)
extern const ChoiceTable kControllerTable; // pport, "-pport" (passed as the index itself)
extern const ChoiceTable kJoystickTable;   // joy, "-joy" (passed as the index itself)

// The 3D mode whose palette list holds the six two-colour palettes ("Affine").
constexpr int32_t kTwoColourThreedMode = 1;
// Where the two-colour palettes start in the palette token list.
constexpr int32_t kTwoColourPaletteOffset = 2;

// The entry at `index`. An index outside the table (possible only through a hand-edited
// settings file) gives the table's first entry: the emulator then gets a valid token, the
// stored index is left as it is, and nothing is ever read outside a table.
const ChoiceEntry& choiceAt(const ChoiceTable& table, int32_t index);

// True when the palette list of `threedMode` holds the six two-colour palettes ("Affine").
bool listsTwoColourPalettes(int32_t threedMode);

// The labels the palette list shows for a 3D mode: the six two-colour palettes for "Affine",
// otherwise "Normal" and "Red". `first` receives the position of the list's first label in
// kPaletteTable.
int32_t paletteListFor(int32_t threedMode, int32_t* first);

// The palette token for the current 3D mode: position `pallet` of the token list, or
// `pallet` + 2 when threedMode is 1; a position outside the list gives the first token of the
// current list ("rb" for Affine, else "normal").
const char* paletteToken(int32_t threedMode, int32_t pallet);
