#include "app/SongGridHeaders.h"

#include "app/GridLook.h"
#include "app/SongGrid.h"
#include "app/WindowLook.h"

#include <QPainter>
#include <QPaintEvent>

namespace app {
namespace {

// Whatever lies beyond the last section is the list's background, not another title.
void FillBackground(QHeaderView& header, QPaintEvent* event)
{
    QPainter painter(header.viewport());
    painter.fillRect(event->rect(), header.palette().color(QPalette::Button));
}

} // namespace

GridTitleHeader::GridTitleHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(8);
}

void GridTitleHeader::paintEvent(QPaintEvent* event)
{
    FillBackground(*this, event);
    QHeaderView::paintEvent(event);
}

void GridTitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().color(QPalette::Button));
    DrawRaisedBevel(*painter, rect, palette());
    painter->setFont(font());
    painter->setPen(Qt::black);
    const QString title = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
    painter->setClipRect(rect.adjusted(3, 3, -3, -3));
    DrawWindowText(*painter, rect, Qt::AlignCenter | Qt::TextSingleLine, title);
    painter->restore();
}

GridIndicatorHeader::GridIndicatorHeader(SongGrid& grid)
    : QHeaderView(Qt::Vertical, &grid)
    , grid_(grid)
{
    setSectionsClickable(false);
    setSectionsMovable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
}

void GridIndicatorHeader::paintEvent(QPaintEvent* event)
{
    FillBackground(*this, event);
    QHeaderView::paintEvent(event);
}

void GridIndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().color(QPalette::Button));
    DrawRaisedBevel(*painter, rect, palette());
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
