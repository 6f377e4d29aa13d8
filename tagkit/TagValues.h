#pragma once
// The values the merge-writer is given for one file, in the order the song mapping passes
// them. An empty text means "not given": the file's own value is kept.
#include <string>

namespace tagkit {

struct TagValues {
    std::string Title;
    std::string Artist;
    std::string Composer;
    std::string Album;
    std::string Year;
    std::string Track;
    std::string FrameTIDM;
    std::string Genre;
    std::string SubGenre;
    std::string Rhythm;
    std::string Language;
    std::string RecordLabel;
    std::string Vocal;
    std::string Rating;
    std::string PeriodType;
    std::string PeriodStart;
    std::string PeriodEnd;
    std::string FileExtension;
    std::string Comment;
    std::string FrameTINT;
    std::string FrameTCAR;
    std::string FrameTVIN;
    std::string FrameTMXI;
    std::string FrameTMXF;
    std::string FrameTRFI;
    std::string FrameTRFF;
    std::string FrameTPMI;
};

} // namespace tagkit
