#pragma once

#include <QString>
#include <functional>

namespace tessary {

class DocumentState;
class RichEdit;

// What every feature of the main window shares: the editor, the open document's state and
// a few window-wide flags. The window owns all of it; widgets a feature uses reach it in a
// group of that feature's own.
struct EditorContext {
    RichEdit *Editor = nullptr;
    DocumentState *Document = nullptr;
    QString AppDir; // per-user data folder, with a trailing separator
    bool InsertMode = true;
    bool RulerDragging = false;
    // Ends a pending function-key assignment. The command dispatch runs it before every
    // command; editor keys and clicks run it themselves.
    std::function<void()> HideFnHint = [] {};
};

} // namespace tessary
