#include "bench/support/GeneratedCatalogueFile.h"

#include "bench/support/Measures.h"
#include "tools/catalogue/CatalogueBuilder.h"
#include "tools/catalogue/GeneratedCatalogue.h"

#include <cstdio>

namespace bench {

void BuildGeneratedCatalogueOnce(const std::filesystem::path& path, std::size_t songs)
{
    if (std::filesystem::exists(path))
        return;
    std::printf("building the %zu-song catalogue at %s ...\n", songs, path.c_str());
    std::fflush(stdout);
    const std::filesystem::path partial = path.string() + ".partial";
    std::filesystem::remove(partial);
    const auto start = Clock::now();
    catalogue::builder::CatalogueBuilder builder(partial.string(), catalogue::builder::CatalogueSchema::Standard());
    catalogue::builder::AddGeneratedSongs(builder, songs);
    builder.Finish();
    std::filesystem::rename(partial, path);
    std::printf("built in %.1f s\n", Seconds(Clock::now() - start));
}

} // namespace bench
