#include "app/SearchCapitals.h"
#include "app/WindowText.h"
#include "text/Capitals.h"
#include "text/Cp1252.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(SearchCapitals, LettersWhoseCapitalTheCodePageHasBecomeCapitals)
{
    EXPECT_EQ(SearchCapitals(QStringLiteral("ação é ñ ÿ ø œ š ž")), QStringLiteral("AÇÃO É Ñ Ÿ Ø Œ Š Ž"));
    EXPECT_EQ(SearchCapitals(QStringLiteral("abc 123 %_'")), QStringLiteral("ABC 123 %_'"));
}

TEST(SearchCapitals, LettersWithoutSuchACapitalStay)
{
    // ß has no one-character capital; µ's is Greek; ł's is outside the code page.
    EXPECT_EQ(SearchCapitals(QStringLiteral("ßµł")), QStringLiteral("ßµł"));
    EXPECT_EQ(SearchCapitals(QStringLiteral("ǆ")), QStringLiteral("ǆ"));
}

TEST(SearchCapitals, TheValidatorCapitalisesWhatItIsGiven)
{
    CapitalsValidator validator;
    QString input = QStringLiteral("maçã");
    int position = 4;
    EXPECT_EQ(validator.validate(input, position), QValidator::Acceptable);
    EXPECT_EQ(input, QStringLiteral("MAÇÃ"));
    EXPECT_EQ(position, 4);
}

TEST(SearchCapitals, TheCommandLinesRuleGivesTheBytesTheBoxGivesForEveryCharacter)
{
    // The command line's search argument must list exactly the songs the box would list.
    int differences = 0;
    for (char32_t c = 1; c <= 0x10FFFF && differences < 5; ++c) {
        // Surrogates are no characters; QString::fromUcs4 reads a lone U+FEFF as a byte order mark.
        if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFEFF)
            continue;
        std::string utf8;
        text::AppendUtf8(utf8, c);
        const std::string box = ToCp1252(SearchCapitals(QString::fromUcs4(&c, 1)));
        const std::string command = text::Cp1252Capitals(utf8);
        if (box != command) {
            ++differences;
            ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(c) << ": box " << int(box[0] & 0xFF)
                          << ", command line " << int(command[0] & 0xFF);
        }
    }
}

TEST(WindowText, Cp1252RoundTripAndQuestionMarksForTheRest)
{
    const std::string bytes = "Can\xE7\xE3o \x80 \x9F \x81";
    EXPECT_EQ(FromCp1252(bytes), QStringLiteral("Canção € Ÿ \u0081"));
    EXPECT_EQ(ToCp1252(FromCp1252(bytes)), bytes);
    EXPECT_EQ(ToCp1252(QStringLiteral("ł😀x")), "??x");
}

} // namespace
} // namespace app
