#include "app/SongGridHeaders.h"

#include "app/GridLook.h"
#include "app/SongGrid.h"
#include "app/WindowLook.h"

#include <QPainter>
#include <QEvent>
#include <QPaintEvent>

namespace app {

GridHeader::GridHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
    setSectionsMovable(false);
    setHighlightSections(false);
}

void GridHeader::paintEvent(QPaintEvent* event)
{
    {
        // Whatever lies beyond the last section is the list's background, not another title.
        QPainter painter(viewport());
        painter.fillRect(event->rect(), palette().color(QPalette::Button));
    }
    QHeaderView::paintEvent(event);
}

GridTitleHeader::GridTitleHeader(QWidget* parent)
    : GridHeader(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(8);
    line_ = WindowTextLine(font());
}

void GridTitleHeader::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        line_ = WindowTextLine(font());
    GridHeader::changeEvent(event);
}

void GridTitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    DrawFixedCell(*painter, rect, palette());
    painter->setFont(font());
    painter->setPen(Qt::black);
    const QString title = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
    painter->setClipRect(rect.adjusted(3, 3, -3, -3));
    DrawWindowText(*painter, rect, Qt::AlignCenter | Qt::TextSingleLine, title, line_);
    painter->restore();
}

GridIndicatorHeader::GridIndicatorHeader(SongGrid& grid)
    : GridHeader(Qt::Vertical, &grid)
    , grid_(grid)
{
    setSectionsClickable(false);
    setSectionResizeMode(QHeaderView::Fixed);
}

void GridIndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    DrawFixedCell(*painter, rect, palette());
    const bool current = logicalIndex == grid_.CurrentRow();
    const bool selected = grid_.SelectedRows().IsSelected(static_cast<RowSelection::RowId>(logicalIndex));
    const IndicatorMark mark = current && selected ? IndicatorMark::CurrentSelected
                               : current           ? IndicatorMark::Current
                               : selected          ? IndicatorMark::Selected
                                                   : IndicatorMark::None;
    DrawIndicatorMark(*painter, rect, mark);
    painter->restore();
}

} // namespace app
