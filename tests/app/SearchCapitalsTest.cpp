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

// Unicode's capital of a character, where the code page has it: what the rule must give.
char32_t UnicodeCapitalInCodePage(char32_t c)
{
    const char32_t upper = QChar::toUpper(c);
    return upper != c && (upper == U'?' || text::Cp1252FromCodePoint(upper) != '?') ? upper : c;
}

TEST(SearchCapitals, TheRuleGivesUnicodesCapitalsWhereTheCodePageHasThemForEveryCharacter)
{
    // The box and the command line's search argument both go by this rule, so they list the same
    // songs; its table must agree with Unicode's upper-casing.
    int differences = 0;
    for (char32_t c = 1; c <= 0x10FFFF && differences < 5; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        if (text::SearchCapital(c) != UnicodeCapitalInCodePage(c)) {
            ++differences;
            ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(c) << ": rule "
                          << static_cast<std::uint32_t>(text::SearchCapital(c)) << ", Unicode "
                          << static_cast<std::uint32_t>(UnicodeCapitalInCodePage(c));
        }
    }
    // The command line's bytes for a search text are the box's.
    std::string utf8;
    for (char32_t c : {U'a', U'\u00E7', U'\u00FF', U'\u0131', U'\u00DF', U'\u0142', U'%'})
        text::AppendUtf8(utf8, c);
    EXPECT_EQ(text::Cp1252Capitals(utf8), ToCp1252(SearchCapitals(QString::fromStdString(utf8))));
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
