// The lead bytes of code page 932 (Japanese), as the platform's IsDBCSLeadByteEx gives them:
// the one rule the path and command-line tests hand to the portable core.
#pragma once

// A lead byte takes the next byte into its character, and that byte may be 0x5C, a backslash's
// ("表" is 0x95 0x5C). 0xFD-0xFF lead nothing.
inline bool codePage932LeadByte(unsigned char value) {
    return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}
