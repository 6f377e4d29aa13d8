#include "app/SearchCapitals.h"

#include "text/Capitals.h"

namespace app {

QString SearchCapitals(const QString& text)
{
    QList<uint> codePoints = text.toUcs4();
    for (uint& codePoint : codePoints)
        codePoint = text::SearchCapital(codePoint);
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
