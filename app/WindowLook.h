#pragma once
// The look the window was designed with: the classic 3-D style, the system palette, and the
// "MS Sans Serif" family by character height in pixels.
#include <QColor>
#include <QFont>

class QApplication;
class QPainter;
class QRect;
class QString;

namespace app {

// Debian's fonts-wine ships a faithful clone of "MS Sans Serif" (bitmap strikes of 13, 16 and
// 20 pixels per cell), and of Tahoma, the scalable face of the same look that the platform the
// window was designed for puts in its place on high-density screens.
// Its Tahoma Bold draws strokes no heavier than the regular face's, so bold text in Tahoma is
// overstruck as in "MS Sans Serif" (or emboldened by the widgets that draw it themselves).
inline constexpr const char* kWindowFontFile = "/usr/share/wine/fonts/ms_sans_serif.ttf";
inline constexpr const char* kHighDensityFontFile = "/usr/share/wine/fonts/tahoma.ttf";

// Sets the application's title, style and palette, and loads the window font when it is
// installed. Call once, after the application object exists.
void ApplyWindowLook(QApplication& application);

// "MS Sans Serif" whose characters are characterHeight pixels high (a cell two pixels taller),
// or a plain sans-serif family of that pixel size when the font is not installed.
//
// On a high-density screen (a device pixel ratio other than 1: a desktop scaled to 125%, 150%,
// 200%) Tahoma of the same character height, whose accented capitals reach as high as the
// strike's: text of the window's widgets is drawn through the screen's scaling, which enlarges
// outlines but leaves a bitmap strike at its own pixel size, spread over scaled advances.
// Without Tahoma, the plain sans-serif family.
QFont WindowFont(int characterHeight, bool bold = false);

// A line of the window's text: from its baseline up to the top of an accented capital, and down
// by the face's descent. The bitmap strikes' own ascent holds their accents; Tahoma's
// stops at its capitals, leaving "Ã" and "É" above the line a label or a row would clip them at.
struct TextLine {
    int ascent = 0;
    int descent = 0;
    // The drawn face's own ascent and height, by which a painter places its text.
    int faceAscent = 0;
    int faceHeight = 0;
    int Height() const { return ascent + descent; }
};
// Measured once per font (it asks the font for its glyphs' extents), by whoever keeps the font.
TextLine WindowTextLine(const QFont& font);

// Writes text in the painter's font as the window does, its line (WindowTextLine of that font)
// placed where the window's line goes. The bitmap "MS Sans Serif" has no bold strike, so bold text
// in it is overstruck one pixel to the right, each character one pixel wider, as the platform
// it was designed for emboldens its bitmap fonts; so is Tahoma in its place, one pixel of the
// window's own (the screen's scaling makes it wider on a high-density screen).
void DrawWindowText(QPainter& painter, const QRect& rect, int flags, const QString& text, const TextLine& line);
bool IsOverstruck(const QFont& font);

// The colour of the data text in the list: navy.
inline QColor DataTextColour()
{
    return QColor(0, 0, 128);
}

} // namespace app
