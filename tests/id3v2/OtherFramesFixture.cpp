// id3v2_other_frames_fixture <old> <new>: writes into <new> a version 2.3 tag of the frames that
// <old>'s tag keeps, and prints each dropped frame on a line ("ID: why"), for a comparison with
// an independent reader's own conversion (check_other_frames.py).
#include "id3v2/OtherFrames.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: id3v2_other_frames_fixture <old> <new>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    id3v2::OtherFrames frames;
    if (!id3v2::OtherFramesAsV23(old, frames)) {
        std::fprintf(stderr, "%s: no tag kept\n", argv[1]);
        return 1;
    }
    const std::size_t size = frames.Bytes.size();
    const char header[10] = {'I', 'D', '3', 3, 0, 0, static_cast<char>((size >> 21) & 0x7F), static_cast<char>((size >> 14) & 0x7F),
                             static_cast<char>((size >> 7) & 0x7F), static_cast<char>(size & 0x7F)};
    std::ofstream out(argv[2], std::ios::binary);
    out.write(header, sizeof header);
    out.write(reinterpret_cast<const char*>(frames.Bytes.data()), static_cast<std::streamsize>(size));
    for (const id3v2::DroppedFrame& d : frames.Dropped)
        std::printf("%s: %s\n", d.Id.c_str(), d.Why.c_str());
    return out ? 0 : 1;
}
