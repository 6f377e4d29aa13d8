// Text of stored frames: encodings, byte-order marks, and the values derived from texts
// (track number, year, genre, text after a description).
#include "id3v2/FrameValues.h"
#include "id3v2/TextDecoding.h"

#include "TagBytes.h"

#include <gtest/gtest.h>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using tagbytes::Latin1;
using tagbytes::Utf16BigEndian;
using tagbytes::Utf16LittleEndian;

// A stored frame: the data followed by zero bytes up to 500.
std::string Stored(std::string data)
{
    data.resize(500, '\0');
    return data;
}

TEST(DecodeText, SingleByteTextIsTrimmedButNotConverted)
{
    EXPECT_EQ(DecodeText(Stored(Latin1("Abc"))), "Abc");
    EXPECT_EQ(DecodeText(Stored(Latin1("  A\0b\t"s))), "A\0b"s); // inner zero bytes stay
    EXPECT_EQ(DecodeText(Stored(Latin1("Caf\xE9 \xA0"))), "Caf\xE9 \xA0");
    EXPECT_EQ(DecodeText(""), "");
}

TEST(DecodeText, Utf16HonoursItsByteOrderMark)
{
    EXPECT_EQ(DecodeText(Stored("\x01\xFF\xFE\x41\x00\x62\x00"s)), "Ab");
    EXPECT_EQ(DecodeText(Stored(Utf16BigEndian(u"Ab"))), "Ab");
    EXPECT_EQ(DecodeText(Stored(Utf16LittleEndian(u"Ab", false))), "Ab"); // no mark: little-endian
}

TEST(DecodeText, Utf16KeepsCharactersWhoseLowByteIsFF)
{
    EXPECT_EQ(DecodeText(Stored(Utf16LittleEndian(u"\u00FFx"))), "\xFFx");
    EXPECT_EQ(DecodeText(Stored(Utf16BigEndian(u"x\u00FF"))), "x\xFF");
    // Only a leading mark is dropped; one inside the text is a character the code page lacks.
    EXPECT_EQ(DecodeText(Stored(Utf16LittleEndian(u"a\uFEFFb"))), "a?b");
}

TEST(DecodeText, Utf16MapsToWindows1252WithAQuestionMarkForTheRest)
{
    EXPECT_EQ(DecodeText(Stored(Utf16LittleEndian(u"\u20AC\u00E7\u0100\u4E2D"))), "\x80\xE7??");
    // Text ends at the first zero unit.
    EXPECT_EQ(DecodeText(Stored(Utf16LittleEndian(u"ab") + "\0\0cd"s)), "ab");
    // At most 249 units fit into a stored frame.
    EXPECT_EQ(DecodeText(Stored(Utf16LittleEndian(std::u16string(300, u'x')))).size(), 248u);
}

TEST(DecodeText, Utf16BigEndianAndUtf8Encodings)
{
    EXPECT_EQ(DecodeText(Stored("\x02\x00\x41\x00\xE9"s)), "A\xE9");
    EXPECT_EQ(DecodeText(Stored("\x03" "A\xC3\xA7\xE2\x82\xAC\xE4\xB8\xAD"s)), "A\xE7\x80?");
    EXPECT_EQ(DecodeText(Stored("\x03\xEF\xBB\xBF" "Ab"s)), "Ab");
}

TEST(TrackNumber, TakesTheNumberBeforeTheSlash)
{
    EXPECT_EQ(TrackNumber(Stored(Latin1("3/12"))), 3);
    EXPECT_EQ(TrackNumber(Stored(Latin1("07"))), 7);
    EXPECT_EQ(TrackNumber(Stored(Latin1("0x10"))), 16);
    EXPECT_EQ(TrackNumber(Stored(Latin1("3 /12"))), 0);
    EXPECT_EQ(TrackNumber(Stored(Latin1("two"))), 0);
    EXPECT_EQ(TrackNumber(""), 0);
}

TEST(TrackNumber, NumbersOutsideSixteenBitsAreNoTrack)
{
    EXPECT_EQ(TrackNumber(Stored(Latin1("65535"))), 65535);
    EXPECT_EQ(TrackNumber(Stored(Latin1("65536"))), 0);
    EXPECT_EQ(TrackNumber(Stored(Latin1("70000"))), 0);
    EXPECT_EQ(TrackNumber(Stored(Latin1("-1"))), 0);
}

