#include "songs/FolderMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace songs {
namespace {

using Kind = MappedPath::Kind;

FolderMap Office()
{
    FolderMap map;
    EXPECT_EQ(map.Add("M:\\", "/mnt/acervo/"), FolderLineError::None);
    EXPECT_EQ(map.Add("m:/acervo/samba", "/srv/samba"), FolderLineError::None);
    EXPECT_EQ(map.Add("\\\\SERVIDOR\\Acervo", "/mnt/servidor"), FolderLineError::None);
    EXPECT_EQ(map.Add("\\\\servidor\\acervo\\Rock\\", "/mnt/rock"), FolderLineError::None);
    // UTF-8 in the file; the catalogue's Windows-1252 text is compared after conversion.
    EXPECT_EQ(map.Add("\\\\SERVIDOR\\M\xC3\xBAsica", "/mnt/m\xC3\xBAsica"), FolderLineError::None);
    return map;
}

TEST(FolderMap, MapsEverySpellingOfAPrefixAndTheLongestWins)
{
    const FolderMap map = Office();
    struct Case {
        const char* catalogue;
        Kind kind;
        const char* path; // Mapped: the path on this machine; else the prefix shown
    };
    const std::vector<Case> cases = {
        {"M:\\ACERVO\\Forro\\a.mp3", Kind::Mapped, "/mnt/acervo/ACERVO/Forro/a.mp3"},
        {"m:/ACERVO/Forro/a.mp3", Kind::Mapped, "/mnt/acervo/ACERVO/Forro/a.mp3"},
        {"M:ACERVO\\x.mp3", Kind::Mapped, "/mnt/acervo/ACERVO/x.mp3"},             // drive-relative: from the root
        {"M:\\ACERVO\\SAMBA\\b.mp3", Kind::Mapped, "/srv/samba/b.mp3"},            // longest prefix
        {"M:\\ACERVO\\SAMBAS\\b.mp3", Kind::Mapped, "/mnt/acervo/ACERVO/SAMBAS/b.mp3"}, // whole names only
        {"M:\\\\ACERVO\\\\\\Forro\\\\a.mp3", Kind::Mapped, "/mnt/acervo/ACERVO/Forro/a.mp3"}, // doubled separators
        {"M:\\ACERVO\\.\\Forro\\..\\Xote\\c.mp3", Kind::Mapped, "/mnt/acervo/ACERVO/Xote/c.mp3"},
        {"\\\\servidor\\ACERVO\\Jazz\\d.mp3", Kind::Mapped, "/mnt/servidor/Jazz/d.mp3"},
        {"\\\\SERVIDOR\\Acervo\\ROCK\\e.mp3", Kind::Mapped, "/mnt/rock/e.mp3"},
        {"//SERVIDOR/Acervo/Rock/e.mp3", Kind::Mapped, "/mnt/rock/e.mp3"},
        {"\\\\SERVIDOR\\M\xDASICA\\f.mp3", Kind::Mapped, "/mnt/m\xC3\xBAsica/f.mp3"}, // Ú folds to ú
        {"M:\\ACERVO\\SAMBA\\..\\..\\x.mp3", Kind::Outside, "M:\\acervo\\samba\\"},
        {"M:\\..\\x.mp3", Kind::Outside, "M:\\"},
        {"N:\\ACERVO\\a.mp3", Kind::Unmapped, "N:\\"},
        {"\\\\OUTRO\\Discos\\Rock\\a.mp3", Kind::Unmapped, "\\\\OUTRO\\Discos\\"},
        {"/srv/musica/a.mp3", Kind::Posix, ""},
        {"musica/a.mp3", Kind::Posix, ""},
        {"", Kind::Posix, ""},
        {"//srv/musica/a.mp3", Kind::Posix, ""}, // "//" without a line for it stays a POSIX path
    };
    for (const Case& c : cases) {
        const MappedPath mapped = map.Map(c.catalogue);
        EXPECT_EQ(mapped.kind, c.kind) << c.catalogue;
        EXPECT_EQ(mapped.kind == Kind::Mapped ? mapped.Path() : mapped.prefix, c.path) << c.catalogue;
    }
}

TEST(FolderMap, RefusesWhatIsNoPrefixOrNoAbsoluteFolderAndALaterLineWins)
{
    FolderMap map;
    for (const char* prefix : {"M", "M\\", "\\\\SERVIDOR", "\\\\SERVIDOR\\", "/mnt/x", "acervo", "M:\\..\\x", ""})
        EXPECT_EQ(map.Add(prefix, "/mnt/x"), FolderLineError::NotAPrefix) << prefix;
    for (const char* folder : {"mnt/x", "", "M:\\x", "~/x"})
        EXPECT_EQ(map.Add("M:", folder), FolderLineError::NotAbsolute) << folder;
    EXPECT_TRUE(map.Empty());
    ASSERT_EQ(map.Add("M:\\", "/first"), FolderLineError::None);
    ASSERT_EQ(map.Add("m:/", "/second"), FolderLineError::None);
    EXPECT_EQ(map.Map("M:\\a.mp3").Path(), "/second/a.mp3");
    // A folder written in Windows-1252 (not valid UTF-8) is taken as such.
    ASSERT_EQ(map.Add("M:", "/m\xFAsica"), FolderLineError::None);
    EXPECT_EQ(map.Map("M:\\a.mp3").Path(), "/m\xC3\xBAsica/a.mp3");
}

} // namespace
} // namespace songs
