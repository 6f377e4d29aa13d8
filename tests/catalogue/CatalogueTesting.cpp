#include "CatalogueTesting.h"

#include "tools/catalogue/CatalogueBuilder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace catalogue::testing {

std::string BackendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Embedded ? "Embedded" : "Server";
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "fonarel-catalogue.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
    std::filesystem::permissions(path_, std::filesystem::perms::all);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

builder::CatalogueDescription SmallCatalogue()
{
    builder::CatalogueDescription d;
    d.Add("Tb_Pastas", {{"PAS_CODIGO", "1"}, {"PAS_PATH", "/musica/rock/"}});
    d.Add("Tb_Genero", {{"GEN_CODIGO", "1"}, {"GEN_NOME", "Rock"}});
    d.Add("Tb_Genero", {{"GEN_CODIGO", "2"}, {"GEN_NOME", "Folk"}});
    d.Add("Tb_Genero", {{"GEN_CODIGO", "3"}, {"GEN_NOME", "Jazz"}});
    d.Add("Tb_Genero", {{"GEN_CODIGO", "3"}, {"GEN_NOME", "Jazz"}});
    d.Add("Tb_Genero", {{"GEN_CODIGO", "4"}, {"GEN_NOME", "Blues"}});
    d.Add("Tb_Genero", {{"GEN_CODIGO", "4"}, {"GEN_NOME", "Soul"}});
    d.Add("Tb_SubGenero", {{"SUB_CODIGO", "1"}, {"SUB_NOME", "Balada"}});
    d.Add("Tb_Ritmo", {{"RIT_CODIGO", "1"}, {"RIT_NOME", "Lento"}});
    d.Add("Tb_Idioma", {{"IDI_CODIGO", "1"}, {"IDI_NOME", "Ingl\xEAs"}});
    d.Add("Tb_Gravadora", {{"GRA_CODIGO", "1"}, {"GRA_NOME", "Rolling Records"}});
    d.Add("Tb_Vocal", {{"VOC_CODIGO", "1"}, {"VOC_NOME", "Masculino"}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "1"}, {"MUS_NOME", "Angie"}, {"MUS_INTERPRETE", "Rolling Stones"},
                         {"MUS_TEMPO", "04:31"}, {"MUS_TIPO", "N"}, {"MUS_ALBUM", "Goats Head Soup"},
                         {"MUS_ANO", "1973"}, {"MUS_FAIXA", "4"}, {"MUS_SUCESSO", "S"},
                         {"MUS_NOMECOMPLETO", "ROLLING STONES - ANGIE"}, {"GEN_CODIGO", "1"}, {"SUB_CODIGO", "1"},
                         {"RIT_CODIGO", "1"}, {"VOC_CODIGO", "1"}, {"GRA_CODIGO", "1"}, {"IDI_CODIGO", "1"},
                         {"PAS_CODIGO", "1"}, {"MUS_ARQUIVO", "angie.mp3"}, {"MUS_COMPOSITOR", "Jagger/Richards"},
                         {"MUS_TIPOPERIODO", "A"}, {"MUS_PERIODOINICIO", "1970"}, {"MUS_PERIODOFIM", "1979"},
                         {"MUS_SEGUNDOS", "271"}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "2"}, {"MUS_NOMECOMPLETO", "O'HARA - DANNY BOY"}, {"GEN_CODIGO", "2"}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "3"}, {"MUS_NOMECOMPLETO", "100% PURO"}, {"GEN_CODIGO", "99"}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "4"}, {"MUS_NOME", "Nameless"}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "5"}, {"MUS_NOMECOMPLETO", "A_B TEST"}, {"GEN_CODIGO", "3"}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "6"}, {"MUS_NOMECOMPLETO", "AXB TEST"}, {"GEN_CODIGO", "4"}});
    d.Add("Tb_Musicas",
          {{"MUS_CODIGO", "7"}, {"MUS_NOMECOMPLETO", "ZEBRA"}, {"MUS_ANO", "-12"}, {"MUS_TIPO", "X"}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "8"}, {"MUS_NOMECOMPLETO", ""}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "9"}, {"MUS_NOMECOMPLETO", "angie acoustic"}});
    return d;
}

void CatalogueTest::SetUp()
{
    if (GetParam() == Backend::Server && ServerHost().empty()) {
        if (testenv::UnderCI())
            FAIL() << "FONAREL_FB_SERVER is not set under CI: the loopback Firebird server did not start";
        GTEST_SKIP() << "no Firebird server for the remote tests (FONAREL_FB_SERVER is not set; "
                        "scripts/test starts one)";
    }
}

std::string CatalogueTest::DatabaseName(std::string_view file) const
{
    const std::string path = (folder_ / file).string();
    return GetParam() == Backend::Server ? ServerHost() + ":" + path : path;
}

std::string CatalogueTest::Build(const builder::CatalogueDescription& description, std::string_view file)
{
    std::string name = DatabaseName(file);
    builder::BuildCatalogue(name, description);
    return name;
}

void CatalogueTest::Connect(CatalogueSession& session, const std::string& databaseName)
{
    session.DB_Audio().SetDatabaseName(databaseName);
    session.DB_Audio().Connect();
    session.Transaction_Audio().Start(session.DB_Audio());
}

std::vector<std::string> ColumnValues(SongList& songs, SongColumn column)
{
    std::vector<std::string> values;
    for (songs.First(); !songs.Eof(); songs.Next())
        values.emplace_back(songs.Text(column));
    return values;
}

} // namespace catalogue::testing
