#pragma once
// The bytes of one song file, opened read-only once and shared by the readers that inspect it
// (the audio analyser, the ID3v2 reader, the ID3v1 reader). Every byte range is read from the
// file at most once: what is read is kept in a few windows and served from memory afterwards.
//
// Reads are widened where the next reader is known to look: a read within the file's first
// 8 KB reads the whole head (the tag header, a usual tag and the first audio frames), and a
// read within the last 128 bytes reads to the file's end (the ID3v1 block). Nothing reads the
// whole file; the windows hold at most the ranges the readers ask for plus these widenings.
// A song opened for one reader keeps and widens nothing: each read goes to the file as asked,
// so that a reader alone reads no more than it needs.
// No call throws: a failed allocation counts as a read error.
#include "io/BinaryFile.h"
#include "io/ByteSource.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace io {

class SongBytes final : public ByteSource {
public:
    // The head window: reads that start before this offset read the file from 0 up to here.
    static constexpr std::int64_t kHeadWindow = 8192;
    // The tail window: reads that start this close to the end read up to the end.
    static constexpr std::int64_t kTailWindow = 128;
    // Separate windows kept at most; a read beyond them is served but not kept.
    static constexpr std::size_t kMostWindows = 4;

    enum class Readers { One, Several };

    SongBytes() = default;
    // It reads through a file of its own or one it was given: neither copied nor moved.
    SongBytes(const SongBytes&) = delete;
    SongBytes& operator=(const SongBytes&) = delete;

    // Opens an existing regular file read-only and learns its length. False when it cannot be
    // opened; the readers then fail as they do for a file they cannot open.
    bool Open(const std::string& path, Readers readers = Readers::Several);
    // Reads through a file opened elsewhere (a song held for writing), which must stay open while
    // this object reads; its length and identity as that open found them.
    void Use(const BinaryFile& file, std::int64_t length, FileIdentity identity, Readers readers = Readers::Several);

    bool IsOpen() const override { return file_ != nullptr && file_->IsOpen(); }
    // The file's length when it was opened; reads never go past it.
    std::int64_t Length() const override { return length_; }
    // Which file was opened.
    FileIdentity Identity() const { return identity_; }

    // Copies the bytes from offset on into buffer. Returns the count copied (short only at the
    // end of the file), or -1 when a read error left part of the range unread.
    std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer) override;

    // The bytes from offset on, up to count of them: fewer at the end of the file or when a
    // read error stopped the read (LastReadFailed then says so). The view stays valid until the
    // next call on this object.
    std::span<const std::uint8_t> View(std::int64_t offset, std::int64_t count) override;
    // Served from a window that holds the whole range, else read from the file and not kept.
    std::int64_t ReadPassing(std::int64_t offset, std::span<std::uint8_t> buffer) override;
    // Whether the last View or ReadAt met a read error.
    bool LastReadFailed() const override { return lastReadFailed_; }
    // The system's error number of the failed open, or of the last read that failed; 0 if none.
    int Error() const { return error_; }

    // What was read from the file itself: read calls and bytes.
    std::int64_t FileReads() const { return fileReads_; }
    std::int64_t FileBytesRead() const { return fileBytesRead_; }
    // Bytes the windows hold: equal to FileBytesRead while no range was read twice.
    std::int64_t KeptBytes() const;

private:
    struct Window {
        std::int64_t Start = 0;
        std::vector<std::uint8_t> Bytes;
        std::int64_t End() const { return Start + static_cast<std::int64_t>(Bytes.size()); }
    };

    // Makes the windows cover [begin, end) as far as the file allows.
    void Fill(std::int64_t begin, std::int64_t end);
    // Reads from offset on straight into buffer (short at the end of the file), keeping nothing:
    // the count read, or -1 on an error.
    std::int64_t ReadUnkept(std::int64_t offset, std::span<std::uint8_t> buffer);
    // Reads [begin, end) into the loose window, which no other read keeps.
    void ReadLoose(std::int64_t begin, std::int64_t end);
    // Reads out.size() bytes at begin from the file; returns the count read, short at the end
    // of the file or on an error (which sets lastReadFailed_).
    std::int64_t ReadFile(std::int64_t begin, std::span<std::uint8_t> out);
    // The window holding offset, or nullptr.
    const Window* WindowAt(std::int64_t offset) const;

    BinaryFile own_;                     // the file Open opened
    const BinaryFile* file_ = nullptr; // the file read: own_, or the one Use was given
    std::int64_t length_ = 0;
    FileIdentity identity_;
    bool keep_ = true;            // several readers: widen reads and keep them in windows
    std::vector<Window> windows_; // sorted by Start, neither overlapping nor touching
    Window loose_;                // the last read that no window could keep
    bool lastReadFailed_ = false;
    int error_ = 0;
    std::int64_t fileReads_ = 0;
    std::int64_t fileBytesRead_ = 0;
};

} // namespace io
