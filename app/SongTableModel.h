#pragma once
// The list's view of the song list Q_Musicas: one column, the song's full name, and only the
// rows fetched so far. The view asks for more (canFetchMore/fetchMore) as it scrolls towards
// the end of what it has, so browsing never fetches the whole result.
#include "catalogue/SongColumns.h"
#include "catalogue/SongList.h"

#include <QAbstractTableModel>

#include <algorithm>
#include <climits>
#include <functional>
#include <stdexcept>

namespace app {

// A count or index of rows as Qt's int takes it: at most INT_MAX.
inline int RowNumber(std::size_t rows)
{
    return static_cast<int>(std::min<std::size_t>(rows, INT_MAX));
}

class SongTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows fetched per request of the view: about one screen of the list.
    static constexpr int kFetchBatch = 20;

    // failed receives an error of a fetch the view asked for (the view must not see it thrown).
    SongTableModel(catalogue::SongList& songs, std::function<void(const std::exception&)> failed,
                   QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The song list is about to be closed and rerun, and has been: the list shows it anew.
    void BeginQuery();
    void EndQuery();
    // Shows the rows that the song list kept beyond those shown (fetched by a cursor move or by
    // fetching all rather than by the view).
    void ShowKeptRows();
    // Fetches every remaining row of the result and shows them.
    void FetchAllRows();

    // The song column the list's one column shows, and its field name.
    static constexpr catalogue::SongColumn kShownColumn = catalogue::SongColumn::MUS_NOMECOMPLETO;
    static std::string_view ColumnFieldName() { return catalogue::ColumnInfo(kShownColumn).name; }

private:
    // Runs a fetch of the song list, shows the rows it kept and hands a failure to failed_.
    void Fetch(const std::function<void()>& fetch);

    catalogue::SongList& songs_;
    std::function<void(const std::exception&)> failed_;
    int shown_ = 0;
    bool resetting_ = false;
};

} // namespace app
