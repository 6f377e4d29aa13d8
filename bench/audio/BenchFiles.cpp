#include "BenchFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/mp3fixtures/Encoders.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

// lame settings of the distinct encodes; each is made plain and with ID3v2 and ID3v1 tags.
std::vector<std::vector<std::string>> Settings()
{
    std::vector<std::vector<std::string>> settings;
    for (const char* rate : {"64", "96", "128", "160", "192", "256", "320"})
        settings.push_back({"-b", rate});
    for (int level = 0; level <= 9; ++level)
        settings.push_back({"-V", std::to_string(level)});
    settings.push_back({"--abr", "128"});
    settings.push_back({"-m", "m", "-b", "96"});
    return settings;
}

std::string FileName(std::size_t i)
{
    char name[32];
    std::snprintf(name, sizeof name, "song%04zu.mp3", i);
    return name;
}

bool MakeSources(const fs::path& folder, std::vector<fs::path>& sources)
{
    const fs::path wav = folder / "tone.wav";
    fixtures::Tone tone;
    tone.seconds = 2.5;  // about 40 KB at 128 kbit/s
    tone.noiseSeed = 7;
    if (!fixtures::MakeWav(wav.string(), tone))
        return false;
    std::size_t n = 0;
    for (const auto& args : Settings()) {
        for (bool tagged : {false, true}) {
            std::vector<std::string> all = args;
            if (tagged)
                all.insert(all.end(), {"--add-id3v2", "--pad-id3v2-size", "2048", "--tt", "Title", "--ta", "Artist"});
            const fs::path mp3 = folder / ("source" + std::to_string(n++) + ".mp3");
            if (!fixtures::EncodeWithLame(wav.string(), mp3.string(), all))
                return false;
            sources.push_back(mp3);
        }
    }
    fs::remove(wav);
    return true;
}

} // namespace

std::vector<std::string> BenchFiles(const std::string& folderName, std::size_t count)
{
    const fs::path folder(folderName);
    const fs::path stamp = folder / ("ready-" + std::to_string(count));
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < count; ++i)
        paths.push_back((folder / FileName(i)).string());
    if (fs::exists(stamp))
        return paths;

    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    std::vector<fs::path> sources;
    if (!MakeSources(folder, sources))
        return {};
    for (std::size_t i = 0; i < count; ++i)
        fs::copy_file(sources[i % sources.size()], paths[i], fs::copy_options::overwrite_existing);
    for (const fs::path& source : sources)
        fs::remove(source);
    std::ofstream(stamp) << count << "\n";
    return paths;
}

} // namespace bench
