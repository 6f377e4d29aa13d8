#include "app/SongTableModel.h"

#include "app/WindowText.h"

namespace app {

SongTableModel::SongTableModel(catalogue::SongList& songs, std::function<void(const std::exception&)> failed,
                               QObject* parent)
    : QAbstractTableModel(parent)
    , songs_(songs)
    , failed_(std::move(failed))
{
}

int SongTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown_;
}

int SongTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant SongTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_)
        return {};
    const catalogue::SongRecord row = songs_.Row(static_cast<catalogue::SongList::RowId>(index.row()));
    return FromCp1252(row.Text(kShownColumn));
}

QVariant SongTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section != 0)
        return {};
    if (role == Qt::DisplayRole)
        return QStringLiteral("Música");
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags SongTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

bool SongTableModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !resetting_ && songs_.IsOpen() &&
           (!songs_.AllFetched() || RowNumber(songs_.RowCount()) > shown_);
}

void SongTableModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        Fetch([this] { songs_.FetchUntil(static_cast<std::size_t>(shown_) + kFetchBatch); });
}

void SongTableModel::FetchAllRows()
{
    Fetch([this] { songs_.FetchAll(); });
}

void SongTableModel::Fetch(const std::function<void()>& fetch)
{
    try {
        fetch();
    } catch (const std::exception& error) {
        // What was fetched before the failure is shown all the same.
        ShowKeptRows();
        failed_(error);
        return;
    }
    ShowKeptRows();
}

void SongTableModel::BeginQuery()
{
    beginResetModel();
    resetting_ = true;
    shown_ = 0;
}

void SongTableModel::EndQuery()
{
    resetting_ = false;
    shown_ = RowNumber(songs_.RowCount());
    endResetModel();
}

void SongTableModel::ShowKeptRows()
{
    const int kept = RowNumber(songs_.RowCount());
    if (kept <= shown_)
        return;
    beginInsertRows({}, shown_, kept - 1);
    shown_ = kept;
    endInsertRows();
}

} // namespace app
