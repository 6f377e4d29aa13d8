// The frames a rewritten tag keeps of the old one, as version 2.3 frames: every conversion by
// its input and output bytes, the frames dropped and why, and that a tag of our own making
// converts to itself.
#include "TagBytes.h"
#include "id3v2/OtherFrames.h"
#include "id3v2/TagBuilder.h"
#include "id3v2/TagParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using namespace tagbytes;

// A frame's status byte (the first flag byte) set.
std::string WithStatus(std::string frame, std::uint8_t status)
{
    frame[8] = static_cast<char>(status);
    return frame;
}

// A wide string as version 2.3 keeps it: FF FE and the units little-endian (no encoding byte).
std::string Wide(std::u16string_view text)
{
    return Utf16LittleEndian(text).substr(1);
}
const std::string kWideEnd = "\0\0"s;

// The frames the writer writes from the frame table, which nothing keeps.
const std::string kWrittenFramesV23 = FrameV23("TIT2", Latin1("Title")) + FrameV23("TRCK", Latin1("3")) +
                                      FrameV23("COMM", "\0eng\0text"s) + FrameV23("COMM", "\x01" "eng" + Wide(u"") + kWideEnd + Wide(u"\u20AC")) +
                                      FrameV23("WXXX", "\0\0http://a"s) + FrameV23("POPM", "\0\x80"s);

struct Result {
    bool ok = false;
    std::string bytes;
    std::vector<std::string> dropped; // "ID: why"
};

Result Convert(const std::string& tag)
{
    OtherFrames frames;
    Result result;
    result.ok = OtherFramesAsV23(AsBytes(tag), frames);
    result.bytes.assign(frames.Bytes.begin(), frames.Bytes.end());
    for (const DroppedFrame& d : frames.Dropped)
        result.dropped.push_back(d.Id + ": " + d.Why);
    return result;
}

struct Conversion {
    const char* name;
    std::uint8_t version;
    std::string frames;
    std::string expected;
    std::vector<std::string> dropped = {};
    std::uint8_t tagFlags = 0;
};

std::string V24OnlyFrames()
{
    std::string frames;
    for (const char* id : {"ASPI", "EQU2", "RVA2", "SEEK", "SIGN", "TDEN", "TDRL", "TDTG", "TMOO", "TPRO", "TSOA", "TSOP", "TSOT", "TSST"})
        frames += FrameV24(id, Latin1("x"));
    return frames;
}

std::vector<std::string> V24OnlyDropped()
{
    std::vector<std::string> dropped;
    for (const char* id : {"ASPI", "EQU2", "RVA2", "SEEK", "SIGN", "TDEN", "TDRL", "TDTG", "TMOO", "TPRO", "TSOA", "TSOP", "TSOT", "TSST"})
        dropped.push_back(std::string(id) + ": no ID3v2.3 form");
    return dropped;
}

const std::string kLong(200, 'L'); // a size that differs between syncsafe and plain
const std::string kPlain = "deflate me, deflate me, deflate me"s;

