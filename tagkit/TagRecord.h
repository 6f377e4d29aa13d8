#pragma once
// The tag data record: what inspection found in one MP3 file. Fields 1 to 17 describe the
// audio stream and the tag; fields 18 to 47 hold the tag's values under the names of the
// ID3v2 properties they come from. Every field is a Windows-1252 text; empty means not set.
#include <string>

namespace tagkit {

struct Tag {
    // The audio stream and the tag found.
    std::string AudioValid;
    std::string FileSize;
    std::string VersionLayer;
    std::string BitRate;
    std::string SampleRate;
    std::string ChannelMode;
    std::string Duration;
    std::string FramePosition;
    std::string CrcProtection;
    std::string FrameCount;
    std::string Copyrighted;
    std::string OriginalMedia;
    std::string Emphasis;
    std::string AudioEncoder;
    std::string TagExists;
    std::string TagVersion;
    std::string TagSize;
    // The tag's values.
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Track;
    std::string Year;
    std::string Genre;
    std::string Comment;
    std::string Composer;
    std::string Encoder;
    std::string Copyright;
    std::string Language;
    std::string RecordLabel;
    std::string Vocal;
    std::string Rating;
    std::string PeriodType;
    std::string PeriodStart;
    std::string PeriodEnd;
    std::string Link;
    std::string Rhythm;
    std::string FrameTINT;
    std::string FileExtension;
    std::string SubGenre;
    std::string FrameTIDM;
    std::string FrameTCAR;
    std::string FrameTVIN;
    std::string FrameTMXI;
    std::string FrameTMXF;
    std::string FrameTRFI;
    std::string FrameTRFF;
    std::string FrameTPMI;

    // Every field back to the empty text; the strings keep their buffers for the next file.
    void Clear();
};

// The yes/no texts of the record, in Windows-1252.
inline constexpr const char* kYes = "Sim";
inline constexpr const char* kNo = "N\xE3o";

} // namespace tagkit
