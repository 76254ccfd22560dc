// Owned texts: allocated with malloc and released with free.
#include "text/owned_text.h"

#include <cstdlib>
#include <cstring>

void TextRelease::operator()(char* text) const {
    std::free(text);
}

OwnedText newText(size_t size) {
    OwnedText text(static_cast<char*>(std::malloc(size)));
    if (text != nullptr && size > 0) {
        text[0] = '\0';
    }
    return text;
}

OwnedText copyText(const char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const size_t length = std::strlen(text);
    OwnedText copy = newText(length + 1);
    if (copy != nullptr) {
        std::memcpy(copy.get(), text, length + 1);
    }
    return copy;
}
