#pragma once
// The list's multiple selection: row identities of the song list, kept in list order without
// duplicates, whatever order they were selected in.
#include <cstddef>
#include <optional>
#include <vector>

namespace app {

class RowSelection {
public:
    using RowId = std::size_t;

    void Clear();
    // A plain click: the row alone is selected.
    void SelectOnly(RowId row);
    // A Ctrl+click: the row's selection flips, the others stay.
    void Toggle(RowId row);
    // Shift+Up or Shift+Down from one row to the next: the selection grows from the row where
    // the Shift moves began (the anchor) and shrinks again when moving back towards it.
    void ShiftMove(RowId from, RowId to);

    bool IsSelected(RowId row) const;
    RowId At(std::size_t index) const { return rows_[index]; }
    const std::vector<RowId>& Rows() const { return rows_; }

private:
    void Add(RowId row);
    void Remove(RowId row);

    std::vector<RowId> rows_;
    std::optional<RowId> anchor_;
};

} // namespace app
