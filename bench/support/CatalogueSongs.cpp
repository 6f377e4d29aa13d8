#include "bench/support/CatalogueSongs.h"

#include "id3v2/TagWriter.h"
#include "io/FileSystem.h"
#include "tagkit/SongExamination.h"
#include "tools/catalogue/CatalogueBuilder.h"

#include <cstdio>
#include <filesystem>

namespace bench {

void BuildSongCatalogue(const std::string& database, const std::string& folder, std::size_t count,
                        std::size_t files)
{
    std::filesystem::remove(database);
    catalogue::builder::CatalogueBuilder builder(database, catalogue::builder::CatalogueSchema::Standard());
    builder.Insert("Tb_Pastas", {{"PAS_CODIGO", "1"}, {"PAS_PATH", folder + "/"}});
    builder.Insert("Tb_Genero", {{"GEN_CODIGO", "1"}, {"GEN_NOME", "Samba"}});
    builder.Insert("Tb_Ritmo", {{"RIT_CODIGO", "1"}, {"RIT_NOME", "Partido alto"}});
    builder.Insert("Tb_Idioma", {{"IDI_CODIGO", "1"}, {"IDI_NOME", "Portugu\xEAs"}});
    builder.Insert("Tb_Vocal", {{"VOC_CODIGO", "1"}, {"VOC_NOME", "Masculino"}});
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        builder.Insert("Tb_Musicas",
                       {{"MUS_CODIGO", n}, {"MUS_NOME", "Cancao " + n}, {"MUS_INTERPRETE", "Interprete " + std::to_string(i % 97)},
                        {"MUS_ALBUM", "Album " + std::to_string(i % 31)}, {"MUS_ANO", std::to_string(1950 + i % 70)},
                        {"MUS_FAIXA", std::to_string(1 + i % 14)}, {"MUS_NOMECOMPLETO", "CANCAO " + n},
                        {"MUS_ARQUIVO", "song" + std::to_string(i % files) + ".mp3"}, {"MUS_COMPOSITOR", "Compositor"},
                        {"MUS_TIPOPERIODO", "D"}, {"MUS_PERIODOINICIO", "1970"}, {"MUS_PERIODOFIM", "1979"},
                        {"PAS_CODIGO", "1"}, {"GEN_CODIGO", "1"}, {"RIT_CODIGO", "1"}, {"IDI_CODIGO", "1"},
                        {"VOC_CODIGO", "1"}});
    }
    builder.Finish();
}

std::vector<songs::SongTag> MappedSongs(catalogue::SongList& songs)
{
    std::vector<songs::SongTag> mapped;
    songs.FetchAll();
    for (songs.First(); !songs.Eof(); songs.Next())
        mapped.push_back(songs::MapSongToTag(songs.Current()));
    return mapped;
}

Clock::duration BareLoop(const std::vector<songs::SongTag>& songs, bool save, bool flush)
{
    std::size_t written = 0;
    const auto start = Clock::now();
    for (const songs::SongTag& song : songs) {
        tagkit::SongExamination inspection = tagkit::SongExamination::Of(
            song.fileName, save ? tagkit::Access::HeldForWriting(id3v2::kDefaultLockWait) : tagkit::Access::ReadOnly());
        if (save)
            written += inspection.Save(inspection.Plan(song.values)).Done();
    }
    if (flush) {
        io::WrittenFileSystems fileSystems;
        fileSystems.AddByName(songs.front().fileName);
        fileSystems.FlushAll();
    }
    const Clock::duration took = Clock::now() - start;
    if (save && written != songs.size())
        std::fprintf(stderr, "the bare toolkit loop wrote %zu of %zu songs\n", written, songs.size());
    return took;
}

} // namespace bench
