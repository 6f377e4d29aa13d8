#include "app/SearchCapitals.h"

#include "text/Cp1252.h"

namespace app {
namespace {

bool InCodePage(char32_t codePoint)
{
    return codePoint == U'?' || text::Cp1252FromCodePoint(codePoint) != '?';
}

char32_t Capital(char32_t letter)
{
    const char32_t upper = QChar::toUpper(letter);
    return upper != letter && InCodePage(upper) ? upper : letter;
}

} // namespace

QString SearchCapitals(const QString& text)
{
    QList<uint> codePoints = text.toUcs4();
    for (uint& codePoint : codePoints)
        codePoint = Capital(codePoint);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), codePoints.size());
}

QValidator::State CapitalsValidator::validate(QString& input, int&) const
{
    // Upper-casing a letter never changes the text's length in code units here: a capital
    // outside the code page is refused, and every capital inside it is in the BMP.
    input = SearchCapitals(input);
    return Acceptable;
}

} // namespace app
