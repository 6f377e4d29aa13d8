#include "bench/support/WorkingSet.h"

#include <filesystem>

namespace bench {

namespace fs = std::filesystem;

bool EncodeOnce(const std::string& path, const std::vector<std::string>& lameArgs, double seconds)
{
    if (fs::exists(path))
        return true;
    const std::string partial = path + ".partial";
    fixtures::Tone tone;
    tone.seconds = seconds;
    if (!fixtures::MakeMp3(partial, fixtures::Encoder::Lame, lameArgs, tone))
        return false;
    fs::rename(partial, path);
    return true;
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
