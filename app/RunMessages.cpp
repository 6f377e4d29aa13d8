#include "app/RunMessages.h"

#include "text/CaseFolding.h"
#include "text/Cp1252.h"

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

QString SongLine(std::string_view code, std::string_view cataloguePath, const songs::SongWriteResult& song,
                 const std::string& reason)
{
    // The path on this machine, where there is one; else the catalogue's.
    const std::string path = song.path.empty() ? text::Utf8FromCp1252(cataloguePath) : text::Utf8OrCp1252(song.path);
    return QStringLiteral("[%1] %2: %3").arg(Utf8(text::Utf8FromCp1252(code)), Utf8(path), Utf8(reason));
}

} // namespace

void RunAccount::Add(std::string_view code, std::string_view cataloguePath, const songs::SongWriteResult& song)
{
    if (song.outcome == songs::SongOutcome::NotMp3)
        notMp3Lines_ << SongLine(code, cataloguePath, song, "not MP3");
    if (!songs::IsNotWritten(song.outcome))
        return;
    ++notWritten_;
    notWrittenLines_ << SongLine(code, cataloguePath, song, songs::ReasonOf(song));
}

void RunAccount::Stopped(const songs::ShareLoss& loss, std::size_t processed)
{
    notTried_ = songs_ > processed ? songs_ - processed : 0;
    notWritten_ += notTried_;
    folderLost_ = Utf8(loss.folder);
}

MessageRequest RunAccount::ClosingMessage(const QString& caption) const
{
    MessageRequest request{caption, QStringLiteral("Gravação do TAG finalizada!"), MessageIcon::None,
                           MessagePlacement::ScreenCentre, {}};
    if (notWritten_ == 0)
        return request;
    request.icon = MessageIcon::Warning;
    request.text += notWritten_ == 1 ? QStringLiteral("\n1 de %1 música não foi gravada.").arg(songs_)
                                     : QStringLiteral("\n%1 de %2 músicas não foram gravadas.").arg(notWritten_).arg(songs_);
    if (!folderLost_.isEmpty())
        request.text += notTried_ == 1
                            ? QStringLiteral("\nA pasta %1 parou de responder; 1 música não foi tentada.").arg(folderLost_)
                            : QStringLiteral("\nA pasta %1 parou de responder; %2 músicas não foram tentadas.")
                                  .arg(folderLost_)
                                  .arg(notTried_);
    request.details = (notWrittenLines_ + notMp3Lines_).join(QLatin1Char('\n'));
    return request;
}

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
