// What the settings ask the platform about paths: the ANSI code page's lead bytes, and whether a
// path names something. The platform twins: path_checks_win.cpp, path_checks_posix.cpp.
#pragma once

// The system's ANSI code page's rule (IsDBCSLeadByte); no byte leads where there is none.
bool ansiLeadByte(unsigned char byte);

// Whether a file or folder exists at `path`. The launcher's own look never raises Windows'
// "There is no disk in the drive" box (an empty card-reader slot on a stored path's letter):
// such a path names nothing.
bool pathExists(const char* path);
// The same, for a folder only.
bool folderExists(const char* path);

// Whether the drive of `path` (a drive letter, a colon and a backslash first) is a mapped network
// drive; asked of the drive's mapping, never of the server.
bool pathOnNetworkDrive(const char* path);
