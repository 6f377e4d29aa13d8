#pragma once
// RevoZadoz.ini, the configuration file beside the executable, and the catalogue database name
// it gives.
#include "catalogue/ConnectionSettings.h"
#include "catalogue/IniFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

inline constexpr std::string_view kConfigurationFileName = "RevoZadoz.ini";
inline constexpr std::string_view kDatabaseSection = "BANCO";
inline constexpr std::string_view kDatabaseKey = "caminho";
inline constexpr std::string_view kUserKey = "usuario";
inline constexpr std::string_view kPasswordKey = "senha";
inline constexpr std::string_view kWritingSection = "GRAVACAO";
inline constexpr std::string_view kKeepFramesKey = "manter_quadros";
inline constexpr std::string_view kKeepTimesKey = "manter_datas";
// Where the Windows folders the catalogue names are on this machine: PREFIX=FOLDER lines.
inline constexpr std::string_view kFoldersSection = "PASTAS";

// The executable's own path with its file name replaced by RevoZadoz.ini.
std::filesystem::path ConfigurationPath(const std::filesystem::path& executablePath);

// Whether a file (not a folder) exists at the path.
bool ConfigurationExists(const std::filesystem::path& configurationPath);

// How both programs write songs, from section GRAVACAO: manter_quadros=1 keeps the old tag's other
// frames, manter_datas=1 the songs' times. Anything else, a missing key or an unreadable file is
// off.
struct WritingSettings {
    bool keepOtherFrames = false;
    bool keepTimes = false;
};

// What the file says, read once; or, when the file cannot be read, the system's error number (a
// file that exists but that this user may not read, EACCES, is told as such, not as one that
// names no catalogue).
struct ConfigurationValues {
    int readError = 0;
    // Section BANCO, key caminho, without the bytes 0x00 to 0x20 at both ends; empty when the
    // file lacks the section or the key. The bytes reach the client unchanged.
    std::string databaseName;
    // Section BANCO, keys usuario and senha, read as caminho is: the user and password the
    // catalogue is attached with when the file gives either (a key it lacks is then empty);
    // none when it gives neither, and the built-in pair stays.
    std::optional<Credentials> credentials;
    WritingSettings writing;
    // Section PASTAS, line by line (bytes as in the file).
    std::vector<IniFile::Line> folderLines;
};
ConfigurationValues ReadConfiguration(const std::filesystem::path& configurationPath);

// The configuration file as a program start finds it, read once: every reader of it (the
// catalogue's start-up, the writing settings, the folders) takes its view of this one read.
struct Configuration {
    std::filesystem::path path;
    bool exists = false; // a file (not a folder) is there
    ConfigurationValues values; // empty when it is not
};
Configuration LoadConfiguration(const std::filesystem::path& configurationPath);

// The database name in effect until a configuration file sets one: the per-user catalogue file
// $HOME/.local/share/Fonarel2010/catalogue.fdb (the home folder of the account when HOME is unset).
std::string DefaultDatabaseName();

} // namespace catalogue
