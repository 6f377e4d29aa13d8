#include "BenchFiles.h"

#include "Contenders.h"
#include "tools/mp3fixtures/Encoders.h"

#include <cstdio>
#include <filesystem>

namespace bench {

namespace fs = std::filesystem;

namespace {

bool EncodeOnce(const std::string& path, const std::vector<std::string>& args, double seconds)
{
    if (fs::exists(path))
        return true;
    const std::string partial = path + ".partial";
    fixtures::Tone tone;
    tone.seconds = seconds;
    if (!fixtures::MakeMp3(partial, fixtures::Encoder::Lame, args, tone))
        return false;
    fs::rename(partial, path);
    return true;
}

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

std::vector<std::string> MakeWorkingSet(const std::string& folder, const std::string& source, int count)
{
    RemoveFolder(folder);
    fs::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder + "/song" + std::to_string(i) + ".mp3");
        fs::copy_file(source, paths.back());
    }
    return paths;
}

void RemoveFolder(const std::string& folder)
{
    std::error_code ec;
    fs::remove_all(folder, ec);
}

} // namespace bench
