#pragma once
// The 30 columns of the song record, in record order, with the kind of value each holds.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace catalogue {

enum class SongColumn : unsigned char {
    MUS_CODIGO,
    MUS_NOME,
    MUS_INTERPRETE,
    MUS_TEMPO,
    MUS_TIPO,
    MUS_ALBUM,
    MUS_ANO,
    MUS_FAIXA,
    MUS_SUCESSO,
    MUS_NOMECOMPLETO,
    GEN_CODIGO,
    SUB_CODIGO,
    RIT_CODIGO,
    VOC_CODIGO,
    GRA_CODIGO,
    IDI_CODIGO,
    PAS_CODIGO,
    MUS_ARQUIVO,
    MUS_COMPOSITOR,
    MUS_TIPOPERIODO,
    MUS_PERIODOINICIO,
    MUS_PERIODOFIM,
    MUS_SEGUNDOS,
    PAS_PATH,
    GEN_NOME,
    SUB_NOME,
    RIT_NOME,
    IDI_NOME,
    GRA_NOME,
    VOC_NOME,
};

inline constexpr std::size_t kSongColumnCount = 30;

// Text: a character column (CHAR or VARCHAR). Integer: SMALLINT, INTEGER or BIGINT without a scale.
enum class ColumnKind { Text, Integer };

struct SongColumnInfo {
    std::string_view name;
    ColumnKind kind;
};

const SongColumnInfo& ColumnInfo(SongColumn column);

constexpr std::size_t ColumnIndex(SongColumn column)
{
    return static_cast<std::size_t>(column);
}

// The record column of that name, letter case ignored.
std::optional<SongColumn> SongColumnByName(std::string_view name);

} // namespace catalogue
