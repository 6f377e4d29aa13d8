#pragma once
// Trimming as the whole system does it: every leading and trailing byte from 0x00 to 0x20
// (blanks and control bytes) goes; bytes from 0x80 up and everything inside stay.
#include <string_view>

namespace text {

constexpr bool IsBlankByte(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view TrimBlanks(std::string_view bytes);

} // namespace text
