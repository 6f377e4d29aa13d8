#include "catalogue/Messages.h"

#include "text/Cp1252.h"
#include "text/IntegerText.h"

#include <system_error>

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

std::string ConfigurationUnreadableMessage(const std::filesystem::path& configurationPath, int error)
{
    return ConnectionFailedMessage() + SystemText("\n\nO arquivo " + configurationPath.string() +
                                                  " não pôde ser lido: " + std::system_category().message(error) + ".");
}

std::string LoginRefusedMessage(const std::string& userName)
{
    return ConnectionFailedMessage() + SystemText("\n\nO servidor recusou o usuário ") + userName +
           SystemText(" (usuario e senha da seção [BANCO] do RevoZadoz.ini).");
}

std::string OpenInAnotherProgramMessage(const std::string& databaseName)
{
    return SystemText("A Base de Dados 2010 (") + databaseName +
           SystemText(") está aberta em outro programa deste computador.\n\n"
                      "Feche o outro programa (outra janela do Fonarel 2010, por exemplo) ou compartilhe a "
                      "base pelo servidor Firebird, com caminho=localhost:") +
           databaseName + SystemText(" no RevoZadoz.ini.");
}

std::string EngineHeldMessage(const std::string& databaseName, std::chrono::milliseconds waited,
                              const std::vector<std::string>& holders)
{
    std::string text = SystemText("A Base de Dados 2010 (") + databaseName + SystemText(") não abriu");
    if (waited.count() > 0)
        text += " em " + text::DecimalText((waited.count() + 999) / 1000) + " s";
    if (holders.empty())
        return text + SystemText(": o Firebird está preso por um processo deste computador que não responde.");
    text += SystemText(": o Firebird está preso por outro programa deste computador: ");
    for (std::size_t i = 0; i < holders.size(); ++i)
        text += (i > 0 ? ", " : "") + holders[i];
    return text + SystemText(".\n\nSe ele não responder, encerre-o.");
}

} // namespace catalogue
