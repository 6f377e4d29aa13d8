#include "text/Cp1252.h"

#include <array>
#include <cstdint>

namespace text {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals ISO-8859-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char32_t NextUtf8(std::string_view bytes, std::size_t& i)
{
    constexpr char32_t kInvalid = 0xFFFFFFFF;
    const auto lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return kInvalid;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80)
            return kInvalid;
        cp = (cp << 6) | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kInvalid;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t CodePointFromCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

char Cp1252FromCodePoint(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t k = 0; k < kHighControls.size(); ++k) {
        if (kHighControls[k] == codePoint)
            return static_cast<char>(0x80 + k);
    }
    return '?';
}

std::string Utf8FromCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        AppendUtf8(out, CodePointFromCp1252(static_cast<unsigned char>(c)));
    return out;
}

std::string Cp1252FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        out += Cp1252FromCodePoint(NextUtf8(utf8, i));
    return out;
}

std::u32string CodePointsFromUtf8(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        out += NextUtf8(utf8, i);
    return out;
}

std::string ValidUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char32_t c : CodePointsFromUtf8(utf8))
        AppendUtf8(out, c > 0x10FFFF ? U'?' : c);
    return out;
}

std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian, char32_t unpaired)
{
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp < 0xE000)
            cp = unpaired;
        AppendUtf8(out, cp);
    }
    return out;
}

} // namespace text
