#pragma once
// A progress bar drawn as one continuous bar in the highlight colour inside a sunken edge,
// rather than in the segments of the classic style.
#include <QProgressBar>

namespace app {

class ContinuousProgressBar final : public QProgressBar {
public:
    using QProgressBar::QProgressBar;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace app
