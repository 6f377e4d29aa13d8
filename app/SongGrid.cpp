#include "app/SongGrid.h"

#include "app/SongGridHeaders.h"
#include "app/SongTableModel.h"
#include "app/WindowLook.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace app {
namespace {

// Draws every data cell: the list chooses the colours for the cell's state, the draw handler
// writes the value, and the cell gets its raised edges.
class SongCellDelegate final : public QStyledItemDelegate {
public:
    explicit SongCellDelegate(SongGrid& grid)
        : QStyledItemDelegate(&grid)
        , grid_(grid)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QPalette& palette = grid_.palette();
        const bool highlighted = grid_.IsHighlighted(index.row());
        GridCanvas canvas{*painter,
                          palette.color(highlighted ? QPalette::Highlight : QPalette::Button),
                          palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text), grid_.TextLineOfFont()};
        CellState state;
        if (highlighted)
            state |= CellStateFlag::Selected;
        if (index.row() == grid_.CurrentRow() && grid_.hasFocus())
            state |= CellStateFlag::Focused;
        painter->save();
        painter->setFont(grid_.font());
        if (grid_.DrawColumnCell())
            grid_.DrawColumnCell()(canvas, option.rect, index.column(), index, state);
        else
            canvas.DefaultDrawColumnCell(option.rect, index.data().toString());
        DrawRaisedCellEdges(*painter, option.rect, palette);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {grid_.columnWidth(0), grid_.RowHeight()};
    }

private:
    SongGrid& grid_;
};

bool IsMouseRelease(const QEvent* event)
{
    return event->type() == QEvent::MouseButtonRelease;
}

bool IsMousePress(const QEvent* event)
{
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
}

} // namespace

SongGrid::SongGrid(QWidget* parent)
    : QTableView(parent)
{
    setHorizontalHeader(new GridTitleHeader(this));
    setVerticalHeader(new GridIndicatorHeader(*this));
    setItemDelegate(new SongCellDelegate(*this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setDragEnabled(false);
    setAutoScroll(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    cornerButton_ = findChild<QAbstractButton*>();
    for (QWidget* child : {viewport(), horizontalHeader()->viewport(), verticalHeader()->viewport(), cornerButton_})
        if (child != nullptr)
            child->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &SongGrid::TitleClick);
    ApplyFontMetrics();
}

void SongGrid::ApplyFontMetrics()
{
    line_ = WindowTextLine(font());
    rowHeight_ = line_.Height() + 4;
    verticalHeader()->setMinimumSectionSize(rowHeight_);
    verticalHeader()->setDefaultSectionSize(rowHeight_);
    verticalHeader()->setFixedWidth(kIndicatorWidth);
    horizontalHeader()->setFixedHeight(rowHeight_);
}

void SongGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ApplyFontMetrics();
}

void SongGrid::SetSongModel(SongTableModel* model)
{
    songModel_ = model;
    setModel(model);
    connect(model, &QAbstractItemModel::modelReset, this, [this] { ClearSelection(); });
}

void SongGrid::ClearSelection()
{
    selection_.Clear();
    RepaintMarks();
}

int SongGrid::CurrentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void SongGrid::SetCurrentRow(int row)
{
    if (model() == nullptr || row < 0 || row >= model()->rowCount()) {
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
}

bool SongGrid::IsHighlighted(int row) const
{
    return row >= 0 && (row == CurrentRow() || selection_.IsSelected(static_cast<RowSelection::RowId>(row)));
}

void SongGrid::RepaintMarks()
{
    viewport()->update();
    verticalHeader()->viewport()->update();
}

void SongGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    verticalHeader()->viewport()->update();
}

int SongGrid::RowsPerPage() const
{
    return std::max(1, viewport()->height() / std::max(1, rowHeight_));
}

int SongGrid::LastRowReachable(int wanted)
{
    while (songModel_ != nullptr && wanted >= songModel_->rowCount() && songModel_->canFetchMore({}))
        songModel_->fetchMore({});
    return model() == nullptr ? -1 : model()->rowCount() - 1;
}

void SongGrid::MoveTo(int row)
{
    const int last = LastRowReachable(row);
    if (last < 0)
        return;
    const int target = std::clamp(row, 0, last);
    SetCurrentRow(target);
    emit CurrentRowMoved(target);
}

void SongGrid::MoveBy(int rows, bool extendSelection)
{
    const int from = CurrentRow();
    if (from < 0)
        return;
    const int last = LastRowReachable(from + rows);
    const int to = std::clamp(from + rows, 0, last);
    if (extendSelection)
        selection_.ShiftMove(static_cast<RowSelection::RowId>(from), static_cast<RowSelection::RowId>(to));
    else
        selection_.Clear();
    RepaintMarks();
    if (to != from) {
        SetCurrentRow(to);
        emit CurrentRowMoved(to);
    }
}

void SongGrid::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool shiftOnly = modifiers == Qt::ShiftModifier;
    const bool moveModifiers = (modifiers & ~(Qt::ControlModifier | Qt::ShiftModifier)) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        ClearSelection();
        break;
    case Qt::Key_Up:
        if (!moveModifiers)
            return event->ignore();
        MoveBy(-1, shiftOnly);
        break;
    case Qt::Key_Down:
        if (!moveModifiers)
            return event->ignore();
        MoveBy(1, shiftOnly);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (!moveModifiers)
            return event->ignore();
        ClearSelection();
        const int from = std::max(CurrentRow(), 0);
        switch (event->key()) {
        case Qt::Key_Left:
            MoveTo(from - 1);
            break;
        case Qt::Key_Right:
            MoveTo(from + 1);
            break;
        case Qt::Key_PageUp:
            MoveTo(from - RowsPerPage());
            break;
        case Qt::Key_PageDown:
            MoveTo(from + RowsPerPage());
            break;
        case Qt::Key_Home:
            MoveTo(0);
            break;
        default:
            // The last row is only known once every row is in.
            if (songModel_ != nullptr)
                songModel_->FetchAllRows();
            MoveTo(model() == nullptr ? -1 : model()->rowCount() - 1);
            break;
        }
        break;
    }
    default:
        // Typed characters and every other key belong to the window (the F of "&Fechar").
        return event->ignore();
    }
    event->accept();
}

