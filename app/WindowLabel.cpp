#include "app/WindowLabel.h"

#include "app/WindowLook.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace app {

WindowLabel::WindowLabel(QWidget* parent, const QString& text)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // It paints its own background, so a new counter repaints the counter alone, not the panel.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setText(text);
}

void WindowLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        rawFont_ = QRawFont();
        PlaceGlyphs();
        update();
    }
}

void WindowLabel::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    PlaceGlyphs();
    update();
}

void WindowLabel::PlaceGlyphs()
{
    if (!rawFont_.isValid()) {
        rawFont_ = QRawFont::fromFont(font());
        overstrike_ = IsOverstruck(font());
        line_ = WindowTextLine(font());
    }
    const QList<quint32> indexes = rawFont_.glyphIndexesForString(text_);
    const QList<QPointF> advances = rawFont_.advancesForGlyphIndexes(indexes);
    QList<QPointF> positions;
    positions.reserve(indexes.size());
    qreal x = 0;
    for (const QPointF& advance : advances) {
        positions.append(QPointF(x, 0));
        x += advance.x() + (overstrike_ ? 1 : 0);
    }
    glyphs_.setRawFont(rawFont_);
    glyphs_.setGlyphIndexes(indexes);
    glyphs_.setPositions(positions);
    const int width = static_cast<int>(std::ceil(x)) + (overstrike_ ? 1 : 0);
    if (width != this->width())
        resize(width, height());
}

void WindowLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (text_.isEmpty())
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    const qreal baseline = (height() - line_.Height()) / 2 + line_.ascent;
    painter.drawGlyphRun(QPointF(0, baseline), glyphs_);
    if (overstrike_)
        painter.drawGlyphRun(QPointF(1, baseline), glyphs_);
}

} // namespace app
