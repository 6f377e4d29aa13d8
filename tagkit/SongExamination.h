#pragma once
// One song's inspection as a value. Made by one call from the song's path and how to open it
// (read only, or held for writing under the writers' lock), it owns the reader set, the song held
// for writing, the song's first bytes and what was found: the tag data record, how far inspection
// got, which file it read and the old tag's bytes. Planning a new tag and saving it are its
// operations. Used by one thread at a time; inspections of several songs may live side by side.
#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/FrameList.h"
#include "id3v2/ID3v2.h"
#include "id3v2/OtherFrames.h"
#include "id3v2/TagValues.h"
#include "id3v2/TagWriter.h"
#include "io/BinaryFile.h"
#include "io/Outcome.h"
#include "io/SongFile.h"
#include "tagkit/TagRecord.h"
#include "tagkit/TagValues.h"
#include "tagkit/ValueMerge.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace io {
class SongBytes;
}

namespace tagkit {

// How far an inspection got: the file opened, its audio judged valid, its ID3v2 tag read (found
// or not). Only a tag that was read is replaced.
enum class Readiness {
    NotOpened,     // no such file, it could not be opened, or another writer held it
    AudioNotValid, // the analyser did not judge the audio valid (or could not read it)
    TagNotRead,    // the file's ID3v2 tag could not be read
    Ready,
};

// How a song is opened for its inspection, and how long its save waits for another writer.
struct Access {
    enum class Mode : std::uint8_t {
        Read,           // read only; the save locks the song and checks it is still what was read
        HoldForWriting, // opened for writing and locked before it is read, and held until saved;
                        // a song that cannot be opened for writing as it is is read instead
    };
    Mode mode = Mode::Read;
    std::chrono::milliseconds lockWait = id3v2::kDefaultLockWait;

    static Access ReadOnly(std::chrono::milliseconds lockWait = id3v2::kDefaultLockWait) { return {Mode::Read, lockWait}; }
    static Access HeldForWriting(std::chrono::milliseconds lockWait) { return {Mode::HoldForWriting, lockWait}; }
};

// What a rewrite keeps of the song besides the values it merges. By default neither: the new
// tag holds the table's frames alone, and the song's times are those of the write.
struct Keeping {
    bool OtherFrames = false; // the old tag's other frames, as version 2.3 frames after the table's
    bool Times = false;       // when the song was last read and written
};

// Why a plan holds no new tag for an inspected song: no system call refused anything, the tag
// itself cannot be.
enum class Refusal : std::uint8_t {
    None,
    TooLarge,       // the new tag is too large for a tag's size field
    TooLargeToKeep, // the old tag is too large for its other frames to be kept
};

// The refusal in words: "the new tag is too large", "the old tag is too large to keep its frames".
std::string_view RefusalText(Refusal refusal);

// What a save would put into the inspected song, found without writing anything.
struct PlannedTag {
    TagValues Given;              // the values it was planned from
    Keeping Keep;                 // and what it keeps
    id3v2::TagValues Merged;      // the given values over the inspected ones
    std::vector<std::uint8_t> OtherFrames;     // the old tag's other frames kept, as version 2.3
    std::vector<id3v2::DroppedFrame> Dropped;  // the old tag's other frames that have no place
    std::vector<std::uint8_t> NewTag; // the new tag's bytes; empty when nothing would be written
    tagkit::Refusal Refusal = tagkit::Refusal::None; // why nothing would be written (NewTag empty)
    bool Rebuild = false;         // the file would be rebuilt rather than written in place
    bool Unchanged = false;       // the file already begins with exactly these bytes
};

class SongExamination {
public:
    // The reader set made, nothing inspected.
    SongExamination();
    ~SongExamination();
    SongExamination(SongExamination&&) noexcept;
    SongExamination& operator=(SongExamination&&) noexcept;
    SongExamination(const SongExamination&) = delete;
    SongExamination& operator=(const SongExamination&) = delete;

