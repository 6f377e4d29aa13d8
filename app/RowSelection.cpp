#include "app/RowSelection.h"

#include <algorithm>

namespace app {
namespace {

std::size_t Distance(std::size_t a, std::size_t b)
{
    return a > b ? a - b : b - a;
}

} // namespace

void RowSelection::Clear()
{
    rows_.clear();
    anchor_.reset();
}

void RowSelection::SelectOnly(RowId row)
{
    Clear();
    rows_.push_back(row);
}

void RowSelection::Toggle(RowId row)
{
    anchor_.reset();
    if (IsSelected(row))
        Remove(row);
    else
        Add(row);
}

void RowSelection::ShiftMove(RowId from, RowId to)
{
    if (from == to)
        return;
    if (!anchor_) {
        anchor_ = from;
        Add(from);
    }
    if (Distance(to, *anchor_) > Distance(from, *anchor_))
        Add(to);
    else
        Remove(from);
}

bool RowSelection::IsSelected(RowId row) const
{
    return std::binary_search(rows_.begin(), rows_.end(), row);
}

void RowSelection::Add(RowId row)
{
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), row);
    if (at == rows_.end() || *at != row)
        rows_.insert(at, row);
}

void RowSelection::Remove(RowId row)
{
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), row);
    if (at != rows_.end() && *at == row)
        rows_.erase(at);
}

} // namespace app
