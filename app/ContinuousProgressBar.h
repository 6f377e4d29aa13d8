#pragma once
// The run's progress bar: one continuous bar in the highlight colour inside a sunken edge (not
// the segments of the classic style), from a minimum to a maximum. Its position moves once per
// song, so a move repaints only the columns whose colour changes, when pending events are
// served, rather than the whole bar at once.
#include <QWidget>

namespace app {

class ContinuousProgressBar final : public QWidget {
public:
    explicit ContinuousProgressBar(QWidget* parent);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int value() const { return value_; }
    void setRange(int minimum, int maximum);
    void setMaximum(int maximum) { setRange(std::min(minimum_, maximum), maximum); }
    // A position outside the range is kept as the nearest end.
    void setValue(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect Inside() const;
    // The right edge (exclusive) of the filled part for a position.
    int FilledUpTo(int value) const;
    void Repaint(int fromValue, int toValue);

    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
};

} // namespace app
