#pragma once
// Text between the terminal and the program: arguments and output are in the locale's
// character set; the program works in UTF-8 (and the catalogue in Windows-1252).
#include <string>
#include <string_view>

namespace batch {

class TerminalText {
public:
    // The character set of the locale in effect (setlocale(LC_ALL, "") first).
    TerminalText();
    // For a given character set ("UTF-8", "ISO-8859-1", ...).
    explicit TerminalText(std::string charset);

    // An argument as UTF-8 ('?' for what cannot be read).
    std::string FromTerminal(std::string_view text) const;
    // UTF-8 text in the terminal's character set ('?' for what it lacks).
    std::string ToTerminal(std::string_view utf8) const;

private:
    std::string Convert(std::string_view text, const std::string& from, const std::string& to) const;

    std::string charset_;
    bool utf8_ = true;
};

// Text shown between quotes: the quote and the backslash escaped, control characters (C1 ones
// included) as \n, \t, \r, \0 or \xNN; other UTF-8 as it is.
std::string Quoted(std::string_view utf8);

// A field of a tab-separated line: backslash, tab, line feed and carriage return escaped.
std::string TabField(std::string_view bytes);

} // namespace batch
