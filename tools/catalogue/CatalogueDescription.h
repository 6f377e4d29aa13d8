#pragma once
// What a catalogue database is filled with: a schema and rows.
//
// The text form, read by the fonarel-catalogue command, is one row per line:
//     TABLE<TAB>COLUMN=VALUE<TAB>COLUMN=VALUE...
// Columns that a row does not name are NULL; "COLUMN=" is the empty text. Values are bytes (the
// catalogue's code page) with these escapes: \t, \n, \r, \\ and \xHH. Empty lines and lines
// starting with "#" are skipped; a "\r" before the line break is dropped. The schema is always
// the standard one.
#include "tools/catalogue/CatalogueSchema.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace catalogue::builder {

// Column name and value; a column left out is NULL.
using RowValues = std::vector<std::pair<std::string, std::string>>;

struct TableRow {
    std::string table;
    RowValues values;
};

struct CatalogueDescription {
    CatalogueSchema schema = CatalogueSchema::Standard();
    std::vector<TableRow> rows;

    void Add(std::string table, RowValues values) { rows.push_back({std::move(table), std::move(values)}); }
};

// Parses the text form, appending its rows; false with a message naming the line on a malformed
// line (rows before it are kept).
bool ParseCatalogueDescription(std::string_view text, CatalogueDescription& description, std::string& error);

} // namespace catalogue::builder
