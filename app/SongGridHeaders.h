#pragma once
// The list's title row and indicator column, drawn in button face with a raised bevel.
#include "app/WindowLook.h"

#include <QHeaderView>

namespace app {

class SongGrid;

// What both have: fixed sections in button face, and the list's background beyond the last one.
class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The title row: each column's title centred in the list's font, in black.
class GridTitleHeader final : public GridHeader {
public:
    explicit GridTitleHeader(QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    TextLine line_; // of its font, measured when the font changes
};

// The indicator column: marks the current row and the selected rows.
class GridIndicatorHeader final : public GridHeader {
public:
    explicit GridIndicatorHeader(SongGrid& grid);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    SongGrid& grid_;
};

} // namespace app
