#include "app/ContinuousProgressBar.h"

#include <QPainter>
#include <qdrawutil.h>

namespace app {

void ContinuousProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    qDrawShadePanel(&painter, rect(), colours, true, 1);
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    const qint64 range = qint64(maximum()) - minimum();
    if (range <= 0 || inside.width() <= 0)
        return;
    const qint64 done = std::clamp<qint64>(qint64(value()) - minimum(), 0, range);
    const int width = static_cast<int>(inside.width() * done / range);
    painter.fillRect(QRect(inside.left(), inside.top(), width, inside.height()), colours.color(QPalette::Highlight));
}

} // namespace app
