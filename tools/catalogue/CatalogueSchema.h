#pragma once
// The tables of a catalogue database to be created: by default the eight tables the song query
// reads; tests change it to make catalogues with a table or column missing or of another type.
#include <string>
#include <string_view>
#include <vector>

namespace catalogue::builder {

struct ColumnDefinition {
    std::string name;
    std::string type; // as written in CREATE TABLE, e.g. "VARCHAR(45)" or "INTEGER NOT NULL"
};

struct TableDefinition {
    std::string name;
    std::vector<ColumnDefinition> columns;
    std::string primaryKey;                  // a column name, or empty for none
    std::vector<std::string> indexedColumns; // plain (non-unique) indexes

    ColumnDefinition* FindColumn(std::string_view column);
    // Removes the column (and its index); false when there is no such column.
    bool DropColumn(std::string_view column);
};

struct CatalogueSchema {
    std::vector<TableDefinition> tables;

    // Tb_Musicas with its 23 columns (song code as primary key) and the seven lookup tables with
    // their code and name columns (the codes indexed, not unique, so that a code may repeat).
    static CatalogueSchema Standard();

    TableDefinition* FindTable(std::string_view table);
    bool DropTable(std::string_view table);
};

// The DDL statements that create the schema, in order.
std::vector<std::string> SchemaStatements(const CatalogueSchema& schema);

} // namespace catalogue::builder
