#include "SongFiles.h"

#include "tools/mp3fixtures/Encoders.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/urllinkframe.h>

#include <filesystem>
#include <stdexcept>

namespace songfiles {
namespace {

fixtures::ScratchDir& EncodedFiles()
{
    static fixtures::ScratchDir dir("fonarel-tagkit-encoded");
    return dir;
}

std::string Encode(const std::string& name, const std::vector<std::string>& args)
{
    const std::string path = EncodedFiles().File(name);
    if (!fixtures::MakeMp3(path, fixtures::Encoder::Lame, args))
        throw std::runtime_error("lame could not make " + path);
    return path;
}

std::string AsString(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string Syncsafe(std::uint32_t size)
{
    std::string out;
    for (int shift = 21; shift >= 0; shift -= 7)
        out += static_cast<char>((size >> shift) & 0x7F);
    return out;
}

} // namespace

const std::string& PlainLameFile()
{
    static const std::string path = Encode("plain.mp3", {"-b", "128"});
    return path;
}

const std::string& VbrLameFile()
{
    static const std::string path = Encode("vbr.mp3", {"-V", "2"});
    return path;
}

std::string CopyFile(const std::string& source, const std::string& target)
{
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
    return target;
}

void WriteTagLibTag(const std::string& path, int majorVersion, const std::function<void(TagLib::ID3v2::Tag&)>& fill)
{
    TagLib::MPEG::File file(path.c_str(), false);
    fill(*file.ID3v2Tag(true));
    const auto version = majorVersion == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3;
    if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, version))
        throw std::runtime_error("TagLib could not tag " + path);
}

void AddTextFrame(TagLib::ID3v2::Tag& tag, const char* id, const std::string& latin1Text)
{
    auto frame = std::make_unique<TagLib::ID3v2::TextIdentificationFrame>(TagLib::ByteVector(id), TagLib::String::Latin1);
    frame->setText(TagLib::String(latin1Text, TagLib::String::Latin1));
    tag.addFrame(frame.release());
}

void Prepend(const std::string& path, const std::string& tagBytes)
{
    fixtures::WriteFileBytes(path, tagBytes + AsString(fixtures::ReadFileBytes(path)));
}

void Append(const std::string& path, const std::string& bytes)
{
    fixtures::WriteFileBytes(path, AsString(fixtures::ReadFileBytes(path)) + bytes);
}

std::uint64_t AudioFingerprint(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = fixtures::ReadFileBytes(path);
    std::size_t skip = 0;
    if (bytes.size() >= 10 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') {
        skip = 10 + ((bytes[6] & 0x7Fu) << 21 | (bytes[7] & 0x7Fu) << 14 | (bytes[8] & 0x7Fu) << 7 | (bytes[9] & 0x7Fu));
        if (bytes[5] & 0x10)
            skip += 10;
    }
    skip = std::min(skip, bytes.size());
    return fixtures::Fingerprint(std::span(bytes).subspan(skip));
}

std::string ReadBack::One(const std::string& id) const
{
    const auto it = frames.find(id);
    return it == frames.end() ? std::string() : it->second;
}

ReadBack ReadWithTagLib(const std::string& path)
{
    ReadBack result;
    TagLib::MPEG::File file(path.c_str(), false);
    if (!file.isValid() || !file.hasID3v2Tag())
        return result;
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    result.majorVersion = static_cast<int>(tag->header()->majorVersion());
    for (TagLib::ID3v2::Frame* frame : tag->frameList()) {
        const std::string id(frame->frameID().data(), frame->frameID().size());
        std::string value;
        if (auto* popm = dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(frame))
            value = std::to_string(popm->rating());
        else if (auto* comm = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame))
            value = comm->text().to8Bit(false);
        else if (auto* url = dynamic_cast<TagLib::ID3v2::UserUrlLinkFrame*>(frame))
            value = url->url().to8Bit(false);
        else if (auto* text = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(frame))
            value = text->fieldList().toString("/").to8Bit(false);
        else
            value = frame->toString().to8Bit(false);
        result.frames.emplace(id, value);
    }
    return result;
}

std::vector<std::string> RawFrameIds(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = fixtures::ReadFileBytes(path);
    std::vector<std::string> ids;
    if (bytes.size() < 10 || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3' || bytes[3] != 3)
        return ids;
    const std::size_t end = std::min<std::size_t>(bytes.size(), 10 + (bytes[6] << 21 | bytes[7] << 14 | bytes[8] << 7 | bytes[9]));
    for (std::size_t p = 10; p + 10 <= end && bytes[p] != 0;) {
        const std::size_t size = static_cast<std::size_t>(bytes[p + 4]) << 24 | bytes[p + 5] << 16 | bytes[p + 6] << 8 | bytes[p + 7];
        ids.emplace_back(reinterpret_cast<const char*>(&bytes[p]), 4);
        p += 10 + size;
    }
    return ids;
}

std::string Id3v1Block(const std::string& title, const std::string& artist, const std::string& album,
                       const std::string& year, const std::string& comment, std::uint8_t track, std::uint8_t genre)
{
    std::string block(128, '\0');
    block.replace(0, 3, "TAG");
    block.replace(3, title.size(), title);
    block.replace(33, artist.size(), artist);
    block.replace(63, album.size(), album);
    block.replace(93, year.size(), year);
    block.replace(97, comment.size(), comment);
    if (track != 0) {
        block[125] = '\0';
        block[126] = static_cast<char>(track);
    }
    block[127] = static_cast<char>(genre);
    return block;
}

std::string Id3v22Tag(const std::vector<std::pair<std::string, std::string>>& frames)
{
    std::string body;
    for (const auto& [id, text] : frames) {
        const std::size_t size = text.size() + 1;
        body += id;
        body += static_cast<char>((size >> 16) & 0xFF);
        body += static_cast<char>((size >> 8) & 0xFF);
        body += static_cast<char>(size & 0xFF);
        body += '\0';
        body += text;
    }
    body += std::string(64, '\0');
    return std::string("ID3\x02\x00\x00", 6) + Syncsafe(static_cast<std::uint32_t>(body.size())) + body;
}

} // namespace songfiles