void SongGrid::ClickRow(int row, Qt::KeyboardModifiers modifiers)
{
    if (row < 0)
        return;
    const auto id = static_cast<RowSelection::RowId>(row);
    if (modifiers & Qt::ControlModifier)
        selection_.Toggle(id);
    else
        selection_.SelectOnly(id);
    RepaintMarks();
    SetCurrentRow(row);
    emit CurrentRowMoved(row);
}

void SongGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton)
        ClickRow(rowAt(event->position().toPoint().y()), event->modifiers());
    event->accept();
}

void SongGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void SongGrid::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void SongGrid::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

QPoint SongGrid::ClientPosition(QWidget* child, QPoint position) const
{
    return child->mapTo(this, position) - contentsRect().topLeft();
}

bool SongGrid::eventFilter(QObject* watched, QEvent* event)
{
    auto* child = qobject_cast<QWidget*>(watched);
    if (child == nullptr || !(IsMouseRelease(event) || IsMousePress(event) || event->type() == QEvent::Paint))
        return QTableView::eventFilter(watched, event);

    if (child == cornerButton_ && event->type() == QEvent::Paint) {
        QPainter painter(cornerButton_);
        DrawFixedCell(painter, cornerButton_->rect(), palette());
        return true;
    }
    if (event->type() == QEvent::Paint)
        return QTableView::eventFilter(watched, event);

    auto* mouse = static_cast<QMouseEvent*>(event);
    if (IsMouseRelease(event))
        emit MouseUp(mouse->button(), mouse->modifiers(), ClientPosition(child, mouse->position().toPoint()));

    if (child == cornerButton_)
        return true; // the corner selects nothing
    if (child == verticalHeader()->viewport()) {
        // A click on a row's indicator cell is a click on the row.
        if (IsMousePress(event)) {
            setFocus(Qt::MouseFocusReason);
            if (mouse->button() == Qt::LeftButton)
                ClickRow(verticalHeader()->logicalIndexAt(mouse->position().toPoint()), mouse->modifiers());
        }
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace app
