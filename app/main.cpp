// Fonarel 2010: the program entry. Sets the application title, creates the main window (whose
// creation runs the start-up sequence), shows it and runs the event loop until it is closed.
// No command-line arguments are read.
#include "app/MessageBoxes.h"
#include "app/UPrincipal.h"
#include "app/WindowLook.h"

#include <QApplication>

#include <filesystem>

int main(int argc, char** argv)
{
    // Qt is shown the program's name only, so that no argument is read by it either.
    int qtArgumentCount = argc > 0 ? 1 : 0;
    QApplication application(qtArgumentCount, argv);
    app::ApplyWindowLook(application);
    app::ModalMessageBoxes boxes;
    app::TFrmPrincipal FrmPrincipal(boxes, std::filesystem::path(QCoreApplication::applicationFilePath().toStdString()));
    FrmPrincipal.show();
    return QApplication::exec();
}
