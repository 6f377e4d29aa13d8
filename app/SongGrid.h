#pragma once
// The song list's grid (DBMusicas): one row per song, a title row and an indicator column, the
// current row highlighted whether or not the grid has the focus, a multiple selection of whole
// rows, nothing editable. Its own rules replace the view's usual selection and key handling:
//   - a left click makes the row current and selects it alone; with Ctrl it flips the row's
//     selection and keeps the others;
//   - Shift+Up/Down grow the selection from where it began and shrink it on the way back;
//   - every other move by the keyboard, and Esc, clear it;
//   - typed characters are not taken: they go on to the window.
#include "app/GridLook.h"
#include "app/RowSelection.h"

#include <QPoint>
#include <QTableView>

#include <functional>

namespace app {

class SongTableModel;

class SongGrid final : public QTableView {
    Q_OBJECT
public:
    // The handler that draws a data cell's value (the list does not draw it by itself).
    using DrawColumnCellHandler =
        std::function<void(GridCanvas& canvas, const QRect& rect, int dataCol, const QModelIndex& cell, CellState state)>;

    explicit SongGrid(QWidget* parent);

    void SetSongModel(SongTableModel* model);
    void SetDrawColumnCell(DrawColumnCellHandler handler) { drawColumnCell_ = std::move(handler); }
    const DrawColumnCellHandler& DrawColumnCell() const { return drawColumnCell_; }

    const RowSelection& SelectedRows() const { return selection_; }
    void ClearSelection();

    // The highlighted current row, or -1 when the list shows none.
    int CurrentRow() const;
    // Makes the row the list's current row and scrolls it into view.
    void SetCurrentRow(int row);
    // The current row and the selected rows are drawn highlighted.
    bool IsHighlighted(int row) const;

    // The height of a data row and of the title row, and the indicator column's width.
    int RowHeight() const { return rowHeight_; }
    // The line of the list's font, as its rows and title are written in it.
    const TextLine& TextLineOfFont() const { return line_; }
    static constexpr int kIndicatorWidth = 11;

signals:
    // Every mouse-button release over the list, in the coordinates of its client area (inside
    // the border: the title row and the indicator column start at 0, 0).
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint clientPosition);
    // A left click on a column's title (not at the end of dragging a title's border).
    void TitleClick(int column);
    // The user moved the current row (by mouse or keyboard).
    void CurrentRowMoved(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplyFontMetrics();
    void ClickRow(int row, Qt::KeyboardModifiers modifiers);
    // Moves the current row by the keyboard; the rows it needs are fetched first.
    void MoveBy(int rows, bool extendSelection);
    void MoveTo(int row);
    int LastRowReachable(int wanted);
    int RowsPerPage() const;
    void RepaintMarks();
    QPoint ClientPosition(QWidget* child, QPoint position) const;

    SongTableModel* songModel_ = nullptr;
    RowSelection selection_;
    DrawColumnCellHandler drawColumnCell_;
    QWidget* cornerButton_ = nullptr;
    int rowHeight_ = 17;
    TextLine line_;
};

} // namespace app
