#include "TagBytes.h"

#include <zlib.h>

namespace tagbytes {

std::string Syncsafe(std::uint32_t size)
{
    return {static_cast<char>((size >> 21) & 0x7F), static_cast<char>((size >> 14) & 0x7F),
            static_cast<char>((size >> 7) & 0x7F), static_cast<char>(size & 0x7F)};
}

std::string BigEndian32(std::uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string FrameV23(std::string_view id, std::string_view data, std::uint8_t formatFlags)
{
    return std::string(id) + BigEndian32(static_cast<std::uint32_t>(data.size())) + '\0' + static_cast<char>(formatFlags) + std::string(data);
}

std::string FrameV23WithSize(std::string_view id, std::uint32_t size, std::string_view data)
{
    return std::string(id) + BigEndian32(size) + std::string(2, '\0') + std::string(data);
}

std::string FrameV24(std::string_view id, std::string_view data, std::uint8_t formatFlags)
{
    return std::string(id) + Syncsafe(static_cast<std::uint32_t>(data.size())) + '\0' + static_cast<char>(formatFlags) + std::string(data);
}

std::string FrameV22(std::string_view id, std::string_view data)
{
    return std::string(id) + BigEndian32(static_cast<std::uint32_t>(data.size())).substr(1) + std::string(data);
}

std::string Tag(std::uint8_t majorVersion, std::string_view body, std::size_t padding, std::uint8_t flags)
{
    std::string tag = "ID3";
    tag += static_cast<char>(majorVersion);
    tag += '\0';
    tag += static_cast<char>(flags);
    tag += Syncsafe(static_cast<std::uint32_t>(body.size() + padding));
    tag += body;
    tag.append(padding, '\0');
    return tag;
}

std::string Latin1(std::string_view text)
{
    return '\0' + std::string(text);
}

std::string Utf16LittleEndian(std::u16string_view text, bool withMark)
{
    std::string out(1, '\x01');
    if (withMark)
        out += "\xFF\xFE";
    for (char16_t unit : text) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

std::string Utf16BigEndian(std::u16string_view text, bool withMark)
{
    std::string out(1, '\x01');
    if (withMark)
        out += "\xFE\xFF";
    for (char16_t unit : text) {
        out += static_cast<char>(unit >> 8);
        out += static_cast<char>(unit & 0xFF);
    }
    return out;
}

std::string Unsynchronised(const std::string& bytes)
{
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        const bool ff = static_cast<unsigned char>(bytes[i]) == 0xFF;
        if (ff && (i + 1 == bytes.size() || bytes[i + 1] == '\0' || static_cast<unsigned char>(bytes[i + 1]) >= 0xE0))
            out += '\0';
    }
    return out;
}

std::string AudioBytes(std::size_t size)
{
    std::string audio = "\xFF\xFB\x90\x64";
    for (std::size_t i = audio.size(); i < size; ++i)
        audio += static_cast<char>((i * 31 + 7) & 0xFF);
    audio.resize(size);
    return audio;
}

std::span<const std::uint8_t> AsBytes(const std::string& bytes)
{
    return std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Deflated(const std::string& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
             static_cast<uLong>(bytes.size()));
    out.resize(size);
    return out;
}

} // namespace tagbytes
