#pragma once
// The start-up message texts the window shows, as Windows-1252 bytes.
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

// "O arquivo <path> não foi encontrado." for a missing configuration file.
std::string ConfigurationMissingMessage(const std::filesystem::path& configurationPath);

// "Não foi possível conectar com a Base de Dados 2010." for a failed connection or transaction.
std::string ConnectionFailedMessage();

// The failed connection's message, then that the configuration file exists but could not be read,
// with the system's reason (a file this user may not read: "Permission denied").
std::string ConfigurationUnreadableMessage(const std::filesystem::path& configurationPath, int error);

// The same, with the user the server refused (never the password) and where it comes from.
std::string LoginRefusedMessage(const std::string& userName);

// The catalogue is open in another program's embedded engine on this machine; databaseName is the
// name the attach was given (bytes as RevoZadoz.ini holds them). Says how to go on.
std::string OpenInAnotherProgramMessage(const std::string& databaseName);

// The catalogue did not open within `waited` (not said when zero) because another program holds
// the embedded engine: the holders as EngineHolders() names them, or none known.
std::string EngineHeldMessage(const std::string& databaseName, std::chrono::milliseconds waited,
                              const std::vector<std::string>& holders);

// Our own texts are written in UTF-8 here and handed out in the system's code page.
std::string SystemText(std::string_view utf8);

} // namespace catalogue
