#include "catalogue/SongRecordLayout.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/Messages.h"

#include <algorithm>

namespace catalogue {
namespace {

bool HasKind(const ResultField& field, ColumnKind kind)
{
    switch (field.layout) {
    case FieldLayout::FixedText:
    case FieldLayout::VaryingText:
        return kind == ColumnKind::Text;
    case FieldLayout::Int16:
    case FieldLayout::Int32:
    case FieldLayout::Int64:
        return kind == ColumnKind::Integer && field.scale == 0;
    case FieldLayout::Other:
        break;
    }
    return false;
}

std::string KindName(ColumnKind kind)
{
    return kind == ColumnKind::Text ? "texto (CHAR ou VARCHAR)" : "inteiro (SMALLINT, INTEGER ou BIGINT)";
}

} // namespace

SongRecordLayout SongRecordLayout::Match(std::span<const ResultField> fields)
{
    SongRecordLayout layout;
    for (std::size_t i = 0; i < kSongColumnCount; ++i) {
        const auto column = static_cast<SongColumn>(i);
        const SongColumnInfo& info = ColumnInfo(column);
        const auto found = std::find_if(fields.begin(), fields.end(), [&](const ResultField& field) {
            return SongColumnByName(field.name) == column;
        });
        if (found == fields.end())
            throw CatalogueError(SystemText("Coluna " + std::string(info.name) +
                                            " não encontrada no resultado da consulta de músicas"));
        if (!HasKind(*found, info.kind))
            throw CatalogueError(SystemText("Coluna " + std::string(info.name) + " não é do tipo " +
                                            KindName(info.kind)));
        layout.slots_[i] = FieldSlot{found->layout, found->offset, found->nullOffset, found->length};
    }
    return layout;
}

} // namespace catalogue