const std::vector<Conversion>& Conversions()
{
    static const std::vector<Conversion> conversions = {
        // Version 2.2: longer IDs, the same data.
        {"v22 IDs", 2,
         FrameV22("TT2", Latin1("written")) + FrameV22("ULT", "\0eng\0words"s) + FrameV22("TXX", "\0key\0value"s) +
             FrameV22("UFI", "owner\0id"s) + FrameV22("GEO", "\0text/plain\0f.txt\0d\0data"s) + FrameV22("COM", "\0engd\0text"s) +
             FrameV22("WXX", "\0d\0http://x"s) + FrameV22("POP", "a@b\0\x80"s) + FrameV22("CNT", "\0\0\0\x05"s) +
             FrameV22("TT1", Latin1("group")) + FrameV22("TOA", Latin1("oa")) + FrameV22("TOT", Latin1("ot")) +
             FrameV22("TOR", Latin1("1969")) + FrameV22("TDA", Latin1("0605")) + FrameV22("TIM", Latin1("1200")) +
             FrameV22("COM", "\0eng\0the table's"s),
         FrameV23("USLT", "\0eng\0words"s) + FrameV23("TXXX", "\0key\0value"s) + FrameV23("UFID", "owner\0id"s) +
             FrameV23("GEOB", "\0text/plain\0f.txt\0d\0data"s) + FrameV23("COMM", "\0engd\0text"s) +
             FrameV23("WXXX", "\0d\0http://x"s) + FrameV23("POPM", "a@b\0\x80"s) + FrameV23("PCNT", "\0\0\0\x05"s) +
             FrameV23("TIT1", Latin1("group")) + FrameV23("TOPE", Latin1("oa")) + FrameV23("TOAL", Latin1("ot")) +
             FrameV23("TORY", Latin1("1969")) + FrameV23("TDAT", Latin1("0605")) + FrameV23("TIME", Latin1("1200"))},
        {"v22 picture and link", 2,
         FrameV22("PIC", "\0JPG\x03" "cover\0IMG"s) + FrameV22("PIC", "\x01PNG\x04" + Wide(u"c") + kWideEnd + "IMG") +
             FrameV22("PIC", "\0GIF\x00\0IMG"s) + FrameV22("LNK", "TT2http://x\0more"s) + FrameV22("LNK", "ZZZhttp://y\0"s),
         FrameV23("APIC", "\0image/jpeg\0\x03" "cover\0IMG"s) + FrameV23("APIC", "\x01image/png\0\x04"s + Wide(u"c") + kWideEnd + "IMG") +
             FrameV23("APIC", "\0GIF\0\x00\0IMG"s) + FrameV23("LINK", "TIT2http://x\0more"s) + FrameV23("LINK", "ZZZ http://y\0"s)},
        {"v22 frames without a v23 form", 2,
         FrameV22("CRM", "o\0d\0x"s) + FrameV22("XYZ", "x") + FrameV22("TSP", Latin1("sort")) + FrameV22("TXT", Latin1("lyricist")) +
             FrameV22("PIC", "\0JP"s),
         "",
         {"CRM: no ID3v2.3 form", "XYZ: no ID3v2.3 form", "TSP: no ID3v2.3 form", "TXT: its ID3v2.3 ID is one the writer writes",
          "PIC: unreadable"}},

        // Version 2.3: byte for byte.
        {"v23 byte for byte", 3,
         WithStatus(FrameV23("TOPE", Latin1("x")), 0x60) + FrameV23("PRIV", "\x07owner\0d"s, 0x20) +
             FrameV23("TXXX", BigEndian32(static_cast<std::uint32_t>(kPlain.size())) + Deflated(kPlain), 0x80) +
             FrameV23("TXXX", "\x03" "d\0\xC3\xA9"s) + FrameV23("XYZ1", "\xFF\0\xFF"s) + FrameV23("COMM", "\0deud\0x"s),
         WithStatus(FrameV23("TOPE", Latin1("x")), 0x60) + FrameV23("PRIV", "\x07owner\0d"s, 0x20) +
             FrameV23("TXXX", BigEndian32(static_cast<std::uint32_t>(kPlain.size())) + Deflated(kPlain), 0x80) +
             FrameV23("TXXX", "\x03" "d\0\xC3\xA9"s) + FrameV23("XYZ1", "\xFF\0\xFF"s) + FrameV23("COMM", "\0deud\0x"s)},
        {"v23 tag unsynchronised", 3, Unsynchronised(FrameV23("PRIV", "o\0\xFF\xE0\xFF"s)), FrameV23("PRIV", "o\0\xFF\xE0\xFF"s), {}, 0x80},
        {"v23 frames dropped", 3,
         WithStatus(FrameV23("TOPE", Latin1("x")), 0x80) + FrameV23("PRIV", "\x01o\0d"s, 0x40) +
             FrameV23("TXXX", BigEndian32(5) + "junk!", 0x80) + FrameV23("PCNT", "") + FrameV23("TIT1", Latin1("kept")),
         FrameV23("TIT1", Latin1("kept")),
         {"TOPE: to be discarded when the tag is altered", "PRIV: encrypted", "TXXX: unreadable", "PCNT: empty"}},

        // Version 2.4: frames unpacked, flags and sizes as version 2.3 has them.
        {"v24 frames unpacked", 4,
         FrameV24("PRIV", kLong) + WithStatus(FrameV24("UFID", "o\0x"s), 0x30) + FrameV24("PRIV", "\x07o\0x"s, 0x40) +
             FrameV24("PRIV", Syncsafe(4) + "o\0\xFF\x00\xE0"s, 0x03) +
             FrameV24("PRIV", Syncsafe(static_cast<std::uint32_t>(kPlain.size())) + Deflated(kPlain), 0x09) +
             FrameV24("PRIV", "\x07" + Syncsafe(static_cast<std::uint32_t>(kPlain.size())) + Deflated(kPlain), 0x49),
         FrameV23("PRIV", kLong) + WithStatus(FrameV23("UFID", "o\0x"s), 0x60) + FrameV23("PRIV", "\x07o\0x"s, 0x20) +
             FrameV23("PRIV", "o\0\xFF\xE0"s) + FrameV23("PRIV", kPlain) + FrameV23("PRIV", "\x07" + kPlain, 0x20)},
        {"v24 tag unsynchronised", 4, FrameV24("PRIV", Unsynchronised("o\0\xFF\xE0\xFF"s)), FrameV23("PRIV", "o\0\xFF\xE0\xFF"s), {}, 0x80},
        {"v24 frames dropped", 4,
         WithStatus(FrameV24("TOPE", Latin1("x")), 0x40) + FrameV24("PRIV", "\x01o\0d"s, 0x04) + FrameV24("TXXX", "\x03" "d\0\xC3"s) +
             FrameV24("TIT3", "\x04x"s) + FrameV24("COMM", "\x03" "en"s) + FrameV24("PRIV", Syncsafe(0), 0x01) + V24OnlyFrames(),
         "",
         [] {
             std::vector<std::string> dropped = {"TOPE: to be discarded when the tag is altered", "PRIV: encrypted", "TXXX: unreadable",
                                                 "TIT3: unreadable", "COMM: unreadable", "PRIV: empty"};
             const auto v24Only = V24OnlyDropped();
             dropped.insert(dropped.end(), v24Only.begin(), v24Only.end());
             return dropped;
         }()},
        {"v24 text frames", 4,
         FrameV24("TIT3", "\x03\xC3\x9C" "ber \xF0\x9F\x8E\xB5"s) + FrameV24("TPE2", Utf16BigEndian(u"ab", false).replace(0, 1, "\x02")) +
             FrameV24("TPE3", "\0a\0b\0"s) + FrameV24("TPE4", "\x01" + Wide(u"a") + kWideEnd + "\xFE\xFF\0b"s) +
             FrameV24("TXXX", "\x03" "desc\0v1\0v2"s) + FrameV24("GRP1", "\x03g"s) + FrameV24("TCOM", Latin1("the table's")),
         FrameV23("TIT3", "\x01" + Wide(u"\u00DCber \U0001F3B5")) + FrameV23("TPE2", "\x01" + Wide(u"ab")) + FrameV23("TPE3", "\0a/b\0"s) +
             FrameV23("TPE4", "\x01" + Wide(u"a/b")) + FrameV23("TXXX", "\x01" + Wide(u"desc") + kWideEnd + Wide(u"v1/v2")) +
             FrameV23("GRP1", "\x01" + Wide(u"g"))},
        {"v24 frames with text fields", 4,
         FrameV24("WXXX", "\x03" "d\0http://x"s) + FrameV24("COMM", "\x03" "eng" "d\0t"s) + FrameV24("COMM", "\x03" "eng\0t"s) +
             FrameV24("USLT", "\x02" "deu\0\0\0w"s) + FrameV24("APIC", "\x03image/png\0\x03" "c\0\x89PNG"s) +
             FrameV24("GEOB", "\x03" "a/b\0f\0d\0DATA"s) + FrameV24("USER", "\x03" "engterms"s) +
             FrameV24("SYLT", "\x03" "eng\x02\x01" "d\0la\0\0\0\0\x01lb\0\0\0\0\x02"s) +
             FrameV24("OWNE", "\x03" "EUR1\0" "20240101" "s"s) +
             FrameV24("COMR", "\x03" "EUR1\0" "20241231" "http://x\0\x01" "s\0d\0image/png\0LOGO"s) + FrameV24("PRIV", "o\0\x03\xC3"s),
         FrameV23("WXXX", "\x01" + Wide(u"d") + kWideEnd + "http://x") + FrameV23("COMM", "\x01" "eng" + Wide(u"d") + kWideEnd + Wide(u"t")) +
             FrameV23("USLT", "\x01" "deu" + Wide(u"") + kWideEnd + Wide(u"w")) +
             FrameV23("APIC", "\x01image/png\0\x03"s + Wide(u"c") + kWideEnd + "\x89PNG") +
             FrameV23("GEOB", "\x01" "a/b\0"s + Wide(u"f") + kWideEnd + Wide(u"d") + kWideEnd + "DATA") +
             FrameV23("USER", "\x01" "eng" + Wide(u"terms")) +
             FrameV23("SYLT", "\x01" "eng\x02\x01" + Wide(u"d") + kWideEnd + Wide(u"la") + kWideEnd + "\0\0\0\x01"s + Wide(u"lb") +
                                  kWideEnd + "\0\0\0\x02"s) +
             FrameV23("OWNE", "\x01" "EUR1\0" "20240101"s + Wide(u"s")) +
             FrameV23("COMR", "\x01" "EUR1\0" "20241231" "http://x\0\x01"s + Wide(u"s") + kWideEnd + Wide(u"d") + kWideEnd + "image/png\0LOGO"s) +
             FrameV23("PRIV", "o\0\x03\xC3"s)},
        {"v24 recording time", 4,
         FrameV24("PRIV", "a") + FrameV24("TDRC", Latin1("2004-05-06T12:00")) + FrameV24("PRIV", "b") + FrameV24("TDRC", Latin1("1999-01-02")),
         FrameV23("PRIV", "a") + FrameV23("TDAT", Latin1("0605")) + FrameV23("TIME", Latin1("1200")) + FrameV23("PRIV", "b")},
        {"v24 recording time with a TDAT", 4,
         FrameV24("TDRC", "\x03" "2004-05-06 07:08"s) + FrameV24("TDAT", Latin1("0101")) + FrameV24("TDOR", Latin1("2001")),
         FrameV23("TIME", Latin1("0708")) + FrameV23("TDAT", Latin1("0101")) + FrameV23("TORY", Latin1("2001"))},
        {"v24 original time with a TORY, recording time of a year", 4, FrameV24("TDOR", Latin1("1999-03")) + FrameV24("TORY", Latin1("1998")) + FrameV24("TDRC", Latin1("2004")),
         FrameV23("TORY", Latin1("1998"))},
        {"v24 people lists", 4,
         FrameV24("TMCL", "\0guitar\0A\0"s) + FrameV24("PRIV", "p") + FrameV24("TIPL", "\x03producer\0B"s) + FrameV24("TIPL", "\0mix"s),
         FrameV23("IPLS", "\x01" + Wide(u"producer") + kWideEnd + Wide(u"B") + kWideEnd + Wide(u"mix") + kWideEnd + Wide(u"") + kWideEnd +
                              Wide(u"guitar") + kWideEnd + Wide(u"A") + kWideEnd) +
             FrameV23("PRIV", "p")},
        {"v24 people lists with an IPLS", 4, FrameV24("TIPL", "\0producer\0B"s) + FrameV24("IPLS", "\0mix\0C"s),
         FrameV23("IPLS", "\0mix\0C"s), {"TIPL: the tag has an IPLS already"}},
        {"v24 chapters", 4,
         FrameV24("CHAP", "ch1\0"s + std::string(16, '\x01') + FrameV24("TIT2", "\x03Intro"s) + FrameV24("TSOP", Latin1("x"))) +
             FrameV24("CTOC", "toc\0\x03\x01" "ch1\0"s + FrameV24("TIT2", Latin1("Contents"))) + FrameV24("CHAP", "ch2"s),
         FrameV23("CHAP", "ch1\0"s + std::string(16, '\x01') + FrameV23("TIT2", "\x01" + Wide(u"Intro"))) +
             FrameV23("CTOC", "toc\0\x03\x01" "ch1\0"s + FrameV23("TIT2", Latin1("Contents"))),
         {"TSOP: no ID3v2.3 form in CHAP", "CHAP: unreadable"}},
    };
    return conversions;
}

