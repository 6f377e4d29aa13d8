#include "bench/app/BenchWindow.h"

#include "app/WindowLook.h"

#include <algorithm>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace bench {
namespace {

int& Offscreen(int& argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

} // namespace

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

std::size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

double MiB(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

BenchApplication::BenchApplication(int& argc, char** argv)
    : application_(Offscreen(argc), argv)
{
    app::ApplyWindowLook(application_);
}

std::filesystem::path ConfigurationFolder(const std::string& databaseName)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "fonarel-window-bench";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "RevoZadoz.ini", std::ios::binary) << "[BANCO]\r\ncaminho=" << databaseName << "\r\n";
    return folder;
}

} // namespace bench
