#pragma once
// How the song list is drawn: raised 3-D data cells, bevelled title and indicator cells, and
// the canvas through which a data cell's text is drawn.
#include "app/WindowLook.h"

#include <QColor>
#include <QFlags>
#include <QPalette>
#include <QRect>
#include <QString>

class QPainter;

namespace app {

// The state of a cell as the list paints it.
enum class CellStateFlag { Selected = 1, Focused = 2 };
Q_DECLARE_FLAGS(CellState, CellStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(CellState)

// What a data cell is drawn with: the list chooses the brush colour for the cell's state (the
// highlight colour for highlighted rows, button face for the others) and a font colour; a
// draw handler may change either before the default drawing.
struct GridCanvas {
    QPainter& painter;
    QColor brushColour;
    QColor fontColour;
    TextLine line; // of the painter's font

    // Fills the cell in the brush colour and writes the text in the font colour, left-aligned,
    // 2 pixels in from the cell's left and top edges, clipped to the cell.
    void DefaultDrawColumnCell(const QRect& rect, const QString& text);
};

// The raised edge of a data cell: a one-pixel line in the button-highlight colour up the left
// edge and along the top, one in the button-shadow colour along the bottom and up the right
// edge, stopping one pixel below the top.
void DrawRaisedCellEdges(QPainter& painter, const QRect& cell, const QPalette& palette);

// A raised bevel of the given width: button highlight on the top and left, button shadow on the
// bottom and right.
void DrawRaisedBevel(QPainter& painter, const QRect& rect, const QPalette& palette, int width = 3);

// A title, indicator or corner cell: button face inside a raised bevel.
void DrawFixedCell(QPainter& painter, const QRect& rect, const QPalette& palette);

// The indicator column's mark for a row.
enum class IndicatorMark { None, Current, Selected, CurrentSelected };
void DrawIndicatorMark(QPainter& painter, const QRect& rect, IndicatorMark mark);

} // namespace app
