#pragma once
// Real MP3 files for the toolkit's tests: one lame encoding per suite, copied per test and
// given tags by TagLib (an independent writer) or by hand.
#include "tools/mp3fixtures/ScratchDir.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace TagLib::ID3v2 {
class Tag;
}

namespace songfiles {

// A CBR 128 kbit/s stereo lame encoding of two seconds, without any tag.
const std::string& PlainLameFile();
// A VBR (-V 2) lame encoding of two seconds, with its Xing header and no tag.
const std::string& VbrLameFile();

// Copies `source` to `target` and returns target.
std::string CopyFile(const std::string& source, const std::string& target);

// Gives the file an ID3v2 tag of major version 3 or 4 through TagLib; `fill` sets the frames.
void WriteTagLibTag(const std::string& path, int majorVersion, const std::function<void(TagLib::ID3v2::Tag&)>& fill);
// Adds a text frame with an ID of the catalogue's own (TRIT, TGRA, ...) to a TagLib tag.
void AddTextFrame(TagLib::ID3v2::Tag& tag, const char* id, const std::string& latin1Text);

// Puts `tagBytes` in front of the file's bytes, or appends them.
void Prepend(const std::string& path, const std::string& tagBytes);
void Append(const std::string& path, const std::string& bytes);

// The bytes after the file's ID3v2 tag (all bytes when it has none), as a fingerprint.
std::uint64_t AudioFingerprint(const std::string& path);

// The file's ID3v2 tag as an independent reader sees it: frame ID -> the frames' texts (for
// text frames the field list joined with "/"; for POPM the rating in decimal; for COMM the text;
// for WXXX the address). Empty when TagLib finds no tag. Also the tag's version.
struct ReadBack {
    int majorVersion = 0;
    std::multimap<std::string, std::string> frames;
    std::string One(const std::string& id) const;
    bool Has(const std::string& id) const { return frames.count(id) != 0; }
};
// TagLib turns a version 2.3 TYER frame into TDRC when it reads; the year is under "TDRC" here.
ReadBack ReadWithTagLib(const std::string& path);

// The frame IDs of a version 2.3 tag in file order, walked byte by byte without TagLib (whose
// reading renames some frames).
std::vector<std::string> RawFrameIds(const std::string& path);

// A 128-byte ID3v1 tag: version 1.1 when track is not 0.
std::string Id3v1Block(const std::string& title, const std::string& artist, const std::string& album,
                       const std::string& year, const std::string& comment, std::uint8_t track, std::uint8_t genre);

// A version 2.2 tag with the given three-letter text frames (ISO-8859-1).
std::string Id3v22Tag(const std::vector<std::pair<std::string, std::string>>& frames);

} // namespace songfiles
