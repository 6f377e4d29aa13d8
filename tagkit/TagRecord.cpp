#include "tagkit/TagRecord.h"

#include "tagkit/RecordTable.h"

namespace tagkit {

void Tag::Clear()
{
    for (std::string* field : {&AudioValid, &FileSize, &VersionLayer, &BitRate, &SampleRate, &ChannelMode,
                               &Duration, &FramePosition, &CrcProtection, &FrameCount, &Copyrighted,
                               &OriginalMedia, &Emphasis, &AudioEncoder, &TagExists, &TagVersion, &TagSize})
        field->clear();
    for (const RecordRow& r : kRecordTable)
        if (r.field != nullptr)
            (this->*r.field).clear();
}

} // namespace tagkit
