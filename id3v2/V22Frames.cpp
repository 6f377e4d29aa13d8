#include "id3v2/V22Frames.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Output = std::vector<std::uint8_t>;

constexpr std::size_t kImageFormatSize = 3;
constexpr std::size_t kLinkedIdSize = 3;

struct ImageFormat {
    std::string_view format;
    std::string_view mime;
};
inline constexpr std::array kImageFormats = std::to_array<ImageFormat>({{"JPG", "image/jpeg"}, {"PNG", "image/png"}});

std::string_view AsText(Bytes bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Encoding, image format (3 bytes), picture type, description, data; the format becomes a
// MIME type with its terminator.
std::optional<Output> PictureAsV23(Bytes data)
{
    if (data.size() < 1 + kImageFormatSize + 1)
        return std::nullopt;
    const Bytes format = data.subspan(1, kImageFormatSize);
    std::string_view mime = AsText(format.first(static_cast<std::size_t>(std::find(format.begin(), format.end(), 0) - format.begin())));
    for (const ImageFormat& f : kImageFormats)
        if (AsText(format) == f.format)
            mime = f.mime;
    Output out{data[0]};
    out.insert(out.end(), mime.begin(), mime.end());
    out.push_back(0);
    out.insert(out.end(), data.begin() + 1 + kImageFormatSize, data.end());
    return out;
}

// The linked frame's ID (3 bytes), then the address and further data as they are.
std::optional<Output> LinkAsV23(Bytes data)
{
    if (data.size() < kLinkedIdSize)
        return std::nullopt;
    const std::string_view linked = AsText(data.first(kLinkedIdSize));
    const V22Form* form = V22FormOf(linked);
    Output out;
    if (form) {
        out.assign(form->idV23.begin(), form->idV23.end());
    } else {
        out.assign(linked.begin(), linked.end());
        out.push_back(' ');
    }
    out.insert(out.end(), data.begin() + kLinkedIdSize, data.end());
    return out;
}

} // namespace

std::optional<std::vector<std::uint8_t>> V22DataAsV23(V22Change change, std::span<const std::uint8_t> data)
{
    switch (change) {
    case V22Change::Picture:
        return PictureAsV23(data);
    case V22Change::Link:
        return LinkAsV23(data);
    case V22Change::None:
        break;
    }
    return Output(data.begin(), data.end());
}

} // namespace id3v2
