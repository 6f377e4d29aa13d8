#pragma once
// The system's conversions between 32-bit integers and text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// Reads a whole text as a signed 32-bit integer: leading blanks, an optional "+" or "-", then
// decimal digits, or hexadecimal digits after "$", "x"/"X" or "0x"/"0X". Every byte must be
// consumed (trailing blanks included: they make it no number). A value outside the signed
// 32-bit range is no number either; nothing wraps around.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// Decimal digits, with a leading "-" when negative; no grouping, no leading zeros.
std::string DecimalText(std::int64_t value);

} // namespace text
