// What the stand-in emulator (stand_in_emulator.cpp) recorded, read back. Each start appends
// two lines to "launches.txt" beside the stand-in's exe:
//   command=<the whole command line>
//   directory=<the working directory>
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/files.h"
#include "support/windows_platform.h"

const char kStartRecordName[] = "launches.txt";
// Long enough for a cold Wine prefix to start a program.
constexpr DWORD kStartTimeoutMs = 15000;

// What the stand-in wrote for one start.
struct Start {
    std::string command;
    std::string directory;
};

inline bool operator<(const Start& a, const Start& b) {
    return a.command < b.command || (a.command == b.command && a.directory < b.directory);
}

// Complete records only: a start still writing is read on the next poll.
inline std::vector<Start> parseStarts(const std::string& text) {
    const std::string commandKey = "command=";
    const std::string directoryKey = "\r\ndirectory=";
    const std::string lineEnd = "\r\n";
    std::vector<Start> starts;
    size_t at = 0;
    while (text.compare(at, commandKey.size(), commandKey) == 0) {
        const size_t commandEnd = text.find(directoryKey, at);
        if (commandEnd == std::string::npos) {
            break;
        }
        const size_t directoryStart = commandEnd + directoryKey.size();
        const size_t directoryEnd = text.find(lineEnd, directoryStart);
        if (directoryEnd == std::string::npos) {
            break;
        }
        starts.push_back({text.substr(at + commandKey.size(), commandEnd - at - commandKey.size()),
                          text.substr(directoryStart, directoryEnd - directoryStart)});
        at = directoryEnd + lineEnd.size();
    }
    return starts;
}

// The starts a stand-in in `folder` recorded, once there are `count` of them or the time is up.
inline std::vector<Start> waitForStarts(const std::string& folder, size_t count) {
    const std::string path = folder + "\\" + kStartRecordName;
    const DWORD begin = GetTickCount();
    for (;;) {
        std::vector<Start> starts = parseStarts(readFile(path));
        if (starts.size() >= count || GetTickCount() - begin > kStartTimeoutMs) {
            return starts;
        }
        Sleep(50);
    }
}

// Every start a stand-in in `folder` recorded, counted once the `count` awaited have come and
// every copy named `exeName` that this process started has ended. A stray start made by any
// call before this one has then left its record too, however late it came: the number is
// final, not merely the first `count`.
inline std::vector<Start> settledStarts(const std::string& folder, size_t count,
                                        const char* exeName) {
    waitForStarts(folder, count);
    EXPECT_TRUE(waitForChildrenToEnd(GetCurrentProcessId(), exeName, kStartTimeoutMs))
        << exeName << " still runs";
    return parseStarts(readFile(folder + "\\" + kStartRecordName));
}
