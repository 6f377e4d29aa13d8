#pragma once
// The look the window was designed with: the classic 3-D style, the system palette, and the
// "MS Sans Serif" family by character height in pixels.
#include <QColor>
#include <QFont>

class QApplication;

namespace app {

// Debian's fonts-wine ships a faithful clone of "MS Sans Serif" (bitmap strikes of 13, 16 and
// 20 pixels per cell).
inline constexpr const char* kWindowFontFile = "/usr/share/wine/fonts/ms_sans_serif.ttf";

// Sets the application's title, style and palette, and loads the window font when it is
// installed. Call once, after the application object exists.
void ApplyWindowLook(QApplication& application);

// "MS Sans Serif" whose characters are characterHeight pixels high (a cell two pixels taller),
// or a plain sans-serif family of that pixel size when the font is not installed.
QFont WindowFont(int characterHeight, bool bold = false);

// The colour of the data text in the list: navy.
inline QColor DataTextColour()
{
    return QColor(0, 0, 128);
}

} // namespace app
