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

namespace {

std::optional<Credentials> CredentialsOf(const IniFile& ini)
{
    Credentials credentials{std::string(text::TrimBlanks(ini.Value(kDatabaseSection, kUserKey))),
                            std::string(text::TrimBlanks(ini.Value(kDatabaseSection, kPasswordKey)))};
    if (credentials.userName.empty() && credentials.password.empty())
        return std::nullopt;
    return credentials;
}

WritingSettings WritingSettingsOf(const IniFile& ini)
{
    const auto on = [&ini](std::string_view key) { return text::TrimBlanks(ini.Value(kWritingSection, key)) == "1"; };
    return {on(kKeepFramesKey), on(kKeepTimesKey)};
}

} // namespace

ConfigurationValues ReadConfiguration(const std::filesystem::path& configurationPath)
{
    ConfigurationValues values;
    std::string bytes;
    if (!ReadFileBytes(configurationPath, bytes, &values.readError))
        return values;
    const IniFile ini = IniFile::Parse(bytes);
    values.databaseName = std::string(text::TrimBlanks(ini.Value(kDatabaseSection, kDatabaseKey)));
    values.credentials = CredentialsOf(ini);
    values.writing = WritingSettingsOf(ini);
    values.folderLines = ini.Lines(kFoldersSection);
    return values;
}

Configuration LoadConfiguration(const std::filesystem::path& configurationPath)
{
    Configuration configuration{configurationPath, ConfigurationExists(configurationPath), {}};
    if (configuration.exists)
        configuration.values = ReadConfiguration(configurationPath);
    return configuration;
}

std::string DefaultDatabaseName()
{
    return (std::filesystem::path(io::HomeFolder()) / ".local/share/Fonarel2010/catalogue.fdb").string();
}

} // namespace catalogue
