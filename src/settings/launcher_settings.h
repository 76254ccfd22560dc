// LauncherSettings: the launcher's whole state, one record for the life of the process.
//
// Loaded from "quellix.ini" beside the launcher at start, edited in place by the dialog's
// controls, read when the emulator's parameter text is built, written back at exit.
// The record owns its three path strings; replacing one releases the old string, and the
// record's destruction at process exit releases them all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "text/owned_text.h"

// Values arrive from the settings file in a buffer of this size (at most 255 characters); the
// two paths arrive in one of kPathBufferSize, their own limit.
constexpr size_t kValueBufferSize = 256;

struct LauncherSettings {
    // The fields in declared order; each one's name is also its key in the settings file,
    // except baseDir, which is never stored.
    bool swap;
    bool hstretch;
    bool timmerHack;
    bool vfHack;
    bool debug;
    bool nothrtl;
    bool status;
    bool disasm;
    bool stdout_; // key "stdout": the C library claims the bare name for a macro
    int32_t dspMode;
    int32_t threedMode;
    int32_t pallet;
    int32_t fSkip;
    float bFactor;
    float balr;
    float balg;
    float balb;
    int32_t keyMap;
    int32_t scale;
    int32_t pport;
    int32_t joy;
    int32_t more_ram; // a full integer: any value from the file is kept; the dialog sets 0 or 1
    OwnedText emuPath;
    OwnedText romPath;
    OwnedText baseDir; // the launcher's directory, no trailing backslash
    // Set when the settings file was there at start but could not be read, or could not be
    // turned into an encoding the profile functions read: the run never saw the user's values,
    // so save leaves the file as it is.
    bool settingsFileUnreadable;

    // Finds the launcher's directory and sets baseDir (base_dir.cpp).
    void locateBaseDir();
    // Builds baseDir followed by "\quellix.ini" into `out`. False (and an empty text) when
    // baseDir is unset or the path would not fit kPathBufferSize characters.
    bool settingsFilePath(char* out, size_t size) const;

    // The value operations on section "main" of the settings file (settings_file.cpp).
    // getString gives a new 256-byte text the caller owns: the key's value (at most 255
    // characters), or `fallback` ("" when nullptr) when the key or file is missing; nullptr
    // when no key name is given.
    OwnedText getString(const char* key, const char* fallback) const;
    // The same in a text of `size` bytes: the two path keys are read whole up to the paths' own
    // limit (kPathBufferSize), every other key as getString.
    OwnedText getText(const char* key, const char* fallback, size_t size) const;
    int32_t getInt(const char* key, int32_t fallback) const;
    double getFloat(const char* key, double fallback) const;
    void putString(const char* key, const char* value) const;
    void putInt(const char* key, int32_t value) const;
    void putFloat(const char* key, double value) const;

    // Locates baseDir, then reads every key; always true. A stored path fully qualified on
    // another drive letter than baseDir's that names nothing is moved to baseDir's drive when the
    // same path exists there.
    bool load();
    // Reads every key of the settings file in baseDir, each with its default, after
    // prepareSettingsFile.
    void readKeys();
    // Before the first read: notes a file that cannot be read (settingsFileUnreadable), and
    // rewrites one in an encoding the profile functions do not read (iniTextInReadableEncoding);
    // a rewrite that failed is noted as a file that cannot be read.
    void prepareSettingsFile();
    // Writes every key in the fixed order that the file does not already hold with the same
    // text; nothing when the file could not be read at start. Always true (write failures lose
    // the changes silently, as nothing reports them).
    bool save() const;
};

// The one settings record of the process.
extern LauncherSettings settings;

// How a real read from text (settings file or dialog) becomes a stored float32: narrowed to
// 32 bits, except that a value beyond the float range, which would become infinite, is stored
// as the largest finite float of its sign. So neither the settings file nor the emulator ever
// receives a number text that cannot be read back.
float storedReal(double value);

// The choices the window makes for the record, so they hold wherever the record is edited.
// Every 3D-mode choice starts at the first palette of the mode's list, also when the mode stays
// in the same palette family: the old position may name another palette, or none, in the new one.
void chooseThreedMode(LauncherSettings& s, int32_t mode);
// What a check box stores in a full-integer setting (more_ram): exactly 1 or 0, whatever the
// settings file held before.
int32_t storedCheck(bool checked);
// Whether a full-integer setting shows its box ticked: any nonzero value does (a hand-edited 5
// too), and the value itself is kept until the box is clicked.
bool showsTicked(int32_t value);
