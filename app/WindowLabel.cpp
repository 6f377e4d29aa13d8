#include "app/WindowLabel.h"

#include "app/WindowLook.h"

#include <QPainter>

namespace app {

void WindowLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    DrawWindowText(painter, contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

} // namespace app
