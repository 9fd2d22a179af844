#pragma once

#include "richtext/documentstate.h"
#include "richtext/editorcontext.h"

#include <QMessageBox>
#include <QObject>

class QLabel;
class QWidget;

namespace tessary {

// The document commands: new, open, save, save as, the save prompt and the close sequence's
// part of it. The title and the status panel's file label follow the document's state.
class DocumentFiles : public QObject {
    Q_OBJECT
public:
    DocumentFiles(EditorContext &context, QLabel *fileLabel, QWidget *window,
                  QObject *parent = nullptr);

    QString untitledName() const;
    static QString fileFilter();

    // Loads `path` into the editor; the document stays as it was when it does not load.
    bool LoadDocument(const QString &path);
    // Yes, No or Cancel. A Yes whose save did not happen (Save As cancelled, a write error)
    // reads as Cancel, so the caller keeps the changes.
    QMessageBox::StandardButton ConfirmSaveChanges();
    // The title and the file label for CurrentFileName: the untitled name in full, any other
    // shortened to the label's room.
    void ShowDocumentName();
    // An empty, unmodified document under the untitled name.
    void ShowUntitled();
    // Shortens the status label's path to the room it has; run again after a resize.
    void fitFileLabel();

    void FileNew();
    void FileOpen1();
    bool FileSave();
    bool FileSaveAs();
    void FileExit();
    // Opens a file as the Open command does once its dialog has named it: a relative name is
    // taken from the current folder. False when it did not load.
    bool OpenChosenFile(const QString &path);
    // Opens `path` after the save prompt, as a recent-file entry does. False when the user
    // cancelled or the file did not load.
    bool OpenPath(const QString &path);
    // A file dropped on the window: opened as the Open command opens a chosen file.
    void OpenDroppedFile(const QString &path);

    // Shows a recovered copy's RTF as the modified document `name` (the untitled name or a
    // path); the file of that name stays as it is until the user saves. False when the data
    // did not load.
    bool OpenRecovered(const QByteArray &rtf, const QString &name);

    // The file dialogs start in the document's folder, or the user's documents folder.
    QString dialogFolder() const { return m.Document->dialogFolder(); }

signals:
    // A document was opened or saved under a new name: the recent list takes it.
    void fileNamed(const QString &path);
    // A document was loaded: anchors are rebuilt from its text.
    void documentLoaded();
    // The document is about to be written as `rtf`.
    void saving(const QByteArray &rtf);
    // The editor was emptied for a new document: the paragraph format starts afresh.
    void documentCleared();

private:
    bool openDocument(const QString &path);
    bool writeDocument(const QString &path);
    bool saveAs(); // the file dialog and the write, after the save question
    // Whether a file of `size` bytes is to be loaded: at once, or when the user says so.
    bool sizeAccepted(const QString &path, qint64 size);
    void error(const QString &text);

    EditorContext &m;
    QLabel *m_fileLabel;
    QWidget *m_window;
};

} // namespace tessary
