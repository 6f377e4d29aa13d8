// fonarel-save-one [--read-first] [--keep] TITLE SONG...: writes each song's tag as the programs
// write it (an inspection held for writing, a plan with a title, an album and a track, its save).
// With --read-first, as a song that cannot be held for writing is written: inspected read only,
// then saved. With --keep, keeping the old tag's other frames and the song's times. Prints one
// line per song, "written PATH" or "not written PATH: REASON", and ends 0 when every song was
// written, 1 otherwise.
#include "id3v2/TagWriter.h"
#include "io/Outcome.h"
#include "tagkit/SongExamination.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv)
{
    int first = 1;
    bool readFirst = false;
    tagkit::Keeping keep;
    for (; first < argc && std::string_view(argv[first]).starts_with("--"); ++first) {
        const std::string_view flag = argv[first];
        readFirst = readFirst || flag == "--read-first";
        keep.OtherFrames = keep.Times = keep.OtherFrames || flag == "--keep";
    }
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: fonarel-save-one [--read-first] [--keep] TITLE SONG...\n");
        return 2;
    }
    tagkit::TagValues values;
    values.Title = argv[first];
    values.Album = "Falhas";
    values.Track = "7";
    values.FileExtension = ".mp3";
    const tagkit::Access access = readFirst ? tagkit::Access::ReadOnly()
                                            : tagkit::Access::HeldForWriting(id3v2::kDefaultLockWait);
    bool all = true;
    for (int i = first + 1; i < argc; ++i) {
        const std::string path = argv[i];
        tagkit::SongExamination inspection = tagkit::SongExamination::Of(path, access);
        io::Outcome saved = io::Outcome::Busy();
        if (!inspection.Busy())
            saved = inspection.Save(inspection.Plan(values, keep));
        if (saved.Done())
            std::printf("written %s\n", path.c_str());
        else
            std::printf("not written %s: %s\n", path.c_str(),
                        saved.kind == io::Outcome::Kind::Busy ? "busy" : io::CauseText(saved.cause).c_str());
        std::fflush(stdout);
        all = all && saved.Done();
    }
    return all ? 0 : 1;
}
