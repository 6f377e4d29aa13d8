#pragma once
// The text of the song query, the one statement the system runs on the catalogue.
#include <string>
#include <string_view>

namespace catalogue {

// The statement's lines are joined by CR LF.
inline constexpr std::string_view kSongQueryLineBreak = "\r\n";
inline constexpr std::string_view kDefaultSortColumn = "Mus_Codigo";

// A column name fit for the ORDER BY line: letters, digits, "_" and "$", optionally after one
// table alias and a ".". Anything else would make the sort column part of the statement's syntax.
bool IsSortColumnName(std::string_view name);

// The eleven lines: the fixed select and joins, the filter on the full name with the search
// text inside a string literal (its single quotes doubled; "%" and "_" stay wildcards), and the
// order by the sort column, which must pass IsSortColumnName (CatalogueError otherwise).
std::string SongQueryText(std::string_view searchText, std::string_view sortColumn);

} // namespace catalogue