TEST(OtherFrames, EachConversionGivesItsFramesAndDropsWhatHasNoPlace)
{
    for (const Conversion& c : Conversions()) {
        SCOPED_TRACE(c.name);
        const Result result = Convert(Tag(c.version, c.frames, 16, c.tagFlags));
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.bytes, c.expected);
        EXPECT_EQ(result.dropped, c.dropped);
    }
}

// A tag of the table's frames followed by the kept frames (what the writer writes) keeps
// exactly those frames again: a second write with nothing changed changes nothing.
TEST(OtherFrames, OurOwnTagConvertsToItself)
{
    for (const Conversion& c : Conversions()) {
        SCOPED_TRACE(c.name);
        const Result result = Convert(Tag(3, kWrittenFramesV23 + c.expected, 100));
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.bytes, c.expected);
        EXPECT_TRUE(result.dropped.empty());
    }
}

TEST(OtherFrames, TheTablesFramesAreLeftToTheWriter)
{
    EXPECT_EQ(Convert(Tag(3, kWrittenFramesV23)).bytes, "");
    const Result v22 = Convert(Tag(2, FrameV22("TT2", Latin1("t")) + FrameV22("TEX", Latin1("x")) + FrameV22("TRI", Latin1("r")) +
                                          FrameV22("COM", "\0eng\0c"s) + FrameV22("WXX", "\0\0http://a"s) + FrameV22("POP", "\0\x80"s)));
    EXPECT_EQ(v22.bytes, "");
    EXPECT_TRUE(v22.dropped.empty());
    const Result v24 = Convert(Tag(4, FrameV24("TIT2", "\x03t"s) + FrameV24("COMM", "\x03" "eng\0c"s) +
                                          FrameV24("COMM", "\x01" "eng" + Wide(u"") + kWideEnd + Wide(u"c")) + FrameV24("TYER", Latin1("2004")) +
                                          FrameV24("WXXX", "\x02\0"s)));
    EXPECT_EQ(v24.bytes, "");
    EXPECT_TRUE(v24.dropped.empty());
}

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (const char c : bytes)
        out += c >= 0x20 && c < 0x7F ? std::string(1, c) : "\\x" + std::to_string(static_cast<unsigned char>(c));
    return out;
}

