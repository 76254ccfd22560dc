// The emulator's parameter text: the quoted ROM path followed by the emulator's option words,
// built from the settings record. Pure: reads the record, changes nothing.
#pragma once

#include <cstddef>

#include "settings/launcher_settings.h"

// Room for the longest parameter text any record can give: a 259-character ROM path, the
// longest tokens, every switch on, and every number at its longest ("-2147483648", and the
// "%f" text of the largest float, 47 characters). The emulator is never handed a cut text.
constexpr size_t kArgumentsBufferSize = 1024;

// Writes the parameter text into `out` and returns true. When it does not fit `size` (a ROM
// path longer than any the launcher reads, or a buffer smaller than kArgumentsBufferSize)
// `out` holds "" and the result is false: the launcher then starts nothing rather than pass
// a command line that silently lost its end.
//
// The text, in this order, with one blank between items:
//   "romPath" -display D -dspmode M -frmskp %d -brite %f -balance %f %f %f -sclscr %d
//   -pport %d -joy %d -pallet P, then eleven switch words, each empty when off:
//   -flip -hstretch -ltimmer -vfhack -more_ram -debug -disasm -stdout -altkbd -nothrtl -status
// A switch that is off keeps its separating blank, so with every switch off the text ends
// with the palette token and eleven blanks. A romPath wrapped in one pair of double quotes (a
// pasted path) goes in without that pair (pathWithoutQuotePair); the record keeps it as typed.
bool buildEmulatorArguments(const LauncherSettings& settings, char* out, size_t size);
