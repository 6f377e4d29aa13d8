#pragma once
// A one-line label of the window whose width follows its text: the progress panel's heading and
// its counter. The counter changes and is repainted once per song, so the label keeps that cheap:
// its text (plain Latin text in a font without ligatures) is drawn as one run of glyphs placed by
// their advances, which needs no text shaping, and its width is the sum of those advances. Bold
// text in the bitmap window font is overstruck as DrawWindowText does.
#include "app/WindowLook.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QWidget>

namespace app {

class WindowLabel final : public QWidget {
public:
    explicit WindowLabel(QWidget* parent, const QString& text = {});

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
    TextLine line_; // of the font
};

} // namespace app
