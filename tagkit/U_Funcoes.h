#pragma once
// The tag toolkit's procedures in the names the window's design gives them: free procedures over
// one inspection per thread (its reader set and its tag data record), used by one song at a time
// and not re-entrant. The programs themselves write songs through tagkit::SongExamination.
#include "tagkit/SongExamination.h"
#include "tagkit/TagRecord.h"
#include "tagkit/TagValues.h"
#include "tagkit/ValueMerge.h"

#include <string>
#include <string_view>

namespace tagkit {

// Makes the reader set (an MPEG analyser, an ID3v1 reader, an ID3v2 reader) for a file whose
// extension reads ".MP3" or "MP3" in any letter case, then empties the record. Any other
// extension makes no readers.
void CreateTagObjects(std::string_view Extension);

// Empties every field of the tag data record, and lets go of a song held for writing.
void ClearTagRecord();

// Inspects the MP3 file at FileName into the tag data record (a SongExamination read only), making
// the reader set first from the name's extension when there is none.
void LoadFileInfo(const std::string& FileName);

// Writes a new ID3v2.3 tag into FileName: every given value wins, the inspected value fills in for
// the others. Needs LoadFileInfo for the same file just before; waits for another writer of the
// song as long as a write does by default. True when the tag is in the file. Writes nothing
// (false) when inspection did not judge the audio valid or could not read the file's ID3v2 tag,
// since the new tag would then lose the file's own values. Empties the record, but for a
// ConversionError (Track given and no integer), which it lets out with nothing written.
bool SaveTagInfo(const std::string& FileName, const TagValues& values);

// Empties the record and releases the reader set.
void FreeTagObjects(std::string_view Extension);

// The state, read-only, for the window and for tests: the record (empty without readers) and
// the readers (null without them).
const Tag& TagRecord();
const audio::TMPEGaudio* AudioInfo();
const audio::TID3v1* ID3v1Tag();
const id3v2::TID3v2* ID3v2Tag();

} // namespace tagkit
