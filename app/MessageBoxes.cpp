#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

namespace app {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void ModalMessageBoxes::Show(const MessageRequest& request)
{
    QWidget* owner = request.placement == MessagePlacement::OverWindow ? QApplication::activeWindow() : nullptr;
    QMessageBox box(BoxIcon(request.icon), request.caption, request.text, QMessageBox::Ok, owner);
    if (owner == nullptr) {
        box.adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            box.move(screen->availableGeometry().center() - box.rect().center());
    }
    box.exec();
}

} // namespace app