// A rewrite keeping the other frames, as the programs make it: the old tag's values (as read) and
// its other frames in, the new tag out.
std::string RewriteKeeping(const std::string& oldTag)
{
    const std::string file = oldTag + AudioBytes(600);
    const ParsedTag read = ParseTag(AsBytes(file), static_cast<std::int64_t>(file.size()));
    OtherFrames other;
    EXPECT_TRUE(OtherFramesAsV23(AsBytes(oldTag), other));
    TagPlan plan;
    plan.Header.SetBytes(AsBytes(oldTag).first(kHeaderSize));
    plan.FileLength = static_cast<std::int64_t>(file.size());
    plan.OtherFrames = other.Bytes;
    std::vector<std::uint8_t> tag;
    EXPECT_TRUE(BuildNewTag(read.Values, plan, tag));
    return std::string(tag.begin(), tag.end());
}

TEST(OtherFrames, AKeptFrameOfATableRowNeverDecidesThatRowOnTheNextRead)
{
    // A link whose last WXXX has no description and no address, beside one that has both; a
    // comment in another language and none of our own.
    const std::string old = Tag(3, FrameV23("WXXX", "\0site\0ftp://\xE9"s) + FrameV23("TCOP", Latin1("c")) +
                                       FrameV23("COMM", "\0deu\0Kommentar"s) + FrameV23("WXXX", "\0\0"s), 64);
    const std::string once = RewriteKeeping(old);
    const std::string file = once + AudioBytes(600);
    const ParsedTag reread = ParseTag(AsBytes(file), static_cast<std::int64_t>(file.size()));
    EXPECT_EQ(reread.Values.Text[RowLink], "");
    EXPECT_EQ(reread.Values.Text[RowComment], "Kommentar"); // read from the old tag, written as ours
    EXPECT_NE(once.find("WXXX\0\0\0\x0D\0\0\0site\0ftp://\xE9"s), std::string::npos) << Printable(once);
    EXPECT_NE(once.find("WXXX\0\0\0\x02\0\0\0\0"s), std::string::npos) << "an empty link stands for none";
    EXPECT_EQ(RewriteKeeping(once), once) << "a second rewrite keeping the frames writes the same tag";
}

