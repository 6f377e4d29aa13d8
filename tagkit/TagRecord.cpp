#include "tagkit/TagRecord.h"

namespace tagkit {

void Tag::Clear()
{
    for (std::string* field : {&AudioValid, &FileSize, &VersionLayer, &BitRate, &SampleRate, &ChannelMode,
                               &Duration, &FramePosition, &CrcProtection, &FrameCount, &Copyrighted,
                               &OriginalMedia, &Emphasis, &AudioEncoder, &TagExists, &TagVersion, &TagSize,
                               &Title, &Artist, &Album, &Track, &Year, &Genre, &Comment, &Composer, &Encoder,
                               &Copyright, &Language, &RecordLabel, &Vocal, &Rating, &PeriodType, &PeriodStart,
                               &PeriodEnd, &Link, &Rhythm, &FrameTINT, &FileExtension, &SubGenre, &FrameTIDM,
                               &FrameTCAR, &FrameTVIN, &FrameTMXI, &FrameTMXF, &FrameTRFI, &FrameTRFF,
                               &FrameTPMI})
        field->clear();
}

} // namespace tagkit
