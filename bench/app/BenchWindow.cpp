#include "bench/app/BenchWindow.h"

#include "app/WindowLook.h"

#include <fstream>

namespace bench {
namespace {

int& Offscreen(int& argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

} // namespace

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
