#include "tools/catalogue/CatalogueSchema.h"

#include <algorithm>

namespace catalogue::builder {
namespace {

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

TableDefinition LookupTable(std::string name, std::string prefix, std::string nameColumn, int nameLength)
{
    const std::string code = prefix + "_CODIGO";
    return {std::move(name),
            {{code, "INTEGER"}, {prefix + "_" + nameColumn, "VARCHAR(" + std::to_string(nameLength) + ")"}},
            "",
            {code}};
}

} // namespace

ColumnDefinition* TableDefinition::FindColumn(std::string_view column)
{
    const auto found = std::find_if(columns.begin(), columns.end(),
                                    [&](const ColumnDefinition& c) { return SameName(c.name, column); });
    return found == columns.end() ? nullptr : &*found;
}

bool TableDefinition::DropColumn(std::string_view column)
{
    const ColumnDefinition* found = FindColumn(column);
    if (found == nullptr)
        return false;
    columns.erase(columns.begin() + (found - columns.data()));
    std::erase_if(indexedColumns, [&](const std::string& c) { return SameName(c, column); });
    if (SameName(primaryKey, column))
        primaryKey.clear();
    return true;
}

TableDefinition* CatalogueSchema::FindTable(std::string_view table)
{
    const auto found =
        std::find_if(tables.begin(), tables.end(), [&](const TableDefinition& t) { return SameName(t.name, table); });
    return found == tables.end() ? nullptr : &*found;
}

bool CatalogueSchema::DropTable(std::string_view table)
{
    return std::erase_if(tables, [&](const TableDefinition& t) { return SameName(t.name, table); }) > 0;
}

CatalogueSchema CatalogueSchema::Standard()
{
    TableDefinition songs{"Tb_Musicas",
                          {
                              {"MUS_CODIGO", "INTEGER NOT NULL"},
                              {"MUS_NOME", "VARCHAR(45)"},
                              {"MUS_INTERPRETE", "VARCHAR(45)"},
                              {"MUS_TEMPO", "VARCHAR(5)"},
                              {"MUS_TIPO", "CHAR(1)"},
                              {"MUS_ALBUM", "VARCHAR(45)"},
                              {"MUS_ANO", "INTEGER"},
                              {"MUS_FAIXA", "INTEGER"},
                              {"MUS_SUCESSO", "CHAR(1)"},
                              {"MUS_NOMECOMPLETO", "VARCHAR(100)"},
                              {"GEN_CODIGO", "INTEGER"},
                              {"SUB_CODIGO", "INTEGER"},
                              {"RIT_CODIGO", "INTEGER"},
                              {"VOC_CODIGO", "INTEGER"},
                              {"GRA_CODIGO", "INTEGER"},
                              {"IDI_CODIGO", "INTEGER"},
                              {"PAS_CODIGO", "INTEGER"},
                              {"MUS_ARQUIVO", "VARCHAR(256)"},
                              {"MUS_COMPOSITOR", "VARCHAR(45)"},
                              {"MUS_TIPOPERIODO", "CHAR(1)"},
                              {"MUS_PERIODOINICIO", "VARCHAR(5)"},
                              {"MUS_PERIODOFIM", "VARCHAR(5)"},
                              {"MUS_SEGUNDOS", "INTEGER"},
                          },
                          "MUS_CODIGO",
                          {}};
    return {{
        std::move(songs),
        LookupTable("Tb_Pastas", "PAS", "PATH", 256),
        LookupTable("Tb_Genero", "GEN", "NOME", 45),
        LookupTable("Tb_SubGenero", "SUB", "NOME", 20),
        LookupTable("Tb_Ritmo", "RIT", "NOME", 20),
        LookupTable("Tb_Idioma", "IDI", "NOME", 20),
        LookupTable("Tb_Gravadora", "GRA", "NOME", 20),
        LookupTable("Tb_Vocal", "VOC", "NOME", 20),
    }};
}

std::vector<std::string> SchemaStatements(const CatalogueSchema& schema)
{
    std::vector<std::string> statements;
    for (std::size_t t = 0; t < schema.tables.size(); ++t) {
        const TableDefinition& table = schema.tables[t];
        std::string create = "CREATE TABLE " + table.name + " (";
        for (std::size_t c = 0; c < table.columns.size(); ++c)
            create += (c ? ", " : "") + table.columns[c].name + " " + table.columns[c].type;
        if (!table.primaryKey.empty())
            create += ", PRIMARY KEY (" + table.primaryKey + ")";
        statements.push_back(create + ")");
        for (std::size_t i = 0; i < table.indexedColumns.size(); ++i) {
            statements.push_back("CREATE INDEX IX_T" + std::to_string(t) + "_C" + std::to_string(i) + " ON " +
                                 table.name + " (" + table.indexedColumns[i] + ")");
        }
    }
    return statements;
}

} // namespace catalogue::builder
