#pragma once
// The tag toolkit: inspection of one MP3 file into the tag data record and the merge-writer
// that turns given values and inspected ones into a new tag. Free procedures over module-level
// state — the reader set of the current song, the one tag data record and the song held for
// writing — used by one song at a time; not re-entrant. Each thread has a state of its own.
#include "io/BinaryFile.h"
#include "tagkit/TagRecord.h"
#include "tagkit/TagValues.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace audio {
class TMPEGaudio;
class TID3v1;
} // namespace audio
namespace id3v2 {
class TID3v2;
}

namespace tagkit {

// Raised by SaveTagInfo when a given track number is no integer; nothing is written then.
class ConversionError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Makes the reader set (an MPEG analyser, an ID3v1 reader, an ID3v2 reader) for a file whose
// extension reads ".MP3" or "MP3" in any letter case, then empties the record. Any other
// extension makes no readers.
void CreateTagObjects(std::string_view Extension);

// Empties every field of the tag data record, and lets go of a song held for writing.
void ClearTagRecord();

// Inspects the MP3 file at FileName into the tag data record: the audio stream always, and,
// when the audio is valid, the values of its ID3v2 tag or else of its ID3v1 tag. The file is
// opened once; the readers share its bytes, each range read from the file once.
void LoadFileInfo(const std::string& FileName);

// LoadFileInfo for a song about to be written: opens it for writing and takes the writers' lock
// first (waiting up to lockWait for another writer), then inspects it through that open file,
// which stays open and locked until SaveInspectedTag writes it or the record is emptied. The
// save then needs no second open and no check that the song is still what was inspected.
enum class Hold {
    Held,    // inspected (InspectionReadiness says how far) and held for the save
    Busy,    // another writer held the song for the whole wait: nothing inspected
    NotHeld, // the song cannot be opened for writing as it is (a read-only file, or none):
             // nothing inspected or changed; LoadFileInfo reads it instead
};
Hold LoadFileInfoForWriting(const std::string& FileName, std::chrono::milliseconds lockWait);

// Writes a new ID3v2.3 tag into FileName: every given value wins, the inspected value fills
// in for the others. Needs LoadFileInfo for the same file just before. True when the tag is in
// the file (SaveInspectedTag with the default wait for other writers). Writes nothing (false) when inspection did not judge the audio valid or could not
// read the file's ID3v2 tag, since the new tag would then lose the file's own values.
// Throws ConversionError when Track is given and is no integer.
bool SaveTagInfo(const std::string& FileName, const TagValues& values);

// What became of a save.
enum class SaveOutcome {
    Written,
    NotWritten, // not ready, or the write failed: the file holds what it held
    Busy,       // another writer held the song for the whole wait, or changed it twice meanwhile
};

// SaveTagInfo that waits up to `lockWait` for another writer of the same song. Under the song's
// lock it checks that the song is still the file just inspected (no other writer replaced or
// rewrote it meanwhile); when it is not, the song is inspected again and the values merged
// again, once.
SaveOutcome SaveInspectedTag(const std::string& FileName, const TagValues& values, std::chrono::milliseconds lockWait);

// How the last inspection left the file for SaveTagInfo: ready to be written, or why not.
enum class Readiness {
    NotOpened,     // no such file, or it could not be opened
    AudioNotValid, // the analyser did not judge the audio valid (or could not read it)
    TagNotRead,    // the file's ID3v2 tag could not be read
    Ready,
};
Readiness InspectionReadiness();

// What SaveTagInfo would put into the file just inspected, found without writing anything.
struct PlannedTag {
    std::vector<std::uint8_t> NewTag; // the new tag's bytes; empty when nothing would be written
    bool Rebuild = false;             // the file would be rebuilt rather than written in place
    bool Unchanged = false;           // the file already begins with exactly these bytes
};

// Needs LoadFileInfo for the file just before, like SaveTagInfo, and leaves the record as it
// is, so that SaveTagInfo may follow with the same values (the ID3v2 reader holds the merged
// values from here on, as after SaveTagInfo). Throws ConversionError as SaveTagInfo does.
PlannedTag PlanTagInfo(const TagValues& values);

// Which file the last inspection read (its file system and number there); zero without one.
io::FileIdentity InspectedIdentity();

// The inspected file's whole tag, header first, as its readers held it in memory; empty without a
// tag and for a tag too large for memory, which they read a frame at a time.
std::span<const std::uint8_t> InspectedTagBytes();

// Empties the record and releases the reader set.
void FreeTagObjects(std::string_view Extension);

// The module's state, read-only, for the window and for tests.
const Tag& TagRecord();
const audio::TMPEGaudio* AudioInfo();
const audio::TID3v1* ID3v1Tag();
const id3v2::TID3v2* ID3v2Tag();

} // namespace tagkit
