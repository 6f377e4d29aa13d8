#pragma once
// A label that writes its text as the window does (bold in the bitmap font included).
#include <QLabel>

namespace app {

class WindowLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace app
