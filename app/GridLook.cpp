#include "app/GridLook.h"

#include "app/WindowLook.h"

#include <QPainter>
#include <QPolygon>

namespace app {

void GridCanvas::DefaultDrawColumnCell(const QRect& rect, const QString& text)
{
    painter.save();
    painter.fillRect(rect, brushColour);
    painter.setClipRect(rect);
    painter.setPen(fontColour);
    const QRect textArea = rect.adjusted(2, 2, 0, 0);
    DrawWindowText(painter, textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text, line);
    painter.restore();
}

void DrawRaisedCellEdges(QPainter& painter, const QRect& cell, const QPalette& palette)
{
    painter.save();
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(cell.left(), cell.bottom(), cell.left(), cell.top());
    painter.drawLine(cell.left(), cell.top(), cell.right(), cell.top());
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    painter.drawLine(cell.right(), cell.bottom(), cell.right(), cell.top() + 1);
    painter.restore();
}

void DrawRaisedBevel(QPainter& painter, const QRect& rect, const QPalette& palette, int width)
{
    painter.save();
    for (int i = 0; i < width && rect.width() > 2 * i && rect.height() > 2 * i; ++i) {
        const QRect r = rect.adjusted(i, i, -i, -i);
        painter.setPen(palette.color(QPalette::Light));
        painter.drawLine(r.left(), r.top(), r.right(), r.top());
        painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
        painter.setPen(palette.color(QPalette::Dark));
        painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    }
    painter.restore();
}

void DrawFixedCell(QPainter& painter, const QRect& rect, const QPalette& palette)
{
    painter.fillRect(rect, palette.color(QPalette::Button));
    DrawRaisedBevel(painter, rect, palette);
}

void DrawIndicatorMark(QPainter& painter, const QRect& rect, IndicatorMark mark)
{
    if (mark == IndicatorMark::None)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPoint centre = rect.center();
    if (mark == IndicatorMark::Current || mark == IndicatorMark::CurrentSelected) {
        // A small arrow pointing at the row.
        const QPolygon arrow({QPoint(centre.x() - 2, centre.y() - 4), QPoint(centre.x() + 2, centre.y()),
                              QPoint(centre.x() - 2, centre.y() + 4)});
        painter.drawPolygon(arrow);
    }
    if (mark == IndicatorMark::Selected || mark == IndicatorMark::CurrentSelected) {
        const int x = mark == IndicatorMark::Selected ? centre.x() - 1 : centre.x() + 2;
        painter.drawRect(QRect(x, centre.y() - 1, 3, 3));
    }
    painter.restore();
}

} // namespace app
