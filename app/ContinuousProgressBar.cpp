#include "app/ContinuousProgressBar.h"

#include <QPainter>

#include <algorithm>

namespace app {

ContinuousProgressBar::ContinuousProgressBar(QWidget* parent)
    : QWidget(parent)
{
    // Every pixel is painted here: nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ContinuousProgressBar::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
    update();
}

void ContinuousProgressBar::setValue(int value)
{
    const int old = value_;
    value_ = std::clamp(value, minimum_, maximum_);
    if (value_ != old)
        Repaint(old, value_);
}

QRect ContinuousProgressBar::Inside() const
{
    return rect().adjusted(2, 2, -2, -2);
}

int ContinuousProgressBar::FilledUpTo(int value) const
{
    const QRect inside = Inside();
    const qint64 range = qint64(maximum_) - minimum_;
    if (range <= 0 || inside.width() <= 0)
        return inside.left();
    return inside.left() + static_cast<int>(inside.width() * (qint64(value) - minimum_) / range);
}

void ContinuousProgressBar::Repaint(int fromValue, int toValue)
{
    const int a = FilledUpTo(fromValue), b = FilledUpTo(toValue);
    if (a != b)
        update(QRect(std::min(a, b), Inside().top(), std::abs(b - a), Inside().height()));
}

void ContinuousProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const QRect all = rect();
    const QRect inside = Inside();
    const int filled = FilledUpTo(value_);
    // Each part is filled on its own: a move repaints only a few columns of the two colours.
    painter.fillRect(QRect(inside.left(), inside.top(), filled - inside.left(), inside.height()),
                     colours.color(QPalette::Highlight));
    painter.fillRect(QRect(filled, inside.top(), inside.right() + 1 - filled, inside.height()),
                     colours.color(QPalette::Button));
    // The sunken edge: shadow on the top and left, highlight on the bottom and right, and the
    // button face between it and the bar.
    painter.fillRect(QRect(all.left() + 1, all.top() + 1, all.width() - 2, 1), colours.color(QPalette::Button));
    painter.fillRect(QRect(all.left() + 1, all.bottom() - 1, all.width() - 2, 1), colours.color(QPalette::Button));
    painter.fillRect(QRect(all.left() + 1, all.top() + 1, 1, all.height() - 2), colours.color(QPalette::Button));
    painter.fillRect(QRect(all.right() - 1, all.top() + 1, 1, all.height() - 2), colours.color(QPalette::Button));
    painter.fillRect(QRect(all.left(), all.top(), all.width(), 1), colours.color(QPalette::Dark));
    painter.fillRect(QRect(all.left(), all.top(), 1, all.height()), colours.color(QPalette::Dark));
    painter.fillRect(QRect(all.left(), all.bottom(), all.width(), 1), colours.color(QPalette::Light));
    painter.fillRect(QRect(all.right(), all.top(), 1, all.height()), colours.color(QPalette::Light));
}

} // namespace app
