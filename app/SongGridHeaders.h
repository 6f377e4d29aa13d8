#pragma once
// The list's title row and indicator column, drawn in button face with a raised bevel.
#include <QHeaderView>

namespace app {

class SongGrid;

// The title row: each column's title centred in the list's font, in black.
class GridTitleHeader final : public QHeaderView {
public:
    explicit GridTitleHeader(QWidget* parent);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent* event) override;
};

// The indicator column: marks the current row and the selected rows.
class GridIndicatorHeader final : public QHeaderView {
public:
    explicit GridIndicatorHeader(SongGrid& grid);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    SongGrid& grid_;
};

} // namespace app
