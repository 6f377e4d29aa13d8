// What a write changes, frame by frame, by value: over tags built byte by byte.
#include "TagBytes.h"
#include "batch/FrameChanges.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace batch {
namespace {

using namespace std::string_literals;
using namespace tagbytes;
using Kind = FrameChange::Kind;

std::vector<id3v2::ListedFrame> Frames(const std::string& tag)
{
    std::vector<id3v2::ListedFrame> frames;
    id3v2::ListFrames(AsBytes(tag), frames);
    return frames;
}

std::vector<FrameChange> Changes(const std::string& before, const std::string& after)
{
    return CompareFrames(Frames(before), Frames(after));
}

TEST(FrameChanges, TheSameTextInAnotherEncodingOrVersionIsNoChange)
{
    const std::string written = Tag(3, FrameV23("TIT2", Latin1("Can\xE7\xE3o")) + FrameV23("TPE1", Latin1("Ana")));
    EXPECT_TRUE(Changes(Tag(4, FrameV24("TIT2", Utf16BigEndian(u"Canção", false).replace(0, 1, "\x02")) +
                                   FrameV24("TPE1", "\x03"s + "Ana")),
                        written)
                    .empty());
    EXPECT_TRUE(Changes(Tag(2, FrameV22("TT2", Utf16LittleEndian(u"Canção")) + FrameV22("TP1", Latin1("Ana\0"s))), written)
                    .empty());
    EXPECT_TRUE(Changes(written, written).empty());
}

TEST(FrameChanges, AddedRemovedAndChangedFramesInTheNewTagsOrderThenTheOldOnes)
{
    const auto changes = Changes(Tag(3, FrameV23("TDRC", Latin1("1998")) + FrameV23("TIT2", Latin1("Angie ")) +
                                            FrameV23("APIC", "\0image/png\0\3\0PNG"s) + FrameV23("TRCK", Latin1("4/12"))),
                                 Tag(3, FrameV23("TIT2", Latin1("Angie")) + FrameV23("TPE1", Latin1("Stones")) +
                                            FrameV23("TRCK", Latin1("4"))));
    ASSERT_EQ(changes.size(), 5u);
    EXPECT_EQ(changes[0].id, "TIT2");
    EXPECT_EQ(changes[0].kind, Kind::Changed);
    EXPECT_EQ(changes[0].before, "\"Angie \"");
    EXPECT_EQ(changes[0].after, "\"Angie\"");
    EXPECT_EQ(changes[1].id, "TPE1");
    EXPECT_EQ(changes[1].kind, Kind::Added);
    EXPECT_EQ(changes[2].id, "TRCK");
    EXPECT_EQ(changes[3].id, "TDRC");
    EXPECT_EQ(changes[3].kind, Kind::Removed);
    EXPECT_EQ(changes[4].id, "APIC");
    EXPECT_EQ(changes[4].before, "picture, 16 bytes");
}

TEST(FrameChanges, CommentsCountTheirLanguageAndDescriptionAndRatingsTheirAddressAndCounter)
{
    const std::string ours = Tag(3, FrameV23("COMM", "\0eng\0Bom"s) + FrameV23("POPM", "\0\xC4"s));
    auto changes = Changes(Tag(3, FrameV23("COMM", "\0por\0Bom"s) + FrameV23("POPM", "a@b\0\xC4\0\0\0\x03"s)), ours);
    // Each player's rating under its own address: the old one's goes, ours comes.
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].before, "(por) \"Bom\"");
    EXPECT_EQ(changes[0].after, "(eng) \"Bom\"");
    EXPECT_EQ(ChangeLine(changes[1]), "POPM: added rating 196");
    EXPECT_EQ(ChangeLine(changes[2]), "POPM \"a@b\": removed (was rating 196 from \"a@b\", played 3 times)");
    // A comment in UTF-16 with the same language, description and text is the same comment.
    EXPECT_TRUE(Changes(Tag(3, FrameV23("COMM", "\x01"s + "eng" + "\xFF\xFE\0\0"s + Utf16LittleEndian(u"Bom").substr(1)) +
                                   FrameV23("POPM", "\0\xC4"s)),
                        ours)
                    .empty());
}

