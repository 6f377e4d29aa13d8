#include "app/MessageBoxes.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace app {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The details and their button, whose text Qt gives in English, in the window's Portuguese.
void AddDetails(QMessageBox& box, const QString& details)
{
    box.setDetailedText(details);
    for (QAbstractButton* button : box.buttons()) {
        if (box.buttonRole(button) != QMessageBox::ActionRole)
            continue;
        const QString show = QStringLiteral("Mostrar detalhes...");
        const QString hide = QStringLiteral("Ocultar detalhes...");
        // Qt sizes the button for its own, shorter labels: the same margins around ours.
        const QFontMetrics metrics = button->fontMetrics();
        const int margins = button->sizeHint().width() - metrics.horizontalAdvance(button->text());
        button->setMinimumWidth(std::max(metrics.horizontalAdvance(show), metrics.horizontalAdvance(hide)) + margins);
        button->setText(show);
        // After the box's own handler, which shows or hides the details and names the button.
        QObject::connect(
            button, &QAbstractButton::clicked, button,
            [button, show, hide, shown = false]() mutable {
                shown = !shown;
                button->setText(shown ? hide : show);
            },
            Qt::QueuedConnection);
    }
}

} // namespace

void ModalMessageBoxes::Show(const MessageRequest& request)
{
    QWidget* owner = request.placement == MessagePlacement::OverWindow ? QApplication::activeWindow() : nullptr;
    QMessageBox box(BoxIcon(request.icon), request.caption, request.text, QMessageBox::Ok, owner);
    if (!request.details.isEmpty())
        AddDetails(box, request.details);
    if (owner == nullptr) {
        box.adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            box.move(screen->availableGeometry().center() - box.rect().center());
    }
    box.exec();
}

} // namespace app
