#include "app/WindowText.h"

#include "text/Cp1252.h"

#include <QList>

namespace app {

QString ApplicationTitle()
{
    return QStringLiteral("Fonarel 2010");
}

QString FromCp1252(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char byte : bytes)
        text.append(QChar(static_cast<char16_t>(text::CodePointFromCp1252(static_cast<unsigned char>(byte)))));
    return text;
}

std::string ToCp1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t codePoint : text.toUcs4())
        bytes.push_back(text::Cp1252FromCodePoint(codePoint));
    return bytes;
}

} // namespace app
