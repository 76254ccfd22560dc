// The file a user hands the launcher from outside (Explorer's "Open with", a file dropped on
// the launcher's icon, a shortcut's arguments, a file dropped on its window): where it comes
// from on the command line, and which path it becomes.
#pragma once

#include <cstddef>

// The first argument after the program's own path, split as the platform's CommandLineToArgvW
// splits a command line: the program's path ends at its closing quote when it starts with one,
// otherwise at the first blank (space or tab); arguments are separated by blanks; a double
// quote opens or closes a quoted part, in which blanks are kept; 2n backslashes before a quote
// give n backslashes and the quote is a delimiter, 2n+1 give n backslashes and a literal quote;
// a quote doubled inside a quoted part gives a literal quote and closes the part; backslashes
// before anything else stay as they are. False (and "") when there is no argument, it is
// empty, or it does not fit `size` units with its terminator: a path is never cut.
// The line is split in UTF-16, as the platform splits it: a character of any script takes its
// units along, and no unit of one is a backslash or a quote.
bool firstArgumentOfCommandLine(const char16_t* commandLine, char16_t* out, size_t size);

// True when `path` names a program, the emulator's kind of file: its name ends in ".exe" in
// any case. Any other file is a game (a ROM image).
bool namesProgram(const char* path);

// True when `path` names a shortcut (a shell link): its name ends in ".lnk" in any case. A
// shortcut handed in stands for the file it points to.
bool namesShortcut(const char16_t* path);
