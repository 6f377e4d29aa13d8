#include "catalogue/Configuration.h"

#include "catalogue/IniFile.h"
#include "io/FileSystem.h"
#include "text/Trim.h"


namespace catalogue {

std::filesystem::path ConfigurationPath(const std::filesystem::path& executablePath)
{
    return std::filesystem::path(executablePath).replace_filename(kConfigurationFileName);
}

bool ConfigurationExists(const std::filesystem::path& configurationPath)
{
    return io::Exists(configurationPath.string()) && !io::IsFolder(configurationPath.string());
}

int ConfigurationReadError(const std::filesystem::path& configurationPath)
{
    std::string bytes;
    int error = 0;
    return ReadFileBytes(configurationPath, bytes, &error) ? 0 : error;
}

std::string ReadDatabaseName(const std::filesystem::path& configurationPath)
{
    std::string bytes;
    if (!ReadFileBytes(configurationPath, bytes))
        return {};
    const std::string value = IniFile::Parse(bytes).Value(kDatabaseSection, kDatabaseKey);
    return std::string(text::TrimBlanks(value));
}

std::optional<Credentials> ReadCredentials(const std::filesystem::path& configurationPath)
{
    std::string bytes;
    if (!ReadFileBytes(configurationPath, bytes))
        return std::nullopt;
    const IniFile ini = IniFile::Parse(bytes);
    Credentials credentials{std::string(text::TrimBlanks(ini.Value(kDatabaseSection, kUserKey))),
                            std::string(text::TrimBlanks(ini.Value(kDatabaseSection, kPasswordKey)))};
    if (credentials.userName.empty() && credentials.password.empty())
        return std::nullopt;
    return credentials;
}

WritingSettings ReadWritingSettings(const std::filesystem::path& configurationPath)
{
    std::string bytes;
    if (!ReadFileBytes(configurationPath, bytes))
        return {};
    const IniFile ini = IniFile::Parse(bytes);
    const auto on = [&ini](std::string_view key) { return text::TrimBlanks(ini.Value(kWritingSection, key)) == "1"; };
    return {on(kKeepFramesKey), on(kKeepTimesKey)};
}

std::string DefaultDatabaseName()
{
    return (std::filesystem::path(io::HomeFolder()) / ".local/share/Fonarel2010/catalogue.fdb").string();
}

} // namespace catalogue
