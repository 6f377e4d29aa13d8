#include "BenchFiles.h"

#include "Contenders.h"
#include "bench/support/WorkingSet.h"

#include <cstdio>
#include <filesystem>

namespace bench {

namespace fs = std::filesystem;

namespace {

// The master with the benchmark's tag, rebuilt by our writer: a 4096-byte tag.
bool TagOnce(const std::string& master, const std::string& tagged)
{
    if (fs::exists(tagged))
        return true;
    const std::string partial = tagged + ".partial";
    fs::copy_file(master, partial, fs::copy_options::overwrite_existing);
    id3v2::TID3v2 tag;
    SetBenchValues(tag);
    if (!tag.SaveToFile(partial))
        return false;
    fs::rename(partial, tagged);
    return true;
}

} // namespace

bool PrepareMasters(const std::string& dataDir, std::vector<SizeClass>& classes)
{
    fs::create_directories(dataDir);
    classes = {
        {"40 KB", dataDir + "/master-40k.mp3", dataDir + "/tagged-40k.mp3", 2000},
        {"5 MB", dataDir + "/master-5m.mp3", dataDir + "/tagged-5m.mp3", 100},
    };
    std::fprintf(stderr, "preparing the master files in %s (once)\n", dataDir.c_str());
    return EncodeOnce(classes[0].master, {"-b", "128"}, 2.4) && EncodeOnce(classes[1].master, {"-b", "320"}, 131.0) &&
           TagOnce(classes[0].master, classes[0].tagged) && TagOnce(classes[1].master, classes[1].tagged);
}

} // namespace bench
