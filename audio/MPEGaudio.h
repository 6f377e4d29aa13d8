#pragma once
// Describes the audio stream of one MP3 file: finds the first MPEG audio frame after the ID3v2
// tag, reads a Xing or VBRI header, names the encoder and judges whether the file holds usable
// audio. The file is never read whole: a 10-byte tag header, at most two 3458-byte scan buffers,
// and the last 3586 bytes (or the 3 bytes that mark an ID3v1 tag).
#include <cstdint>
#include <optional>
#include <string>

#include "audio/FrameHeader.h"
#include "audio/VBRHeader.h"

namespace io {
class ByteSource;
}

namespace audio {

class StreamFile;

class TMPEGaudio {
public:
    TMPEGaudio() { ResetData(); }

    // Analyses the file. True when the analysis ran without a read failure, whether or not audio
    // was found (Valid says that). False, in the reset state, when the file cannot be opened or
    // holds fewer than 128 bytes.
    bool ReadFromFile(const std::string& FileName);
    // The same from a song file already open, whose bytes other readers share; a song that
    // could not be opened gives what an unopenable file gives.
    bool ReadFromSource(io::ByteSource& song);
    void ResetData();

    // Size of the file in bytes.
    std::int64_t FileLength() const { return fileLength_; }
    const VBRData& VBR() const { return vbr_; }
    const FrameInfo& Frame() const { return frame_; }
    // "LAME" with the 4 bytes after it, or "GOGO", found near the end of a stream without a VBR
    // header; empty otherwise.
    const std::string& TailVendor() const { return tailVendor_; }
    // Bytes of the ID3v2 tag at the file's start (0 without one), and whether the file ends in an
    // ID3v1 tag: what the analyser learnt of the file's tags.
    std::int32_t TagV2Size() const { return tagV2Size_; }
    bool TagV1Exists() const { return tagV1Exists_; }
    // Bytes the last read took from the file (whether or not the song's bytes held them already).
    std::int64_t BytesRead() const { return bytesRead_; }

    std::string Version() const;
    std::string Layer() const;
    std::string ChannelMode() const;
    std::string Emphasis() const;
    // kbit/s: the average of the VBR header, or the first frame's; at most 65535.
    std::uint16_t BitRate() const;
    // Hz, of the first frame.
    std::uint16_t SampleRate() const;
    // From the VBR header as read, or estimated from the audio size and the first frame's length.
    std::int32_t Frames() const;
    // Seconds.
    double Duration() const;
    std::uint8_t EncoderID() const;
    std::string Encoder() const;
    // A frame was found, the bit rate lies within 8..448 kbit/s and the play time is at least 0.1 s.
    bool Valid() const;

private:
    bool Analyse(io::ByteSource& song);
    bool AnalyseStream(StreamFile& file);
    // Looks for an ID3v1 tag and, before it, for an encoder signature.
    bool ScanTail(StreamFile& file);
    // The VBR header's average bit rate in kbit/s, unbounded; none without a positive frame count.
    std::optional<std::int64_t> AverageBitRate() const;
    // Bytes of audio: the file without its ID3v2 and ID3v1 tags.
    std::int64_t AudioSize() const;

    std::int64_t fileLength_ = 0;
    std::string tailVendor_;
    VBRData vbr_;
    FrameInfo frame_;
    std::int32_t tagV2Size_ = 0;
    bool tagV1Exists_ = false;
    std::int64_t bytesRead_ = 0;
};

} // namespace audio
