#include "catalogue/SongQuery.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/Messages.h"

#include <array>

namespace catalogue {
namespace {

constexpr std::array<std::string_view, 9> kFixedLines = {
    "SELECT DISTINCT Mus.*, Pas.Pas_Path, Gen.Gen_Nome, Sub.Sub_Nome, Rit.Rit_Nome, Idi.Idi_Nome, "
    "Gra.Gra_Nome, Voc.Voc_Nome",
    "FROM Tb_Musicas Mus",
    "LEFT JOIN Tb_Pastas Pas ON Mus.Pas_Codigo = Pas.Pas_Codigo",
    "LEFT JOIN Tb_Genero Gen ON Gen.Gen_Codigo = Mus.Gen_Codigo",
    "LEFT JOIN Tb_SubGenero Sub ON Sub.Sub_Codigo = Mus.Sub_Codigo",
    "LEFT JOIN Tb_Ritmo Rit ON Rit.Rit_Codigo = Mus.Rit_Codigo",
    "LEFT JOIN Tb_Idioma Idi ON Idi.Idi_Codigo = Mus.Idi_Codigo",
    "LEFT JOIN Tb_Gravadora Gra ON Gra.Gra_Codigo = Mus.Gra_Codigo",
    "LEFT JOIN Tb_Vocal Voc ON Voc.Voc_Codigo = Mus.Voc_Codigo",
};

bool IsIdentifier(std::string_view part)
{
    if (part.empty())
        return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!letter(part.front()))
        return false;
    for (char c : part) {
        if (!letter(c) && !digit(c) && c != '_' && c != '$')
            return false;
    }
    return true;
}

// The search text inside a string literal, every single quote doubled.
std::string PatternLiteral(std::string_view searchText)
{
    std::string literal = "'%";
    literal.reserve(searchText.size() + 4);
    for (char c : searchText) {
        literal += c;
        if (c == '\'')
            literal += '\'';
    }
    literal += "%'";
    return literal;
}

} // namespace

bool IsSortColumnName(std::string_view name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return IsIdentifier(name);
    return IsIdentifier(name.substr(0, dot)) && IsIdentifier(name.substr(dot + 1));
}

std::string SongQueryText(std::string_view searchText, std::string_view sortColumn)
{
    if (!IsSortColumnName(sortColumn))
        throw CatalogueError(SystemText("Coluna de ordenação inválida: ") + std::string(sortColumn));
    std::string statement;
    for (std::string_view line : kFixedLines) {
        statement += line;
        statement += kSongQueryLineBreak;
    }
    statement += "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE ";
    statement += PatternLiteral(searchText);
    statement += kSongQueryLineBreak;
    statement += "ORDER BY ";
    statement += sortColumn;
    return statement;
}

} // namespace catalogue
