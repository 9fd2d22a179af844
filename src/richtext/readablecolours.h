#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace tessary {

// A colour the program chooses for a background or a text never meets a desktop theme's
// colour for the other: both are set together, so light and dark themes read alike. Disabled
// controls get their text halfway to the background, so they look disabled on either theme.

// Black on a light background, white on a dark one.
QColor textColorOn(const QColor &background);
// How far apart two colours are in relative luminance: 1 (the same) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);
// `background` in the Window role (or Base with `Base`), filled, with the text roles that
// are drawn on it (WindowText and ButtonText, or Text) set to read on it.
void setReadableBackground(QWidget *widget, const QColor &background,
                           QPalette::ColorRole role = QPalette::Window);
// `text` in the text roles of `widget`'s own face (ButtonText and Text) on `background` in
// Button and Base, for a control whose text has a colour of its own.
void setReadableControl(QWidget *widget, const QColor &text, const QColor &background);

} // namespace tessary
