// fonarel-save-one TITLE SONG...: writes each song's tag as a batch run does (CreateTagObjects,
// LoadFileInfo, SaveTagInfo with a title, an album and a track, FreeTagObjects). Prints one line
// per song, "written" or "not written", and ends 0 when every song was written, 1 otherwise.
#include "tagkit/U_Funcoes.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: fonarel-save-one TITLE SONG...\n");
        return 2;
    }
    tagkit::TagValues values;
    values.Title = argv[1];
    values.Album = "Falhas";
    values.Track = "7";
    values.FileExtension = ".mp3";
    bool all = true;
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        tagkit::CreateTagObjects(".mp3");
        tagkit::LoadFileInfo(path);
        bool written = false;
        try {
            written = tagkit::SaveTagInfo(path, values);
        } catch (...) {
        }
        tagkit::FreeTagObjects(".mp3");
        std::printf("%s %s\n", written ? "written" : "not written", path.c_str());
        std::fflush(stdout);
        all = all && written;
    }
    return all ? 0 : 1;
}
