#include "app/RunMessages.h"

#include "text/CaseFolding.h"

namespace app {
namespace {

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FolderLineWhy(const songs::RefusedFolderLine& line)
{
    switch (line.error) {
    case songs::FolderLineError::NotAPrefix:
        return QStringLiteral("\"%1\" não é uma unidade (M:\\) nem um compartilhamento de rede (\\\\SERVIDOR\\pasta) do Windows")
            .arg(Utf8(text::Utf8OrCp1252(line.prefix)));
    case songs::FolderLineError::NotAbsolute:
        return QStringLiteral("\"%1\" não é uma pasta absoluta desta máquina").arg(Utf8(text::Utf8OrCp1252(line.folder)));
    case songs::FolderLineError::None: break;
    }
    return {};
}

} // namespace

QString RefusedFolderLinesText(const std::filesystem::path& configuration,
                               const std::vector<songs::RefusedFolderLine>& refused)
{
    if (refused.empty())
        return {};
    QString text = QStringLiteral("O arquivo %1, seção [PASTAS], tem linhas que não puderam ser usadas:")
                       .arg(Utf8(configuration.string()));
    for (const songs::RefusedFolderLine& line : refused)
        text += QStringLiteral("\nlinha %1: %2.").arg(line.number).arg(FolderLineWhy(line));
    text += QStringLiteral("\nAs músicas dessas pastas não serão gravadas.");
    return text;
}

} // namespace app
