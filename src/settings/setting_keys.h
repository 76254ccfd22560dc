// The 24 keys of the settings file, described once: name (also the field's), kind, field and
// default, in the order the file keeps them. load and save walk this table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/launcher_settings.h"

enum class KeyKind { Integer, Flag, Real, Path };

// One key of the settings file: the member pointer of its kind is set, the others are null.
struct SettingKey {
    const char* name;
    KeyKind kind;
    int32_t LauncherSettings::*integer;
    bool LauncherSettings::*flag;
    float LauncherSettings::*real;
    OwnedText LauncherSettings::*path;
    int32_t integerDefault; // flags default to off
    double realDefault;
    const char* defaultFileName; // a path's default: this name, "\" first, in baseDir
};

constexpr size_t kSettingKeyCount = 24;
extern const SettingKey kSettingKeys[kSettingKeyCount];
