#pragma once
// The tag data record's fields from what the readers found in one file: the audio stream's
// description and the values of an ID3v2 or an ID3v1 tag.
#include "tagkit/TagRecord.h"

namespace audio {
class TMPEGaudio;
class TID3v1;
} // namespace audio
namespace id3v2 {
class TID3v2;
}

namespace tagkit {

// Fields 1 to 14: the audio stream of a file the analyser judged valid.
void DescribeAudio(const audio::TMPEGaudio& info, Tag& record);
// The tag fields and every value of a found ID3v2 tag.
void CopyId3v2Values(const id3v2::TID3v2& tag, Tag& record);
// The tag fields and the values of a found ID3v1 tag.
void CopyId3v1Values(const audio::TID3v1& tag, Tag& record);

} // namespace tagkit
