// The settings file "quellix.ini" beside the launcher: the value operations on its section
// "main" and the whole-record load and save, driven by one table of the 24 keys.
#include <algorithm>
#include <cstring>
#include <utility>

#include "ini/ini_encoding.h"
#include "ini/profile_file.h"
#include "numtext/number_text.h"
#include "paths/path_checks.h"
#include "paths/path_text.h"
#include "settings/launcher_settings.h"
#include "settings/setting_keys.h"

namespace {

const char kSection[] = "main";
const char kSettingsFileName[] = "\\quellix.ini";
const char kDefaultEmulatorName[] = "\\quellix.exe";
const char kDefaultRomName[] = "\\vb_demo_1.vb";

constexpr SettingKey integerKey(const char* name, int32_t LauncherSettings::*field,
                                int32_t fallback) {
    return {name, KeyKind::Integer, field, nullptr, nullptr, nullptr, fallback, 0.0, nullptr};
}
constexpr SettingKey flagKey(const char* name, bool LauncherSettings::*field) {
    return {name, KeyKind::Flag, nullptr, field, nullptr, nullptr, 0, 0.0, nullptr};
}
constexpr SettingKey realKey(const char* name, float LauncherSettings::*field, double fallback) {
    return {name, KeyKind::Real, nullptr, nullptr, field, nullptr, 0, fallback, nullptr};
}
constexpr SettingKey pathKey(const char* name, OwnedText LauncherSettings::*field,
                             const char* defaultFileName) {
    return {name, KeyKind::Path, nullptr, nullptr, nullptr, field, 0, 0.0, defaultFileName};
}

void copyBounded(const char* text, char* out, size_t size) {
    const size_t length = std::min(std::strlen(text), size - 1);
    std::memcpy(out, text, length);
    out[length] = '\0';
}

// Whether the file gives `value` for `key` now. Two reads with two different fallbacks tell a
// key that is there (both give its text) from a missing one (each gives its fallback).
bool fileHoldsValue(const char* filePath, const char* key, const char* value) {
    // Room for every text save writes: the longest real, and a path.
    char text[kFixedTextSize + 2];
    const size_t length = std::strlen(value);
    if (length + 2 > sizeof text) {
        return false;
    }
    for (const char* fallback : {"\x01", "\x02"}) {
        const size_t got = profileReadString(kSection, key, fallback, text, length + 2, filePath);
        if (got != length || std::memcmp(text, value, length) != 0) {
            return false;
        }
    }
    return true;
}

// A portable set-up on a USB stick gets whatever drive letter is free on each PC: a stored
// path on the letter it had when it was saved, which now names nothing, is taken on the
// launcher's own drive when the same file is there. Any other path stays exactly as stored.
OwnedText onBaseDirsDriveWhenMoved(OwnedText stored, const char* baseDir) {
    char moved[kPathBufferSize];
    if (stored != nullptr && pathOnMovedDrive(stored.get(), baseDir, pathExists, pathOnNetworkDrive,
                                              moved, sizeof moved)) {
        OwnedText copy = copyText(moved);
        return copy != nullptr ? std::move(copy) : std::move(stored);
    }
    return stored;
}

} // namespace

using S = LauncherSettings;

// The settings file keeps its 24 keys in this order; load reads and save writes them so.
const SettingKey kSettingKeys[kSettingKeyCount] = {
    integerKey("dspMode", &S::dspMode, 0),
    integerKey("threedMode", &S::threedMode, 0),
    integerKey("pallet", &S::pallet, 0),
    integerKey("fSkip", &S::fSkip, 0),
    realKey("bFactor", &S::bFactor, 1.0),
    realKey("balr", &S::balr, 1.0),
    realKey("balg", &S::balg, 1.0),
    realKey("balb", &S::balb, 1.0),
    integerKey("scale", &S::scale, 1),
    integerKey("pport", &S::pport, 0),
    integerKey("keyMap", &S::keyMap, 0),
    integerKey("joy", &S::joy, 0),
    integerKey("more_ram", &S::more_ram, 0),
    flagKey("swap", &S::swap),
    flagKey("hstretch", &S::hstretch),
    flagKey("timmerHack", &S::timmerHack),
    flagKey("vfHack", &S::vfHack),
    flagKey("debug", &S::debug),
    flagKey("nothrtl", &S::nothrtl),
    flagKey("status", &S::status),
    flagKey("disasm", &S::disasm),
    flagKey("stdout", &S::stdout_),
    pathKey("emuPath", &S::emuPath, kDefaultEmulatorName),
    pathKey("romPath", &S::romPath, kDefaultRomName),
};

bool LauncherSettings::settingsFilePath(char* out, size_t size) const {
    return pathInBaseDir(baseDir.get(), kSettingsFileName, out, size);
}

OwnedText LauncherSettings::getString(const char* key, const char* fallback) const {
    return getText(key, fallback, kValueBufferSize);
}

