// The property checks of the five fuzz targets, shared by their libFuzzer entries and the
// replay test: each takes one raw input and returns "" when every property held, or what failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

using FuzzCheck = std::string (*)(const uint8_t* data, size_t size);

// Input: an optional first line "section:key" (an extra lookup), then the settings file bytes.
// Reads the 24 keys and the extra one, saves every key twice, and checks the read values, the
// survival of every line the launcher does not own, the read-back and the stable second save.
std::string checkIniText(const uint8_t* data, size_t size);

// Input: a number text (up to its first NUL) whose first 8 bytes are also a double's bits and
// whose 9th byte chooses a decimals count. Checks parseReal, parseInt32, formatFixed (of that
// double, of it narrowed to float, and of the text's value), and formatInt32.
std::string checkNumberText(const uint8_t* data, size_t size);

// Input: a settings record in binary (switch bits, integers, float bits, the two paths).
// Checks the emulator's parameter text against the documented layout and every buffer size.
std::string checkEmulatorArguments(const uint8_t* data, size_t size);

// Input: command line, module path and current directory separated by NUL bytes (a part
// missing at the end is a null pointer). Checks deriveBaseDir and the two helpers it rests on.
std::string checkBaseDir(const uint8_t* data, size_t size);

// Input: the bytes of a settings file. Runs the encoding rules under three stand-in code pages
// (Latin-1, UTF-8 with lead bytes, none that converts) and checks which files they convert, that
// the rest come back untouched, and that a converted file holds the characters read in the input.
std::string checkIniEncoding(const uint8_t* data, size_t size);

// The libFuzzer entries' body: a failed property is reported on stderr and ends the process,
// so that libFuzzer keeps the input.
int runFuzzCheck(FuzzCheck check, const uint8_t* data, size_t size);
