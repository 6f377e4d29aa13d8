#include "catalogue/SongColumns.h"

#include <algorithm>

namespace catalogue {
namespace {

constexpr ColumnKind T = ColumnKind::Text;
constexpr ColumnKind I = ColumnKind::Integer;

constexpr std::array<SongColumnInfo, kSongColumnCount> kColumns = {{
    {"MUS_CODIGO", I},       {"MUS_NOME", T},          {"MUS_INTERPRETE", T}, {"MUS_TEMPO", T},
    {"MUS_TIPO", T},         {"MUS_ALBUM", T},         {"MUS_ANO", I},        {"MUS_FAIXA", I},
    {"MUS_SUCESSO", T},      {"MUS_NOMECOMPLETO", T},  {"GEN_CODIGO", I},     {"SUB_CODIGO", I},
    {"RIT_CODIGO", I},       {"VOC_CODIGO", I},        {"GRA_CODIGO", I},     {"IDI_CODIGO", I},
    {"PAS_CODIGO", I},       {"MUS_ARQUIVO", T},       {"MUS_COMPOSITOR", T}, {"MUS_TIPOPERIODO", T},
    {"MUS_PERIODOINICIO", T}, {"MUS_PERIODOFIM", T},   {"MUS_SEGUNDOS", I},   {"PAS_PATH", T},
    {"GEN_NOME", T},         {"SUB_NOME", T},          {"RIT_NOME", T},       {"IDI_NOME", T},
    {"GRA_NOME", T},         {"VOC_NOME", T},
}};

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

} // namespace

const SongColumnInfo& ColumnInfo(SongColumn column)
{
    return kColumns[ColumnIndex(column)];
}

std::optional<SongColumn> SongColumnByName(std::string_view name)
{
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (SameName(kColumns[i].name, name))
            return static_cast<SongColumn>(i);
    }
    return std::nullopt;
}

} // namespace catalogue