    // Inspects the MP3 file at path: the audio stream always, and, when the audio is valid, the
    // values of its ID3v2 tag or else of its ID3v1 tag. The file is opened once; the readers share
    // its bytes. Lets no exception but a failed allocation out.
    static SongExamination Of(const std::string& path, Access access);

    const std::string& Path() const { return path_; }
    tagkit::Readiness Readiness() const { return readiness_; }
    // Another writer held the song for the whole wait: nothing was inspected.
    bool Busy() const { return busy_; }
    // Why inspection stopped short when the system said why: the open or the read that failed.
    io::Cause Cause() const { return cause_; }
    // Held for writing, open and locked, until it is saved or cleared.
    bool Held() const;
    const Tag& Record() const { return record_; }
    // Which file was read (its file system and number there); zero without one.
    io::FileIdentity Identity() const { return identity_; }
    // The old tag, header first, as the readers held it in memory; empty without a tag and for a
    // tag too large for memory, which they read a frame at a time.
    std::span<const std::uint8_t> TagBytes() const { return tagBytes_; }
    // Every frame of the old tag, read a frame at a time from the song for a tag too large for
    // memory; none without a tag.
    std::vector<id3v2::ListedFrame> OldFrames() const;

    const audio::TMPEGaudio& AudioInfo() const { return *audioInfo_; }
    const audio::TID3v1& ID3v1Tag() const { return *id3v1Tag_; }
    const id3v2::TID3v2& ID3v2Tag() const { return *id3v2Tag_; }

    // The new tag of the merge-writer: every given value wins, the inspected value fills in for
    // the others; keeping the other frames, they follow. Nothing is planned (NewTag empty)
    // unless inspection is Ready, nor when the new tag would be too large or, keeping the other
    // frames, the old tag is larger than id3v2::kMostKeptTag (Refusal says which). Keeping the
    // other frames reads the whole old tag when the readers did not hold it. Throws
    // ConversionError when Track is given and is no integer.
    PlannedTag Plan(const TagValues& values, Keeping keep = {});

    // Writes the planned tag into the song; the held song is let go whatever happens. A song read
    // rather than held is locked now and must still be the file inspected; one that another
    // writer changed meanwhile is inspected again and planned again from the same values, once
    // (a second change makes it Busy). Done, Busy, or Failed with the step the system refused;
    // the song is as it was unless Done. Lets no exception out.
    io::Outcome Save(const PlannedTag& plan);

    // Empties the record and what was found, and lets go of a held song; the readers stay.
    void Clear();

private:
    // Holds the song for writing and inspects it through that file; false when it cannot be
    // opened for writing as it is.
    bool InspectHeld();
    void InspectRead();
    void Inspect(io::SongBytes& song);
    void KeepTagStart(io::SongBytes& song);
    // The whole old tag in tagBytes_, read now when the readers did not hold it; false when it is
    // larger than id3v2::kMostKeptTag or cannot be read.
    bool HoldWholeTag();
    // The song's bytes, through the held file or opened again; false when it cannot be opened.
    bool OpenBytes(io::SongBytes& song) const;
    io::Outcome SaveRead(const PlannedTag& plan);

    std::unique_ptr<audio::TMPEGaudio> audioInfo_;
    std::unique_ptr<audio::TID3v1> id3v1Tag_;
    std::unique_ptr<id3v2::TID3v2> id3v2Tag_;

    std::string path_;
    std::chrono::milliseconds lockWait_ = id3v2::kDefaultLockWait;
    io::SongFile held_;

    tagkit::Readiness readiness_ = Readiness::NotOpened;
    bool busy_ = false;
    io::Cause cause_;
    Tag record_;
    InspectedNumbers numbers_;
    io::FileIdentity identity_;
    std::int64_t fileLength_ = 0;
    // The song's first bytes (at least the tag header, fewer for a shorter file) and, when the
    // readers held it in memory (or a plan that keeps its frames read it), its whole tag.
    std::vector<std::uint8_t> headBytes_;
    std::vector<std::uint8_t> tagBytes_;
};

} // namespace tagkit
