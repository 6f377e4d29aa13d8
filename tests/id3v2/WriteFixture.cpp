// id3v2_write_fixture <folder>: makes real MP3 files with lame and twolame, writes tags into
// them with TID3v2 and describes in <folder>/manifest.json what each file should hold, for a
// check by an independent reader (check_with_mutagen.py). Each original is kept next to its
// tagged copy as <name>.orig so that the audio can be compared.
//
// Text is given in hexadecimal, since the tag bytes are single-byte text.
#include "id3v2/ID3v2.h"
#include "tools/mp3fixtures/Encoders.h"

#include "ExampleTags.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Hex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string ManifestEntry(const std::string& path, const std::string& original, const id3v2::TID3v2& tag)
{
    std::string entry = "{\"path\": \"" + path + "\", \"original\": \"" + original + "\", \"text\": {";
    bool first = true;
    for (const auto& [id, text] : exampletags::ExpectedTextFrames(tag)) {
        entry += (first ? "" : ", ") + ("\"" + id + "\": \"" + Hex(text) + "\"");
        first = false;
    }
    entry += "}, \"comment\": \"" + Hex(tag.Comment()) + "\", \"link\": \"" + Hex(tag.Link()) + "\", \"rating\": " +
             std::to_string(tag.Rating()) + "}";
    return entry;
}

// Encodes, keeps the original, writes the tag (variant 1, or every byte of the code page in every
// text; variant 2 over it when asked, which goes in place) and returns the manifest entry.
bool TagFile(const fs::path& folder, const std::string& name, fixtures::Encoder encoder, const std::vector<std::string>& args,
             bool writeTwice, std::string& entry, bool everyByte = false)
{
    const std::string path = (folder / name).string();
    const std::string original = path + ".orig";
    if (!fixtures::MakeMp3(original, encoder, args))
        return false;
    fs::copy_file(original, path);
    id3v2::TID3v2 tag;
    exampletags::SetEveryValue(tag, 1);
    if (everyByte)
        exampletags::SetEveryByte(tag);
    if (!tag.SaveToFile(path))
        return false;
    if (writeTwice) {
        exampletags::SetEveryValue(tag, 2);
        if (!tag.SaveToFile(path))
            return false;
    }
    entry = ManifestEntry(path, original, tag);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const fs::path folder = argv[1];
    std::string lameCbr, lameVbr, twolame, everyByte;
    if (!TagFile(folder, "lame-cbr.mp3", fixtures::Encoder::Lame, {"-b", "128"}, false, lameCbr) ||
        !TagFile(folder, "every-byte.mp3", fixtures::Encoder::Lame, {"-b", "128"}, false, everyByte, true) ||
        !TagFile(folder, "lame-vbr.mp3", fixtures::Encoder::Lame, {"-V", "2"}, true, lameVbr) ||
        !TagFile(folder, "twolame.mp3", fixtures::Encoder::Twolame, {"-b", "192"}, true, twolame)) {
        std::fprintf(stderr, "could not make or tag the files\n");
        return 1;
    }
    std::ofstream manifest(folder / "manifest.json");
    manifest << "{\"files\": [" << lameCbr << ",\n" << lameVbr << ",\n" << twolame << ",\n" << everyByte << "]}\n";
    return manifest.good() ? 0 : 1;
}
