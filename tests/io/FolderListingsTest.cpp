#include "io/FolderListings.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace io {
namespace {

using Kind = CaseLookup::Kind;

// A folder mounted as a Windows share would be, its names in other letter cases than the
// catalogue's.
class CaseTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* file : {"Samba/Can\xC3\xA7\xC3\xA3o.mp3", "Samba/\xC3\xBF.mp3", "Rock/dup.mp3", "Rock/DUP.mp3",
                                 "Rock/Velho \xE9.mp3" /* a name written as Windows-1252 bytes */})
            Put(file);
    }
    void Put(const std::string& name)
    {
        const std::filesystem::path path = std::filesystem::path(root()) / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << name;
    }
    const std::string& root() const { return scratch_.Path(); }
    CaseLookup Find(std::vector<std::string> rest) { return FindIgnoringCase(root(), rest, listings_); }

    fixtures::ScratchDir scratch_;
    FolderListings listings_;
};

TEST_F(CaseTree, FindsANameInAnyLetterCaseAndListsEachFolderOnce)
{
    const CaseLookup accented = Find({"SAMBA", "CAN\xC3\x87\xC3\x83O.MP3"});
    ASSERT_EQ(accented.kind, Kind::Found);
    EXPECT_EQ(accented.path, root() + "/Samba/Can\xC3\xA7\xC3\xA3o.mp3");
    EXPECT_EQ(Find({"samba", "\xC5\xB8.MP3"}).path, root() + "/Samba/\xC3\xBF.mp3"); // Ÿ finds ÿ
    EXPECT_EQ(Find({"ROCK", "VELHO \xC3\x89.MP3"}).path, root() + "/Rock/Velho \xE9.mp3");
    // The song's folder, once found, answers from its listing before any open.
    const std::vector<std::string> again = {"SAMBA", "can\xC3\xA7\xC3\xA3o.MP3"};
    EXPECT_EQ(FindListed(root(), again, listings_).path, root() + "/Samba/Can\xC3\xA7\xC3\xA3o.mp3");
    // root, its two folders, and "SAMBA", "samba" and "ROCK" as named, which are not there.
    EXPECT_EQ(listings_.Count(), 6u);
}

TEST_F(CaseTree, TwoNamesThatDifferInCaseAreNamedAndAMissingNameNamesTheDeepestFolder)
{
    const CaseLookup twice = Find({"rock", "Dup.mp3"});
    ASSERT_EQ(twice.kind, Kind::Ambiguous);
    EXPECT_EQ(twice.matches, (std::vector<std::string>{"Rock/DUP.mp3", "Rock/dup.mp3"}));
    // The exact name is the file, even beside another that differs in case.
    EXPECT_EQ(Find({"Rock", "dup.mp3"}).path, root() + "/Rock/dup.mp3");

    const CaseLookup noFile = Find({"Rock", "none.mp3"});
    EXPECT_EQ(noFile.kind, Kind::Missing);
    EXPECT_EQ(noFile.path, root() + "/Rock");
    const CaseLookup noFolder = Find({"Jazz", "x.mp3"});
    EXPECT_EQ(noFolder.kind, Kind::Missing);
    EXPECT_EQ(noFolder.path, root());
    EXPECT_EQ(noFolder.missingName, "Jazz");
    // A file where a folder is looked for.
    EXPECT_EQ(Find({"ROCK", "dup.mp3", "x.mp3"}).kind, Kind::Missing);
}

TEST_F(CaseTree, AMappedFolderNotThereOrEmptyIsToldAsSuch)
{
    FolderListings listings;
    const std::vector<std::string> rest = {"Rock", "a.mp3"};
    EXPECT_EQ(FindIgnoringCase(root() + "/unmounted", rest, listings).kind, Kind::RootMissing);
    std::filesystem::create_directory(root() + "/mountpoint");
    EXPECT_EQ(FindIgnoringCase(root() + "/mountpoint", rest, listings).kind, Kind::RootEmpty);
}

} // namespace
} // namespace io