TEST(YearOrDate, FallsBackToTheFirstFourBytesOfTheDate)
{
    EXPECT_EQ(YearOrDate(Stored(Latin1("2001")), Stored(Latin1("1998-05-01"))), "2001");
    EXPECT_EQ(YearOrDate("", Stored(Latin1("1998-05-01"))), "1998");
    EXPECT_EQ(YearOrDate(Stored(Latin1(" ")), Stored(Latin1("98"))), "98");
}

TEST(GenreName, RemovesLeadingReferencesAndKeepsTheText)
{
    EXPECT_EQ(GenreName(Stored(Latin1("(17)Rock"))), "Rock");
    EXPECT_EQ(GenreName(Stored(Latin1("(17) Rock"))), " Rock");
    EXPECT_EQ(GenreName(Stored(Latin1("(17)(RX)Remixed Rock"))), "Remixed Rock");
    EXPECT_EQ(GenreName(Stored(Latin1("Rock (live)"))), "Rock (live)");
    EXPECT_EQ(GenreName(Stored(Latin1("Pop"))), "Pop");
    EXPECT_EQ(GenreName(Stored(Latin1("(abc)x"))), "(abc)x"); // no reference
}

TEST(GenreName, DoubleParenthesisStandsForALiteralOne)
{
    EXPECT_EQ(GenreName(Stored(Latin1("((Rock))"))), "(Rock))");
    EXPECT_EQ(GenreName(Stored(Latin1("(17)((live)"))), "(live)");
}

TEST(GenreName, AReferenceAloneNamesTheGenre)
{
    EXPECT_EQ(GenreName(Stored(Latin1("(17)"))), "Rock");
    EXPECT_EQ(GenreName(Stored(Latin1("(0)"))), "Blues");
    EXPECT_EQ(GenreName(Stored(Latin1("(147)"))), "Synthpop");
    EXPECT_EQ(GenreName(Stored(Latin1("(92)"))), "Progessive Rock");
    EXPECT_EQ(GenreName(Stored(Latin1("(148)"))), "");
    EXPECT_EQ(GenreName(Stored(Latin1("(RX)"))), "Remix");
    EXPECT_EQ(GenreName(Stored(Latin1("(CR)"))), "Cover");
    EXPECT_EQ(GenreName(Stored(Latin1("(4)(17)"))), "Rock"); // the last reference names it
    EXPECT_EQ(GenreName(Stored(Utf16LittleEndian(u"(17)"))), "Rock");
}

TEST(TextAfterDescription, CommentSkipsLanguageAndDescription)
{
    EXPECT_EQ(TextAfterDescription(Stored("\0eng\0Hi"s), true), "Hi");
    EXPECT_EQ(TextAfterDescription(Stored("\0engdesc\0Hi"s), true), "Hi");
    EXPECT_EQ(TextAfterDescription("\0engno terminator"s, true), "no terminator");
    EXPECT_EQ(TextAfterDescription("", true), "");
    EXPECT_EQ(TextAfterDescription("\0e"s, true), "");
}

TEST(TextAfterDescription, Utf16CommentEndsItsDescriptionWithAZeroUnit)
{
    const std::string le = "\x01" "eng" "\xFF\xFE" "d\0" "\0\0" "\xFF\xFE" "H\0i\0"s;
    EXPECT_EQ(TextAfterDescription(Stored(le), true), "Hi");
    // The zero unit is looked for at even offsets only: the zero bytes that straddle the units
    // U+0100 and U+0041 of the description are no terminator.
    const std::string be = "\x02" "eng" "\x01\x00\x00\x41" "\x00\x00" "\x00H\x00i"s;
    EXPECT_EQ(TextAfterDescription(Stored(be), true), "Hi");
}

TEST(TextAfterDescription, LinkAddressIsSingleByteTextWhateverTheEncoding)
{
    EXPECT_EQ(TextAfterDescription(Stored("\0\0http://a.b/c"s), false), "http://a.b/c");
    const std::string utf16Description = "\x01" "\xFF\xFE" "s\0i\0t\0e\0" "\0\0" "http://a.b/c"s;
    EXPECT_EQ(TextAfterDescription(Stored(utf16Description), false), "http://a.b/c");
    EXPECT_EQ(TextAfterDescription(Stored("\x03site\0http://a.b/\xE9"s), false), "http://a.b/\xE9");
}

} // namespace
} // namespace id3v2
