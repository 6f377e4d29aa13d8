#include "WindowTesting.h"

#include "app/SongGrid.h"
#include "app/SongTableModel.h"
#include "app/WindowLook.h"
#include "app/WindowText.h"
#include "catalogue/CatalogueSession.h"
#include "tools/catalogue/CatalogueBuilder.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace apptest {

void RecordedBoxes::Show(const app::MessageRequest& request)
{
    shown.push_back(request);
}

catalogue::builder::CatalogueDescription NumberedSongs(int songs)
{
    catalogue::builder::CatalogueDescription d;
    d.Add("Tb_Pastas", {{"PAS_CODIGO", "1"}, {"PAS_PATH", "/nowhere/"}});
    for (int i = 1; i <= songs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "SONG %02d", i);
        d.Add("Tb_Musicas", {{"MUS_CODIGO", std::to_string(i)}, {"MUS_NOMECOMPLETO", name},
                             {"MUS_ARQUIVO", std::string(name) + ".txt"}, {"PAS_CODIGO", "1"}});
    }
    return d;
}

Files ReadFiles(const std::filesystem::path& folder)
{
    Files files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().string()] = fixtures::ReadFileBytes(entry.path().string());
    return files;
}

void PutBack(const Files& files, const std::filesystem::path& folder)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !files.contains(entry.path().string()))
            std::filesystem::remove(entry.path());
    for (const auto& [path, bytes] : files)
        fixtures::WriteFileBytes(path, bytes);
}

WindowTest::WindowTest() = default;

WindowTest::~WindowTest() = default;

std::string WindowTest::MakeCatalogue(const catalogue::builder::CatalogueDescription& description)
{
    const std::string database = (folder_ / "catalogue.fdb").string();
    catalogue::builder::BuildCatalogue(database, description);
    WriteIni("[BANCO]\r\ncaminho=" + database + "\r\n");
    return database;
}

void WindowTest::WriteIni(const std::string& bytes)
{
    std::ofstream(folder_ / "RevoZadoz.ini", std::ios::binary) << bytes;
}

app::TFrmPrincipal& WindowTest::Open()
{
    window_ = std::make_unique<app::TFrmPrincipal>(boxes_, ExecutablePath());
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    Settle();
    return *window_;
}

void WindowTest::Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

std::vector<std::string> WindowTest::ShownNames()
{
    Settle();
    std::vector<std::string> names;
    QAbstractItemModel& model = window_->SongModel();
    for (int row = 0; row < model.rowCount(); ++row)
        names.push_back(app::ToCp1252(model.index(row, 0).data().toString()));
    return names;
}

std::string WindowTest::StatementText()
{
    return window_->Catalogue().Q_Musicas().StatementText();
}

int WindowTest::CurrentRow()
{
    return window_->DBMusicas->CurrentRow();
}

std::vector<std::size_t> WindowTest::Selected()
{
    return window_->DBMusicas->SelectedRows().Rows();
}

void WindowTest::Type(const QString& text)
{
    window_->MEBuscarMusicas->setFocus();
    // Key by key, as typed; letters outside ASCII come as text with no key code of their own.
    for (const QChar c : text) {
        const int key = c.unicode() < 0x80 ? QChar(c).toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(window_->MEBuscarMusicas, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(window_->MEBuscarMusicas, &release);
    }
    Settle();
}

void WindowTest::ClickRow(int row, Qt::KeyboardModifiers modifiers)
{
    app::SongGrid& grid = *window_->DBMusicas;
    const QRect cell = grid.visualRect(grid.model()->index(row, 0));
    ASSERT_TRUE(cell.isValid()) << "row " << row << " is not shown";
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cell.center());
    Settle();
}

void WindowTest::KeyInList(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    window_->DBMusicas->setFocus();
    QTest::keyClick(window_->DBMusicas, key, modifiers);
    Settle();
}

void WindowTest::ClickListAt(QPoint client, Qt::MouseButton button)
{
    app::SongGrid& grid = *window_->DBMusicas;
    const QPoint inGrid = client + grid.contentsRect().topLeft();
    QWidget* target = grid.childAt(inGrid);
    if (target == nullptr)
        target = &grid;
    const QPoint local = target->mapFrom(&grid, inGrid);
    QTest::mouseClick(target, button, Qt::NoModifier, local);
    Settle();
}

QPoint WindowTest::TitleCentre()
{
    app::SongGrid& grid = *window_->DBMusicas;
    QHeaderView& title = *grid.horizontalHeader();
    const QPoint inHeader(title.sectionViewportPosition(0) + title.sectionSize(0) / 2, title.height() / 2);
    return title.viewport()->mapTo(&grid, inHeader) - grid.contentsRect().topLeft();
}

} // namespace apptest

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::ApplyWindowLook(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
