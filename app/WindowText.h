#pragma once
// Texts between the system's Windows-1252 bytes and what the window shows.
#include <QString>

#include <string>
#include <string_view>

namespace app {

// "Fonarel 2010": the application's title, the window's caption and the caption of its boxes.
QString ApplicationTitle();

// Catalogue and message bytes as the window shows them.
QString FromCp1252(std::string_view bytes);

// What the window holds, as Windows-1252 bytes; a character the code page lacks becomes "?".
std::string ToCp1252(const QString& text);

} // namespace app
