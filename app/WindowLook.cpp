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

bool WindowFontInstalled()
{
    return QFontDatabase::families().contains(kWindowFontFamily);
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
    if (!WindowFontInstalled() && io::Exists(kWindowFontFile))
        QFontDatabase::addApplicationFont(QString::fromUtf8(kWindowFontFile));
    application.setFont(WindowFont(11));
}

QFont WindowFont(int characterHeight, bool bold)
{
    QFont font;
    if (WindowFontInstalled()) {
        font.setFamily(kWindowFontFamily);
        // The bitmap strikes are chosen by their cell height.
        font.setPixelSize(characterHeight + 2);
    } else {
        font.setFamilies({QStringLiteral("Sans Serif"), QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(characterHeight);
    }
    font.setBold(bold);
    return font;
}

} // namespace app

namespace app {

bool IsOverstruck(const QFont& font)
{
    return font.bold() && font.family() == kWindowFontFamily;
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
    painter.save();
    painter.setFont(wider);
    painter.drawText(rect, flags, text);
    painter.drawText(rect.translated(1, 0), flags, text);
    painter.restore();
}

} // namespace app
