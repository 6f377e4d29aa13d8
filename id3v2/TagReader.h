#pragma once
// The file side of reading a tag: the file's first bytes, as many as the frame scan can look
// at, in as few reads as possible.
#include <cstdint>
#include <string>
#include <vector>

namespace id3v2 {

struct TagRegion {
    std::vector<std::uint8_t> Bytes; // the file from offset 0: the tag and what the scan may reach
    std::int64_t FileLength = 0;
};

// Opens the file read-only, reads its start in one read (a second one only for a tag too large
// for the first) and closes it. False when the file cannot be opened or read or holds fewer
// than 10 bytes.
bool ReadTagRegion(const std::string& path, TagRegion& region);

} // namespace id3v2
