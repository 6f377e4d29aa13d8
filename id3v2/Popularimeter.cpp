#include "id3v2/Popularimeter.h"

#include <taglib/id3v2tag.h>
#include <taglib/popularimeterframe.h>
#include <taglib/tbytevector.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>

#include <string_view>

namespace id3v2 {
namespace {

// Tag bytes already in memory, presented to the tag parser as a file.
class MemoryFile : public TagLib::File {
public:
    explicit MemoryFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

// Whether "POP" (the version 2.2 ID, and the start of POPM) stands anywhere in the bytes. A
// frame's ID is never compressed, encrypted or changed by unsynchronisation (which only adds
// zero bytes after 0xFF), so a complete parse cannot find a popularimeter in a tag without it.
bool MayHoldPopularimeter(std::span<const std::uint8_t> tagBytes)
{
    constexpr std::string_view kId = "POP";
    const std::string_view bytes(reinterpret_cast<const char*>(tagBytes.data()), tagBytes.size());
    return bytes.find(kId) != std::string_view::npos;
}

} // namespace

std::uint8_t PopularimeterRating(std::span<const std::uint8_t> tagBytes) noexcept
{
    // Most tags that other programs write carry no popularimeter: their answer is 0, without
    // building a whole second model of the tag.
    if (!MayHoldPopularimeter(tagBytes))
        return 0;
    try {
        TagLib::ByteVectorStream stream(
            TagLib::ByteVector(reinterpret_cast<const char*>(tagBytes.data()), static_cast<unsigned>(tagBytes.size())));
        MemoryFile file(&stream);
        const TagLib::ID3v2::Tag tag(&file, 0);
        const std::uint8_t version = static_cast<std::uint8_t>(tag.header()->majorVersion());
        if (version < 2 || version > 4)
            return 0;
        const TagLib::ID3v2::FrameList& frames = tag.frameList("POPM");
        if (frames.isEmpty())
            return 0;
        const auto* popm = dynamic_cast<const TagLib::ID3v2::PopularimeterFrame*>(frames.front());
        return popm ? static_cast<std::uint8_t>(popm->rating()) : 0;
    } catch (...) {
        return 0;
    }
}

} // namespace id3v2
