#pragma once
// The window's test bench: an offscreen application, message boxes that are recorded instead
// of shown, real embedded catalogues, and the mouse and key moves a user makes in the list.
#include "app/MessageBoxes.h"
#include "app/UPrincipal.h"
#include "tools/catalogue/CatalogueDescription.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

#include <QPoint>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace apptest {

class RecordedBoxes final : public app::MessageBoxes {
public:
    void Show(const app::MessageRequest& request) override;
    std::vector<app::MessageRequest> shown;
};

// Songs "SONG 01" ... "SONG nn" with codes 1..n, in one folder.
catalogue::builder::CatalogueDescription NumberedSongs(int songs);

// Every file below a folder, by path, with its bytes.
using Files = std::map<std::string, std::vector<std::uint8_t>>;
Files ReadFiles(const std::filesystem::path& folder);
// The folder's files as they were: those read back written, those added since removed.
void PutBack(const Files& files, const std::filesystem::path& folder);

class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    // Builds the description into scratch/catalogue.fdb and names it in RevoZadoz.ini.
    std::string MakeCatalogue(const catalogue::builder::CatalogueDescription& description);
    void WriteIni(const std::string& bytes);
    // Creates the window (FormCreate runs) and shows it.
    app::TFrmPrincipal& Open();
    app::TFrmPrincipal& Window() { return *window_; }
    void Close() { window_.reset(); }

    // Serves the events that are waiting (a search run after typing, say).
    static void Settle();
    // The full names the list shows, in its order.
    std::vector<std::string> ShownNames();
    std::string StatementText();
    int CurrentRow();
    std::vector<std::size_t> Selected();

    void Type(const QString& text);
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void KeyInList(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A press and release of the button at a point of the list's client area, delivered to
    // whichever part of the list lies there.
    void ClickListAt(QPoint client, Qt::MouseButton button);
    QPoint TitleCentre();

    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path ExecutablePath() const { return folder_ / "fonarel"; }

    RecordedBoxes boxes_;

private:
    // Declared before the window, which goes first.
    fixtures::ScratchDir scratch_{"fonarel-window"};
    std::filesystem::path folder_{scratch_.Path()};
    std::unique_ptr<app::TFrmPrincipal> window_;
};

} // namespace apptest
