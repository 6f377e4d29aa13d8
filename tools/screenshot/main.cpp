// fonarel-screenshot: shows the window over the catalogue named by RevoZadoz.ini in FOLDER, on
// the display it is given (scripts/screenshot runs it under Xvfb), and saves two pictures taken
// from the screen:
//   LIST.png  the list filled, rows 2, 4 and 5 selected, the fourth row current;
//   RUN.png   the progress panel during "Gravar Todas", half-way (which rewrites the
//             listed songs' tags, as the button does).
//
//   fonarel-screenshot FOLDER LIST.png RUN.png
#include "app/MessageBoxes.h"
#include "app/SongGrid.h"
#include "app/UPrincipal.h"
#include "app/WindowLook.h"

#include <QApplication>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cstdio>
#include <filesystem>

namespace {

// Boxes are printed instead of waiting for someone to close them.
class PrintedBoxes final : public app::MessageBoxes {
public:
    void Show(const app::MessageRequest& request) override
    {
        std::printf("message box \"%s\": %s\n", qPrintable(request.caption), qPrintable(request.text));
    }
};

bool SaveWindowPicture(const QWidget& window, const QString& file)
{
    QCoreApplication::processEvents();
    QTest::qWait(200);
    const QRect frame = window.frameGeometry();
    const QPixmap picture =
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (picture.isNull() || !picture.save(file, "PNG")) {
        std::fprintf(stderr, "fonarel-screenshot: cannot save %s\n", qPrintable(file));
        return false;
    }
    std::printf("saved %s (%dx%d)\n", qPrintable(file), picture.width(), picture.height());
    return true;
}

void ClickRow(app::SongGrid& grid, int row, Qt::KeyboardModifiers modifiers)
{
    const QRect cell = grid.visualRect(grid.model()->index(row, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cell.center());
    QTest::qWait(50);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: fonarel-screenshot FOLDER LIST.png RUN.png\n");
        return 2;
    }
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    app::ApplyWindowLook(application);
    PrintedBoxes boxes;
    app::TFrmPrincipal window(boxes, std::filesystem::path(argv[1]) / "fonarel");
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    // The list fetches its first screen of rows once it is laid out.
    QTest::qWait(100);
    app::SongGrid& grid = *window.DBMusicas;
    if (grid.model()->rowCount() > 5) {
        ClickRow(grid, 1, Qt::NoModifier);
        ClickRow(grid, 4, Qt::ControlModifier);
        ClickRow(grid, 3, Qt::ControlModifier);
    }
    if (!SaveWindowPicture(window, QString::fromLocal8Bit(argv[2])))
        return 1;

    int song = 0;
    bool saved = false;
    window.SetBeforeSongHook([&] {
        if (++song == window.ProgressBar1->maximum() / 2)
            saved = SaveWindowPicture(window, QString::fromLocal8Bit(argv[3]));
    });
    window.BTodas->click();
    return saved ? 0 : 1;
}
