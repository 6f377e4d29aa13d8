// The file side of the analyser: which bytes it reads, and in what order.
#include "audio/MPEGaudio.h"

#include <array>

#include "audio/FrameSearch.h"
#include "audio/ID3v1.h"
#include "audio/StreamFile.h"
#include "io/SongBytes.h"
#include "id3v2/TagHeader.h"

namespace audio {
namespace {

using ScanBuffer = std::array<std::uint8_t, ScanBufferSize>;

// The bytes from the end of the file that the signature scan may need: the scan window plus an
// ID3v1 tag after it.
constexpr std::size_t TailSize = ScanBufferSize + TagV1Size;
constexpr std::size_t TagV1MarkerSize = 3;

// Bytes that the ID3v2 tag takes at the file's start, as the ID3v2 reader reports them: from the
// 10-byte header, 0 without a tag or when the header's size points past the end of the file.
bool ReadTagV2Size(StreamFile& file, std::int32_t& tagSize)
{
    std::array<std::uint8_t, id3v2::kHeaderSize> header{};
    if (!file.ReadExactly(0, header))
        return false;
    id3v2::TagHeader tag;
    tag.SetBytes(header);
    tagSize = id3v2::TagLength(tag, file.Length());
    return true;
}

bool ReadTagV1Marker(StreamFile& file, bool& exists)
{
    std::array<std::uint8_t, TagV1MarkerSize> marker{};
    if (!file.ReadExactly(file.Length() - static_cast<std::int64_t>(TagV1Size), marker))
        return false;
    exists = HasTagV1Marker(marker);
    return true;
}

} // namespace

bool TMPEGaudio::ReadFromFile(const std::string& FileName)
{
    io::SongBytes song;
    song.Open(FileName, io::SongBytes::Readers::One);
    return ReadFromSource(song);
}

bool TMPEGaudio::ReadFromSource(io::ByteSource& song)
{
    ResetData();
    const bool ok = Analyse(song);
    const std::int64_t bytesRead = bytesRead_;
    if (!frame_.Found)
        ResetData();
    bytesRead_ = bytesRead;
    return ok;
}

bool TMPEGaudio::Analyse(io::ByteSource& song)
{
    // A file too short for an ID3v1 block is not analysed at all.
    if (!song.IsOpen() || song.Length() < static_cast<std::int64_t>(TagV1Size))
        return false;
    StreamFile file(song);
    const bool ok = AnalyseStream(file);
    bytesRead_ = file.BytesRead();
    return ok;
}

bool TMPEGaudio::AnalyseStream(StreamFile& file)
{
    if (!ReadTagV2Size(file, tagV2Size_))
        return false;
    fileLength_ = file.Length();

    ScanBuffer buffer{};
    const std::int64_t got = file.ReadFrom(tagV2Size_, buffer);
    if (got < 0)
        return false;
    frame_ = FindFrame(buffer, vbr_);
    if (!frame_.Found && got == static_cast<std::int64_t>(ScanBufferSize)) {
        // The stream may begin further in, after junk that no tag header announces: look once
        // more, halfway into the file.
        if (file.ReadFrom((fileLength_ - tagV2Size_) / 2, buffer) < 0)
            return false;
        frame_ = FindFrame(buffer, vbr_);
    }
    if (!frame_.Found)
        return true;
    if (vbr_.Found)
        return ReadTagV1Marker(file, tagV1Exists_);
    return ScanTail(file);
}

bool TMPEGaudio::ScanTail(StreamFile& file)
{
    // One read covers both the ID3v1 tag and the 3458 bytes before it (or before the end of the
    // file when there is no tag). Bytes before the start of a short file stay zero, so the
    // window keeps its place at the end of the stream.
    std::array<std::uint8_t, TailSize> tail{};
    if (!file.ReadTail(tail))
        return false;
    const std::span<const std::uint8_t> bytes(tail);
    tagV1Exists_ = HasTagV1Marker(bytes.last(TagV1Size));
    const auto window = tagV1Exists_ ? bytes.first<ScanBufferSize>() : bytes.last<ScanBufferSize>();
    tailVendor_ = FindTailVendor(window, std::size_t{5} * frame_.Size);
    return true;
}

} // namespace audio
