#include "app/SearchCapitals.h"
#include "app/WindowText.h"

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

TEST(WindowText, Cp1252RoundTripAndQuestionMarksForTheRest)
{
    const std::string bytes = "Can\xE7\xE3o \x80 \x9F \x81";
    EXPECT_EQ(FromCp1252(bytes), QStringLiteral("Canção € Ÿ \u0081"));
    EXPECT_EQ(ToCp1252(FromCp1252(bytes)), bytes);
    EXPECT_EQ(ToCp1252(QStringLiteral("ł😀x")), "??x");
}

} // namespace
} // namespace app