TEST(OtherFrames, LargeFramesAreKeptWholeWithinTheBound)
{
    const std::string cover(100 * 1024, '\xAB');
    EXPECT_EQ(Convert(Tag(4, FrameV24("APIC", "\0image/jpeg\0\x03\0"s + cover))).bytes, FrameV23("APIC", "\0image/jpeg\0\x03\0"s + cover));

    // Inflated beyond what a kept tag may hold.
    const std::string huge(static_cast<std::size_t>(kMostKeptTag), '\0');
    const Result bomb = Convert(Tag(4, FrameV24("PRIV", Deflated(huge), 0x08) + FrameV24("TIT1", Latin1("kept"))));
    EXPECT_TRUE(bomb.ok);
    EXPECT_EQ(bomb.bytes, FrameV23("TIT1", Latin1("kept")));
    EXPECT_EQ(bomb.dropped, std::vector<std::string>{"PRIV: too large"});
}

TEST(OtherFrames, NoTagOrTooLargeATagGivesNothing)
{
    for (const std::string& bytes : {"not a tag at all"s, Tag(5, FrameV23("TIT1", Latin1("x"))), Tag(2, FrameV22("TT1", Latin1("x")), 0, 0x40),
                                     Tag(3, FrameV23("TIT1", Latin1("x")), static_cast<std::size_t>(kMostKeptTag))}) {
        OtherFrames frames;
        frames.Bytes = {1};
        EXPECT_FALSE(OtherFramesAsV23(AsBytes(bytes), frames));
        EXPECT_TRUE(frames.Bytes.empty());
    }
}

} // namespace
} // namespace id3v2
