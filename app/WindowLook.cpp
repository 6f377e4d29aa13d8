#include "app/WindowLook.h"

#include "app/WindowText.h"
#include "io/FileSystem.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

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
        // Tahoma of the strike's cell height has the strike's line height and letter height.
        if (Installed(kHighDensityFontFamily)) {
            font.setFamilies({kHighDensityFontFamily});
            font.setPixelSize(characterHeight + 2);
        }
    } else if (Installed(kWindowFontFamily)) {
        font.setFamilies({kWindowFontFamily});
        // The bitmap strikes are chosen by their cell height.
        font.setPixelSize(characterHeight + 2);
    }
    font.setBold(bold);
    return font;
}

} // namespace app

namespace app {

bool IsOverstruck(const QFont& font)
{
    return font.bold() && (font.family() == kWindowFontFamily || font.family() == kHighDensityFontFamily);
}

void DrawWindowText(QPainter& painter, const QRect& rect, int flags, const QString& text)
{
    const QFont font = painter.font();
    if (!IsOverstruck(font)) {
        painter.drawText(rect, flags, text);
        return;
    }
    QFont wider = font;
    wider.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    // Tahoma is scalable: drawn bold, its strokes would be emboldened on top of the overstrike.
    if (font.family() == kHighDensityFontFamily)
        wider.setBold(false);
    painter.save();
    painter.setFont(wider);
    painter.drawText(rect, flags, text);
    painter.drawText(rect.translated(1, 0), flags, text);
    painter.restore();
}

} // namespace app
