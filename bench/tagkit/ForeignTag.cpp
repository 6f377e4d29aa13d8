#include "ForeignTag.h"

#include <string>
#include <string_view>

namespace bench {
namespace {

void AppendFrame(std::string& out, std::string_view id, std::string_view data)
{
    const auto size = static_cast<std::uint32_t>(data.size());
    out += id;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((size >> shift) & 0xFF);
    out += std::string(2, '\0');
    out += data;
}

std::string Text(std::string_view text)
{
    return std::string(1, '\0') + std::string(text);
}

} // namespace

std::vector<std::uint8_t> ForeignTag()
{
    constexpr std::size_t kTotal = 4096;
    std::string frames;
    AppendFrame(frames, "TIT2", Text("Old Title From Another Tagger"));
    AppendFrame(frames, "TPE1", Text("Old Artist"));
    AppendFrame(frames, "TALB", Text("Old Album"));
    AppendFrame(frames, "TYER", Text("1999"));
    AppendFrame(frames, "TRCK", Text("3/12"));
    AppendFrame(frames, "TCON", Text("(17)Rock"));
    AppendFrame(frames, "COMM", std::string("\0eng\0A comment", 14));
    AppendFrame(frames, "TCOM", Text("Old Composer"));
    AppendFrame(frames, "TENC", Text("Some Encoder 1.0"));
    AppendFrame(frames, "TCOP", Text("(c) Someone"));
    AppendFrame(frames, "TLAN", Text("eng"));
    AppendFrame(frames, "TPUB", Text("Old Label"));
    AppendFrame(frames, "TLEN", Text("2400"));
    std::string tag = "ID3";
    tag += std::string("\x03\x00\x00", 3);
    const std::size_t size = kTotal - 10;
    for (int shift = 21; shift >= 0; shift -= 7)
        tag += static_cast<char>((size >> shift) & 0x7F);
    tag += frames;
    tag.resize(kTotal, '\0');
    return std::vector<std::uint8_t>(tag.begin(), tag.end());
}

} // namespace bench
