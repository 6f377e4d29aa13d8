#include "catalogue/Messages.h"

#include "text/Cp1252.h"

namespace catalogue {

std::string SystemText(std::string_view utf8)
{
    return text::Cp1252FromUtf8(utf8);
}

std::string ConfigurationMissingMessage(const std::filesystem::path& configurationPath)
{
    // The path is the file system's (UTF-8) name; the message is in the system's code page.
    return SystemText("O arquivo " + configurationPath.string() + " não foi encontrado.");
}

std::string ConnectionFailedMessage()
{
    return SystemText("Não foi possível conectar com a Base de Dados 2010.");
}

std::string OpenInAnotherProgramMessage(const std::string& databaseName)
{
    return SystemText("A Base de Dados 2010 (") + databaseName +
           SystemText(") está aberta em outro programa deste computador.\n\n"
                      "Feche o outro programa (outra janela do Fonarel 2010, por exemplo) ou compartilhe a "
                      "base pelo servidor Firebird, com caminho=localhost:") +
           databaseName + SystemText(" no RevoZadoz.ini.");
}

} // namespace catalogue
