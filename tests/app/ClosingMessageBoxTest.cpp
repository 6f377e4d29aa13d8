// The real closing message box of a run that left songs unwritten, as a user sees it (under Xvfb):
// its caption, icon, texts, the details button in Portuguese and the songs behind it.
#include "app/MessageBoxes.h"
#include "app/RunMessages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>

namespace apptest {
namespace {

songs::SongWriteResult Result(songs::SongOutcome outcome, std::string path, std::string why = {})
{
    songs::SongWriteResult song;
    song.outcome = outcome;
    song.path = std::move(path);
    song.why = std::move(why);
    return song;
}

TEST(ClosingMessageBox, NamesTheSongsNotWrittenBehindItsDetailsButton)
{
    app::RunAccount account(4);
    account.Add("1", "/srv/musica/a.mp3", Result(songs::SongOutcome::Written, "/srv/musica/a.mp3"));
    account.Add("2", "M:\\ROCK\\DUP.MP3", Result(songs::SongOutcome::Ambiguous, "/mnt/acervo/Rock/DUP.MP3",
                                                 "ambiguous: Rock/DUP.mp3, Rock/dup.mp3"));
    account.Add("3", "N:\\x.mp3", Result(songs::SongOutcome::Unmapped, "", "no folder of this machine is given for N:\\"));
    account.Add("4", "/srv/musica/capa.jpg", Result(songs::SongOutcome::NotMp3, "/srv/musica/capa.jpg"));
    const app::MessageRequest request = account.ClosingMessage(QStringLiteral("Fonarel 2010"));

    QString seen, details, buttonBefore, buttonAfter;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(200, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->windowTitle() + "|" + box->text();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            if (box->buttonRole(button) != QMessageBox::ActionRole)
                continue;
            buttonBefore = button->text();
            button->click();
            QCoreApplication::processEvents();
            buttonAfter = button->text();
        }
        if (const QTextEdit* text = box->findChild<QTextEdit*>())
            details = text->toPlainText();
        box->accept();
    });
    app::ModalMessageBoxes().Show(request);

    EXPECT_EQ(seen, QStringLiteral("Fonarel 2010|Gravação do TAG finalizada!\n2 de 4 músicas não foram gravadas."));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttonBefore, QStringLiteral("Mostrar detalhes..."));
    EXPECT_EQ(buttonAfter, QStringLiteral("Ocultar detalhes..."));
    EXPECT_EQ(details, QStringLiteral("[2] /mnt/acervo/Rock/DUP.MP3: ambiguous: Rock/DUP.mp3, Rock/dup.mp3\n"
                                      "[3] N:\\x.mp3: no folder of this machine is given for N:\\\n"
                                      "[4] /srv/musica/capa.jpg: not MP3"));
}

} // namespace
} // namespace apptest

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
