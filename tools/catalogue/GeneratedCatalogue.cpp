#include "tools/catalogue/GeneratedCatalogue.h"

#include "tools/catalogue/CatalogueBuilder.h"

#include <array>
#include <string_view>

namespace catalogue::builder {
namespace {

struct Lookup {
    std::string_view table;
    std::string_view prefix;
    std::string_view nameColumn;
    std::size_t rows;
};

constexpr std::array<Lookup, 7> kLookups = {{
    {"Tb_Pastas", "PAS", "PATH", 20},
    {"Tb_Genero", "GEN", "NOME", 12},
    {"Tb_SubGenero", "SUB", "NOME", 10},
    {"Tb_Ritmo", "RIT", "NOME", 10},
    {"Tb_Idioma", "IDI", "NOME", 5},
    {"Tb_Gravadora", "GRA", "NOME", 15},
    {"Tb_Vocal", "VOC", "NOME", 4},
}};

std::string Number(std::size_t n)
{
    return std::to_string(n);
}

std::string LookupName(const Lookup& lookup, std::size_t code)
{
    if (lookup.prefix == "PAS")
        return "/srv/musica/pasta" + Number(code) + "/";
    return std::string(lookup.table.substr(3)) + " " + Number(code);
}

} // namespace

std::string GeneratedFullName(std::size_t song)
{
    return "ARTIST " + Number(song % 997) + " - SONG " + Number(song);
}

void AddGeneratedSongs(CatalogueBuilder& builder, std::size_t songCount)
{
    for (const Lookup& lookup : kLookups) {
        for (std::size_t code = 1; code <= lookup.rows; ++code) {
            builder.Insert(lookup.table, {{std::string(lookup.prefix) + "_CODIGO", Number(code)},
                                          {std::string(lookup.prefix) + "_" + std::string(lookup.nameColumn),
                                           LookupName(lookup, code)}});
        }
    }
    RowValues song;
    for (std::size_t i = 1; i <= songCount; ++i) {
        song.assign({
            {"MUS_CODIGO", Number(i)},
            {"MUS_NOME", "Song " + Number(i)},
            {"MUS_INTERPRETE", "Artist " + Number(i % 997)},
            {"MUS_TEMPO", "03:" + Number(10 + i % 50)},
            {"MUS_TIPO", "N"},
            {"MUS_ALBUM", "Album " + Number(i % 5003)},
            {"MUS_ANO", Number(1950 + i % 70)},
            {"MUS_FAIXA", Number(1 + i % 15)},
            {"MUS_SUCESSO", i % 7 == 0 ? "S" : "N"},
            {"MUS_NOMECOMPLETO", GeneratedFullName(i)},
            {"GEN_CODIGO", Number(1 + i % 12)},
            {"SUB_CODIGO", Number(1 + i % 10)},
            {"RIT_CODIGO", Number(1 + i % 10)},
            {"VOC_CODIGO", Number(1 + i % 4)},
            {"GRA_CODIGO", Number(1 + i % 15)},
            {"IDI_CODIGO", Number(1 + i % 5)},
            {"PAS_CODIGO", Number(1 + i % 20)},
            {"MUS_ARQUIVO", "song" + Number(i) + ".mp3"},
            {"MUS_COMPOSITOR", "Composer " + Number(i % 211)},
            {"MUS_TIPOPERIODO", "D"},
            {"MUS_PERIODOINICIO", Number(1950 + i % 70)},
            {"MUS_PERIODOFIM", Number(1960 + i % 70)},
            {"MUS_SEGUNDOS", Number(130 + i % 200)},
        });
        builder.Insert("Tb_Musicas", song);
    }
}

} // namespace catalogue::builder
