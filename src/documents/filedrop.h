#pragma once

#include <QObject>

class QMimeData;
class QWidget;

namespace tessary {

class DocumentFiles;

// A file dropped on the window or its editor opens as the Open command opens it; any other
// drop (text from another program) is left to the widget it lands on.
class FileDrop : public QObject {
    Q_OBJECT
public:
    // Watches `window` and the editor's `viewport`.
    FileDrop(DocumentFiles &documents, QWidget *window, QWidget *viewport);

    // The first local file the drag carries, or an empty string.
    static QString droppedFile(const QMimeData *mime);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DocumentFiles &m_documents;
};

} // namespace tessary
