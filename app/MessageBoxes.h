#pragma once
// Every modal message box of the window goes through MessageBoxes, so that tests can watch the
// boxes instead of blocking on them.
#include <QString>

class QWidget;

namespace app {

enum class MessageIcon { None, Information, Warning, Stop };

// Where the box appears: over the application's active window, or centred on the screen and
// owned by no window (the start-up messages, which come before the window exists on screen).
enum class MessagePlacement { OverWindow, ScreenCentre };

struct MessageRequest {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessagePlacement placement = MessagePlacement::OverWindow;
    // Text behind the box's details button (in Portuguese); none when empty.
    QString details;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box with one OK button and returns when the user has closed it.
    virtual void Show(const MessageRequest& request) = 0;
};

// The real boxes, modal, with one OK button.
class ModalMessageBoxes final : public MessageBoxes {
public:
    void Show(const MessageRequest& request) override;
};

} // namespace app
