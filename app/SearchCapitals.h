#pragma once
// The search box holds capitals only: every letter typed or pasted is turned into upper case,
// accented ones included, as long as its capital is one character of the catalogue's code page.
#include <QString>
#include <QValidator>

namespace app {

// The text with each letter replaced by its capital where that capital is a single character
// that Windows-1252 has ("ç" gives "Ç", "ÿ" gives "Ÿ"); other letters stay ("ß", "µ").
QString SearchCapitals(const QString& text);

// The validator that gives a text box that behaviour for typing, deleting and pasting.
class CapitalsValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace app
