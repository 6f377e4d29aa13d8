// The listing of every frame of a tag: IDs in order, contents unpacked, version 2.2 IDs as
// version 2.3 names them, and where the listing stops.
#include "TagBytes.h"
#include "id3v2/FrameList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using namespace tagbytes;

std::vector<ListedFrame> List(const std::string& tag, bool expectTag = true)
{
    std::vector<ListedFrame> frames;
    EXPECT_EQ(ListFrames(AsBytes(tag), frames), expectTag);
    return frames;
}

std::string Content(const ListedFrame& frame)
{
    return frame.Content ? std::string(frame.Content->begin(), frame.Content->end()) : "<none>";
}

TEST(FrameList, EveryFrameInOrderWithItsContentUntilThePadding)
{
    const auto frames = List(Tag(3, FrameV23("TIT2", Latin1("Angie")) + FrameV23("APIC", "\0image/png\0\3\0PNG"s) +
                                        FrameV23("TIT2", Latin1("Again")) + FrameV23("XYZ1", "raw"),
                                 64));
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].Id, "TIT2");
    EXPECT_EQ(Content(frames[0]), Latin1("Angie"));
    EXPECT_EQ(frames[1].Id, "APIC");
    EXPECT_EQ(frames[1].StoredSize, 16);
    EXPECT_EQ(frames[2].Id, "TIT2");
    EXPECT_EQ(frames[3].Id, "XYZ1");
    EXPECT_EQ(Content(frames[3]), "raw");
}

TEST(FrameList, ContentsAreUnpackedByEachVersionsRules)
{
    // 2.3: compression (inflated size first), grouping; a tag-wide unsynchronisation.
    const std::string text = Latin1("\xFF\xFE ok");
    auto frames = List(Tag(3,
                           FrameV23("TALB", BigEndian32(static_cast<std::uint32_t>(text.size())) + Deflated(text), 0x80) +
                               FrameV23("TPE1", "\x07"s + Latin1("grouped"), 0x20) + FrameV23("TCOM", "\x01secret", 0x40),
                           0));
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(Content(frames[0]), text);
    EXPECT_EQ(Content(frames[1]), Latin1("grouped"));
    EXPECT_EQ(Content(frames[2]), "<none>"); // encrypted

    // 2.4: a data length indicator and unsynchronisation of the frame.
    frames = List(Tag(4, FrameV24("TIT2", Syncsafe(6) + "\x00\xFF\x00\xE0xy"s, 0x03)));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Content(frames[0]), "\x00\xFF\xE0xy"s);

    // The size counts the frame as it was before the whole tag was unsynchronised.
    frames = List(Tag(3, FrameV23WithSize("TIT2", 3, "\x00\xFF\x00\xE0"s), 0, 0x80));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Content(frames[0]), "\x00\xFF\xE0"s);
}

TEST(FrameList, VersionTwoTwoFramesCarryTheIdsTheyAreReadAs)
{
    const auto frames = List(Tag(2, FrameV22("TT2", Latin1("Angie")) + FrameV22("COM", "\0eng\0x"s) +
                                        FrameV22("PIC", "picture") + FrameV22("POP", "\0\x80"s)));
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].Id, "TIT2");
    EXPECT_EQ(frames[1].Id, "COMM");
    EXPECT_EQ(frames[2].Id, "PIC"); // no row of the frame table: its own ID
    EXPECT_EQ(frames[3].Id, "POPM");
}

TEST(FrameList, AFrameThatDoesNotFitEndsTheListAndNoTagListsNothing)
{
    auto frames = List(Tag(3, FrameV23("TIT2", Latin1("Angie")) + FrameV23WithSize("TALB", 5000, "short")));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Id, "TIT2");
    EXPECT_TRUE(List("no tag here", false).empty());
    EXPECT_TRUE(List(Tag(5, FrameV23("TIT2", Latin1("x"))), false).empty());
}

} // namespace
} // namespace id3v2
