#pragma once
// The run's counter: a one-line label whose width follows its text. It changes once per song and
// is repainted once per song, so it keeps that cheap: its text (plain Latin text in a font
// without ligatures) is drawn as one run of glyphs placed by their advances, which needs no text
// shaping, and its width is the sum of those advances. Bold text in the bitmap window font is
// overstruck as DrawWindowText does.
#include <QGlyphRun>
#include <QRawFont>
#include <QWidget>

namespace app {

class CounterLabel final : public QWidget {
public:
    explicit CounterLabel(QWidget* parent);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    void clear() { setText({}); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PlaceGlyphs();

    QString text_;
    QRawFont rawFont_;
    QGlyphRun glyphs_;
    bool overstrike_ = false;
};

} // namespace app
