// Owned texts and the size of the buffers every path is read and built in: shared by the
// settings, the INI text and the path rules.
#pragma once

#include <cstddef>
#include <memory>

// Every path text is read and built in a work buffer of this many characters, terminator
// included (so a path holds at most 259 characters).
constexpr size_t kPathBufferSize = 260;

// An owned text, released with free: the launcher allocates with malloc so that no part of
// the C++ runtime's exception machinery is linked into the small exe for operator new.
struct TextRelease {
    void operator()(char* text) const;
};
using OwnedText = std::unique_ptr<char[], TextRelease>;

// A new owned text of `size` characters, holding "" (nullptr when memory runs out).
OwnedText newText(size_t size);
// A new owned copy of `text` (nullptr for nullptr, or when memory runs out).
OwnedText copyText(const char* text);
