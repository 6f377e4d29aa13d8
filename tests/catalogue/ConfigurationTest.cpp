// RevoZadoz.ini read with the platform's INI semantics, and the configuration around it.
#include "CatalogueTesting.h"

#include "catalogue/Configuration.h"
#include "catalogue/IniFile.h"

#include <random>

namespace catalogue::testing {
namespace {

using namespace std::string_literals;

TEST(IniFile, NamesIgnoreLetterCaseAndSurroundingBlanks)
{
    const IniFile ini = IniFile::Parse("[Banco]\nCaminho = /a.fdb\n[ OUTRO ]\n  chave\t=\tvalor  \n");
    EXPECT_EQ(ini.Value("BANCO", "caminho"), "/a.fdb");
    EXPECT_EQ(ini.Value("banco", "CAMINHO"), "/a.fdb");
    EXPECT_EQ(ini.Value("outro", "Chave"), "valor");
}

TEST(IniFile, MissingSectionsKeysAndCommentsReadEmpty)
{
    const IniFile ini = IniFile::Parse("caminho=/before-any-section.fdb\n[BANCO]\n;caminho=/commented.fdb\n"
                                       "outra=1\nsem igual\n[VAZIO]\n");
    EXPECT_EQ(ini.Value("BANCO", "caminho"), "");
    EXPECT_EQ(ini.Value("BANCO", ";caminho"), "");
    EXPECT_EQ(ini.Value("NADA", "caminho"), "");
    EXPECT_EQ(ini.Value("VAZIO", "caminho"), "");
    EXPECT_EQ(ini.Value("", "caminho"), "");
    EXPECT_EQ(ini.Value("BANCO", "outra"), "1");
}

TEST(IniFile, OnePairOfEnclosingQuotesIsDropped)
{
    const IniFile ini = IniFile::Parse("[A]\nd=\"/x y.fdb\"\ns='/z.fdb'\nm=\"/half.fdb'\ni=/a\"b\".fdb\nq=\"\n");
    EXPECT_EQ(ini.Value("A", "d"), "/x y.fdb");
    EXPECT_EQ(ini.Value("A", "s"), "/z.fdb");
    EXPECT_EQ(ini.Value("A", "m"), "\"/half.fdb'");
    EXPECT_EQ(ini.Value("A", "i"), "/a\"b\".fdb");
    EXPECT_EQ(ini.Value("A", "q"), "\"");
}

TEST(IniFile, FirstSectionAndFirstKeyWin)
{
    const IniFile ini = IniFile::Parse("[BANCO]\ncaminho=/um.fdb\ncaminho=/dois.fdb\n[BANCO]\ncaminho=/tres.fdb\n"
                                       "extra=x\n");
    EXPECT_EQ(ini.Value("BANCO", "caminho"), "/um.fdb");
    EXPECT_EQ(ini.Value("BANCO", "extra"), ""); // only the first BANCO section is looked at
}

TEST(IniFile, ValueKeepsInnerBytesAndStopsAtTheLimitOrANul)
{
    const IniFile ini = IniFile::Parse("[B]\nk= a ; \"b\" , c\\n \xE9\xA0 \n"s + "cut=ab\0cd\n"s + "long=" +
                                       std::string(3000, 'x') + "\n");
    EXPECT_EQ(ini.Value("B", "k"), "a ; \"b\" , c\\n \xE9\xA0");
    EXPECT_EQ(ini.Value("B", "cut"), "ab");
    EXPECT_EQ(ini.Value("B", "long"), std::string(kMaxProfileValue, 'x'));
}

TEST(IniFile, LineEndsByteOrderMarksAndAMissingLastNewline)
{
    EXPECT_EQ(IniFile::Parse("[BANCO]\r\ncaminho=/crlf.fdb\r\n").Value("BANCO", "caminho"), "/crlf.fdb");
    EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF[BANCO]\ncaminho=/m\xC3\xBAsica.fdb").Value("BANCO", "caminho"),
              "/m\xC3\xBAsica.fdb");
    const std::string utf16 = "\xFF\xFE[\0B\0A\0N\0C\0O\0]\0\n\0c\0=\0/\0\xFA\0\n\0"s;
    EXPECT_EQ(IniFile::Parse(utf16).Value("BANCO", "c"), "/\xC3\xBA");
    const std::string utf16be = "\xFE\xFF\0[\0B\0]\0\n\0c\0=\xD8\x3D\xDE\x00"s;
    EXPECT_EQ(IniFile::Parse(utf16be).Value("B", "c"), "\xF0\x9F\x98\x80");
}

TEST(IniFile, ArbitraryBytesNeverBreakTheReader)
{
    std::mt19937 random(2010);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 500; ++round) {
        std::string bytes(static_cast<std::size_t>(round * 3), '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random) % 4 == 0 ? "[]=\n"[byte(random) % 4] : byte(random));
        if (round % 3 == 0)
            bytes.insert(0, round % 2 ? "\xFF\xFE" : "\xEF\xBB\xBF");
        const std::string value = IniFile::Parse(bytes).Value("BANCO", "caminho");
        EXPECT_LE(value.size(), kMaxProfileValue);
    }
}

TEST(Configuration, FileBesideTheExecutable)
{
    EXPECT_EQ(ConfigurationPath("/opt/fonarel/bin/fonarel"), "/opt/fonarel/bin/RevoZadoz.ini");
    ScratchFolder folder;
    EXPECT_FALSE(ConfigurationExists(folder / "RevoZadoz.ini"));
    std::filesystem::create_directory(folder / "RevoZadoz.ini");
    EXPECT_FALSE(ConfigurationExists(folder / "RevoZadoz.ini")); // a folder is no configuration file
    EXPECT_EQ(ReadConfiguration(folder / "RevoZadoz.ini").databaseName, "");
}

TEST(Configuration, DatabaseNameIsTrimmedOfControlBytesAndBlanks)
{
    ScratchFolder folder;
    const auto path = folder / "RevoZadoz.ini";
    WriteFile(path, "[BANCO]\ncaminho=\x01\x1F \t/dados/minha base.fdb\x02 \t\x1A");
    EXPECT_TRUE(ConfigurationExists(path));
    EXPECT_EQ(ReadConfiguration(path).databaseName, "/dados/minha base.fdb");
    WriteFile(path, "[BANCO]\ncaminho=" + std::string(2100, ' ') + "/x.fdb\n");
    EXPECT_EQ(ReadConfiguration(path).databaseName, "/x.fdb"); // the blanks the loader strips do not count
    WriteFile(path, "\x00\x01\x02\xFF\xFE\xFD"s);
    EXPECT_EQ(ReadConfiguration(path).databaseName, "");
}

TEST(Configuration, DefaultDatabaseIsAFixedFileInTheHomeFolder)
{
    const char* home = std::getenv("HOME");
    const std::string saved = home == nullptr ? "" : home;
    setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(DefaultDatabaseName(), "/home/ana/.local/share/Fonarel2010/catalogue.fdb");
    if (home != nullptr)
        setenv("HOME", saved.c_str(), 1);
}

} // namespace
} // namespace catalogue::testing
