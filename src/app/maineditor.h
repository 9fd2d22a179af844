#pragma once

class QWidget;

namespace tessary {

class RichEdit;

// The editor as the main window holds it: no frame, a vertical scroll bar always shown, the
// default face Arial 13 px. The batch export lays its page out in the same editor, so the
// two wrap every line alike.
namespace MainEditor {

// The strip left of the editor; the editor takes the rest of the window's width.
constexpr int kGutterWidth = 5;

RichEdit *create(QWidget *parent);

} // namespace MainEditor

} // namespace tessary