OwnedText LauncherSettings::getText(const char* key, const char* fallback, size_t size) const {
    if (key == nullptr) {
        return nullptr;
    }
    if (fallback == nullptr) {
        fallback = "";
    }
    OwnedText value = newText(size);
    if (value == nullptr) {
        return nullptr; // out of memory: read as missing, as for an empty text
    }
    char filePath[kPathBufferSize];
    if (settingsFilePath(filePath, sizeof filePath)) {
        profileReadString(kSection, key, fallback, value.get(), size, filePath);
    } else {
        // No usable settings file (baseDir too long): every key reads as missing.
        copyBounded(fallback, value.get(), size);
    }
    return value;
}

int32_t LauncherSettings::getInt(const char* key, int32_t fallback) const {
    const OwnedText text = getString(key, nullptr);
    if (text == nullptr || text[0] == '\0') {
        return fallback;
    }
    return parseInt32(text.get());
}

double LauncherSettings::getFloat(const char* key, double fallback) const {
    const OwnedText text = getString(key, nullptr);
    if (text == nullptr || text[0] == '\0') {
        return fallback;
    }
    return parseReal(text.get());
}

void LauncherSettings::putString(const char* key, const char* value) const {
    if (key == nullptr || value == nullptr) {
        return;
    }
    char filePath[kPathBufferSize];
    // A key the file already gives with this text is left alone: in a UTF-16 file, a character
    // outside the code page reads as '?', and writing that back would replace the user's text.
    if (settingsFilePath(filePath, sizeof filePath) && !fileHoldsValue(filePath, key, value)) {
        profileWriteString(kSection, key, value, filePath);
    }
}

void LauncherSettings::putInt(const char* key, int32_t value) const {
    char text[kIntTextSize];
    formatInt32(value, text, sizeof text);
    putString(key, text);
}

void LauncherSettings::putFloat(const char* key, double value) const {
    // Room for the "%f" text of any double, 1e308 included: a bounded 32-character buffer
    // would have to drop digits of values from 10^24 up.
    char text[kFixedTextSize];
    formatFixed(value, 6, text, sizeof text);
    putString(key, text);
}

bool LauncherSettings::load() {
    locateBaseDir();
    readKeys();
    return true;
}

void LauncherSettings::prepareSettingsFile() {
    settingsFileUnreadable = false;
    char filePath[kPathBufferSize];
    OwnedText data = newText(kLargestConvertedFile);
    if (!settingsFilePath(filePath, sizeof filePath) || data == nullptr) {
        return;
    }
    size_t length = 0;
    const FileRead read = profileReadFile(filePath, data.get(), kLargestConvertedFile, &length);
    if (read == FileRead::Unreadable) {
        settingsFileUnreadable = true;
        return;
    }
    ByteText converted;
    if (read == FileRead::Read && length <= kLargestConvertedFile &&
        iniTextInReadableEncoding(data.get(), length, profileCodePage(), converted)) {
        // Read as it is, the file would show the defaults (a UTF-8 mark hides "[main]"), and a
        // save would add a second "[main]" to it: a conversion that failed is met as a file
        // that could not be read.
        settingsFileUnreadable =
            !profileReplaceFile(filePath, converted.bytes.get(), converted.size);
    }
}

void LauncherSettings::readKeys() {
    prepareSettingsFile();
    for (const SettingKey& key : kSettingKeys) {
        switch (key.kind) {
        case KeyKind::Integer:
            this->*key.integer = getInt(key.name, key.integerDefault);
            break;
        case KeyKind::Flag:
            this->*key.flag = getInt(key.name, 0) != 0;
            break;
        case KeyKind::Real:
            this->*key.real = storedReal(getFloat(key.name, key.realDefault));
            break;
        case KeyKind::Path: {
            // A path is read whole up to its own limit of 259 characters, which the window and
            // the open-file dialog accept. A default path longer than that is not offered: an
            // empty path is honest, a cut one names the wrong file.
            char fallback[kPathBufferSize];
            pathInBaseDir(baseDir.get(), key.defaultFileName, fallback, sizeof fallback);
            this->*key.path = onBaseDirsDriveWhenMoved(getText(key.name, fallback, kPathBufferSize),
                                                       baseDir.get());
            break;
        }
        }
    }
}

bool LauncherSettings::save() const {
    if (settingsFileUnreadable) {
        return true; // the file holds values this run never saw: it keeps every byte
    }
    for (const SettingKey& key : kSettingKeys) {
        switch (key.kind) {
        case KeyKind::Integer:
            putInt(key.name, this->*key.integer);
            break;
        case KeyKind::Flag:
            putInt(key.name, (this->*key.flag) ? 1 : 0);
            break;
        case KeyKind::Real:
            putFloat(key.name, static_cast<double>(this->*key.real));
            break;
        case KeyKind::Path:
            putString(key.name, (this->*key.path).get()); // an unset path is not written
            break;
        }
    }
    return true;
}
