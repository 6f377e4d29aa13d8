#include "app/WindowLook.h"

#include "app/WindowText.h"
#include "io/FileSystem.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFontDatabase>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>

namespace app {
namespace {

const QString kWindowFontFamily = QStringLiteral("MS Sans Serif");
const QString kHighDensityFontFamily = QStringLiteral("Tahoma");

bool Installed(const QString& family)
{
    return QFontDatabase::families().contains(family);
}

// The screens are scaled: the application's device pixel ratio (its largest screen's) is not 1.
bool HighDensity()
{
    return qGuiApp != nullptr && qGuiApp->devicePixelRatio() != 1.0;
}

QFont PlainSansSerif(int characterHeight)
{
    QFont font;
    font.setFamilies({QStringLiteral("Sans Serif"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(characterHeight);
    return font;
}

// The face text is drawn in: an overstruck Tahoma in its regular face (drawn bold, its strokes
// would be emboldened on top of the overstrike), each character one pixel wider.
QFont DrawnFace(const QFont& font)
{
    QFont drawn = font;
    if (!IsOverstruck(font))
        return drawn;
    drawn.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    if (font.family() == kHighDensityFontFamily)
        drawn.setBold(false);
    return drawn;
}

} // namespace

void ApplyWindowLook(QApplication& application)
{
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationDisplayName(ApplicationTitle());
    // The platform's palette (button face, highlight, button highlight and shadow) stays; the
    // classic style draws the raised buttons, etched group boxes and sunken boxes of the design.
    const QPalette systemPalette = QApplication::palette();
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);
    QApplication::setPalette(systemPalette);
    if (!Installed(kWindowFontFamily) && io::Exists(kWindowFontFile))
        QFontDatabase::addApplicationFont(QString::fromUtf8(kWindowFontFile));
    if (HighDensity() && !Installed(kHighDensityFontFamily) && io::Exists(kHighDensityFontFile))
        QFontDatabase::addApplicationFont(QString::fromUtf8(kHighDensityFontFile));
    application.setFont(WindowFont(11));
}

QFont WindowFont(int characterHeight, bool bold)
{
    QFont font = PlainSansSerif(characterHeight);
    if (HighDensity()) {
        if (Installed(kHighDensityFontFamily))
            font.setFamilies({kHighDensityFontFamily});
    } else if (Installed(kWindowFontFamily)) {
        font.setFamilies({kWindowFontFamily});
        // The bitmap strikes are chosen by their cell height.
        font.setPixelSize(characterHeight + 2);
    }
    font.setBold(bold);
    return font;
}

TextLine WindowTextLine(const QFont& font)
{
    const QFontMetrics metrics(DrawnFace(font));
    return {std::max(metrics.ascent(), -metrics.boundingRect(QStringLiteral("ÂÃÉÍÓÚ")).top()), metrics.descent(),
            metrics.ascent(), metrics.height()};
}

bool IsOverstruck(const QFont& font)
{
    return font.bold() && (font.family() == kWindowFontFamily || font.family() == kHighDensityFontFamily);
}

void DrawWindowText(QPainter& painter, const QRect& at, int flags, const QString& text, const TextLine& line)
{
    const QFont font = painter.font();
    // The painter places the face's own line; moved down to where the window's line puts it.
    const int lineTop = (flags & Qt::AlignVCenter) ? (at.height() - line.Height()) / 2 : 0;
    const int faceTop = (flags & Qt::AlignVCenter) ? (at.height() - line.faceHeight) / 2 : 0;
    const QRect rect = at.translated(0, lineTop + line.ascent - (faceTop + line.faceAscent));
    painter.save();
    painter.setFont(DrawnFace(font));
    painter.drawText(rect, flags, text);
    if (IsOverstruck(font))
        painter.drawText(rect.translated(1, 0), flags, text);
    painter.restore();
}

} // namespace app