TEST(FrameChanges, WindowsPunctuationInSingleByteTextReadsAsThePlayersReadIt)
{
    // The file's UTF-8 apostrophe kept as the code page's 0x92: a player reads a control character.
    const auto changes = Changes(Tag(4, FrameV24("TALB", "\x03"s + "d\xE2\x80\x99\xC3\x81gua")),
                                 Tag(3, FrameV23("TALB", Latin1("d\x92\xC1gua"))));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].before, "\"d\xE2\x80\x99\xC3\x81gua\"");
    EXPECT_EQ(changes[0].after, "\"d\\x92\xC3\x81gua\"");
}

TEST(FrameChanges, RepeatedFramesAreComparedInOrder)
{
    const auto changes = Changes(Tag(3, FrameV23("TIT2", Latin1("One")) + FrameV23("TIT2", Latin1("Two"))),
                                 Tag(3, FrameV23("TIT2", Latin1("One"))));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, Kind::Changed);
    EXPECT_EQ(changes[0].before, "\"Two\"");
    EXPECT_EQ(changes[0].after, "");
}

TEST(FrameChanges, EveryFrameOfARepeatedIdHasALineNamedByWhatTellsItApart)
{
    const std::string frontCover = "\0image/jpeg\0\x03\0"s + std::string(40960, '\xFF');
    const std::string backCover = "\0image/png\0\x04\0"s + std::string(3030, '\x89');
    const std::string old = Tag(
        3, FrameV23("TIT2", Latin1("Angie")) + FrameV23("APIC", frontCover) + FrameV23("APIC", backCover) +
               FrameV23("TXXX", "\0replaygain_track_gain\0-6.20 dB"s) + FrameV23("TXXX", "\0replaygain_track_peak\0" "0.98"s) +
               FrameV23("TXXX", "\0liq_cue_in\0" "0.5"s) + FrameV23("TXXX", "\0liq_cue_out\0" "212.4"s) +
               FrameV23("COMM", "\x01" "eng"s + Utf16LittleEndian(u"iTunNORM").substr(1) + "\0\0"s +
                                    Utf16LittleEndian(u" 0000021C").substr(1)) +
               FrameV23("COMM", "\0eng" "iTunSMPB\0 00000000"s) + FrameV23("COMM", "\0eng\0Bom velho"s) +
               FrameV23("USLT", "\0por\0Angie, Angie"s) + FrameV23("UFID", "http://musicbrainz.org\0" "4c2a"s) +
               FrameV23("PRIV", "WM/MediaClassPrimaryID\0\xBC\x7D"s) +
               FrameV23("GEOB", "\0application/octet-stream\0cue.dat\0cue sheet\0FILE"s));
    const std::string ours = Tag(3, FrameV23("TIT2", Latin1("Angie")) + FrameV23("COMM", "\0eng\0Bom"s) + FrameV23("POPM", "\0\0"s));

    std::vector<std::string> lines;
    std::string ids;
    for (const FrameChange& change : Changes(old, ours)) {
        lines.push_back(ChangeLine(change));
        ids += (ids.empty() ? "" : ",") + change.id;
    }
    // Ours has language "eng" and no description: the old comment alike is the one it changes.
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "COMM: (eng) \"Bom velho\" -> (eng) \"Bom\"",
                         "COMM \"iTunNORM\": removed (was (eng) \" 0000021C\")",
                         "COMM \"iTunSMPB\": removed (was (eng) \" 00000000\")",
                         "POPM: added rating 0",
                         "APIC front cover, image/jpeg: removed (was picture, 40974 bytes)",
                         "APIC back cover, image/png: removed (was picture, 3043 bytes)",
                         "TXXX \"replaygain_track_gain\": removed (was \"-6.20 dB\")",
                         "TXXX \"replaygain_track_peak\": removed (was \"0.98\")",
                         "TXXX \"liq_cue_in\": removed (was \"0.5\")",
                         "TXXX \"liq_cue_out\": removed (was \"212.4\")",
                         "USLT: removed (was (por) \"Angie, Angie\")",
                         "UFID \"http://musicbrainz.org\": removed (was 27 bytes)",
                         "PRIV \"WM/MediaClassPrimaryID\": removed (was 25 bytes)",
                         "GEOB application/octet-stream, \"cue.dat\", \"cue sheet\": removed (was 48 bytes)",
                     }));
    EXPECT_EQ(ids, "COMM,COMM,COMM,POPM,APIC,APIC,TXXX,TXXX,TXXX,TXXX,USLT,UFID,PRIV,GEOB");
}

} // namespace
} // namespace batch
