#include "catalogue/Configuration.h"

#include "catalogue/IniFile.h"
#include "text/Trim.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace catalogue {
namespace {

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir != nullptr)
        return account->pw_dir;
    return "/";
}

} // namespace

std::filesystem::path ConfigurationPath(const std::filesystem::path& executablePath)
{
    return std::filesystem::path(executablePath).replace_filename(kConfigurationFileName);
}

bool ConfigurationExists(const std::filesystem::path& configurationPath)
{
    std::error_code error;
    const auto status = std::filesystem::status(configurationPath, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string ReadDatabaseName(const std::filesystem::path& configurationPath)
{
    std::string bytes;
    if (!ReadFileBytes(configurationPath, bytes))
        return {};
    const std::string value = IniFile::Parse(bytes).Value(kDatabaseSection, kDatabaseKey);
    return std::string(text::TrimBlanks(value));
}

std::string DefaultDatabaseName()
{
    return (std::filesystem::path(HomeFolder()) / ".local/share/Fonarel2010/catalogue.fdb").string();
}

} // namespace catalogue
