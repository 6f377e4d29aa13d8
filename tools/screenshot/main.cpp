// fonarel-screenshot: pictures of the real window, taken from the screen of the display it is
// given (scripts/screenshot and scripts/demo run it under Xvfb when there is no display).
//
//   fonarel-screenshot window FOLDER LIST.png RUN.png
//       shows the window over the catalogue named by FOLDER/RevoZadoz.ini and saves
//         LIST.png  the list filled, rows 2, 4 and 5 selected, the fourth row current;
//         RUN.png   the progress panel half-way through "Gravar Todas" (which rewrites the
//                   listed songs' tags, as the button does).
//   fonarel-screenshot screen OUT.png
//       saves the middle 740 x 400 pixels of the screen: the window of a program running on the
//       same display, which opens centred.
#include "app/MessageBoxes.h"
#include "app/SongGrid.h"
#include "app/UPrincipal.h"
#include "app/WindowLook.h"

#include <QApplication>
#include <QHeaderView>
#include "app/ContinuousProgressBar.h"
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <string>

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

int SaveScreenMiddle(const QString& file)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect middle(screen->geometry().center() - QPoint(370, 200), QSize(740, 400));
    const QPixmap picture = screen->grabWindow(0, middle.x(), middle.y(), middle.width(), middle.height());
    if (picture.isNull() || !picture.save(file, "PNG")) {
        std::fprintf(stderr, "fonarel-screenshot: cannot save %s\n", qPrintable(file));
        return 1;
    }
    std::printf("saved %s\n", qPrintable(file));
    return 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: fonarel-screenshot window FOLDER LIST.png RUN.png\n"
                         "       fonarel-screenshot screen OUT.png\n");
    return 2;
}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "window" && argc == 5) || (mode == "screen" && argc == 3)))
        return Usage();
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    if (mode == "screen")
        return SaveScreenMiddle(QString::fromLocal8Bit(argv[2]));
    app::ApplyWindowLook(application);
    PrintedBoxes boxes;
    app::TFrmPrincipal window(boxes, std::filesystem::path(argv[2]) / "fonarel");
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
    if (!SaveWindowPicture(window, QString::fromLocal8Bit(argv[3])))
        return 1;

    int song = 0;
    bool saved = false;
    window.SetBeforeSongHook([&] {
        if (++song == window.ProgressBar1->maximum() / 2)
            saved = SaveWindowPicture(window, QString::fromLocal8Bit(argv[4]));
    });
    window.BTodas->click();
    return saved ? 0 : 1;
}
