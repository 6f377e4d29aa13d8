#include "songs/SongTagMapping.h"

#include "tagkit/FileExtension.h"

namespace songs {

using catalogue::SongColumn;

SongTag MapSongToTag(const catalogue::SongRecord& song)
{
    const auto text = [&song](SongColumn column) { return std::string(song.Text(column)); };
    SongTag tag;
    tag.fileName = text(SongColumn::PAS_PATH) + text(SongColumn::MUS_ARQUIVO);
    tag.extension = std::string(tagkit::ExtensionOf(song.Text(SongColumn::MUS_ARQUIVO)));

    tagkit::TagValues& v = tag.values;
    v.Title = text(SongColumn::MUS_NOME);
    v.Artist = text(SongColumn::MUS_INTERPRETE);
    v.Composer = text(SongColumn::MUS_COMPOSITOR);
    v.Album = text(SongColumn::MUS_ALBUM);
    v.Year = text(SongColumn::MUS_ANO);
    v.Track = text(SongColumn::MUS_FAIXA);
    v.Genre = text(SongColumn::GEN_NOME);
    v.SubGenre = text(SongColumn::SUB_NOME);
    v.Rhythm = text(SongColumn::RIT_NOME);
    v.Language = text(SongColumn::IDI_NOME);
    v.RecordLabel = text(SongColumn::GRA_NOME);
    v.Vocal = text(SongColumn::VOC_NOME);
    v.PeriodType = text(SongColumn::MUS_TIPOPERIODO);
    v.PeriodStart = text(SongColumn::MUS_PERIODOINICIO);
    v.PeriodEnd = text(SongColumn::MUS_PERIODOFIM);
    v.FileExtension = tag.extension;
    // FrameTIDM, Rating, Comment and the FrameT... values stay empty: the file's own are kept.
    return tag;
}

} // namespace songs
