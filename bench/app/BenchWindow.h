#pragma once
// What the window benchmarks share: an offscreen application with the window's look, boxes
// that are counted instead of shown, a configuration folder naming the catalogue, and serving
// events.
#include "app/MessageBoxes.h"

#include <QApplication>

#include <filesystem>
#include <string>

namespace bench {

class CountedBoxes final : public app::MessageBoxes {
public:
    void Show(const app::MessageRequest&) override { ++shown; }
    int shown = 0;
};

// An offscreen application unless a platform is chosen, with the window's look.
class BenchApplication {
public:
    BenchApplication(int& argc, char** argv);

private:
    QApplication application_;
};

// A folder with RevoZadoz.ini naming the database; the window's executable path in it.
std::filesystem::path ConfigurationFolder(const std::string& databaseName);

// Serves events until done() holds.
template <class Done>
void ServeUntil(Done done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace bench
