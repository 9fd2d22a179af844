#pragma once

#include "editor/mainparts.h"

#include <QMessageBox>
#include <QObject>

class QWidget;

namespace tessary {

class TAboutBox;

// The document commands: new, open, save, save as, the save prompt and the close sequence's
// part of it, the Edit commands that act on the control, and the Help commands.
class DocumentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxFileSize = 512000;

    DocumentFiles(MainParts &parts, QWidget *window, QObject *parent = nullptr);
    ~DocumentFiles() override;

    QString untitledName() const;
    static QString fileFilter();

    bool LoadDocument(const QString &path);
    // Yes, No or Cancel. A Yes whose save did not happen (Save As cancelled, a write error)
    // reads as Cancel, so the caller keeps the changes.
    QMessageBox::StandardButton ConfirmSaveChanges();
    void ShowDocumentName();
    // The untitled document: its name in the title and the status panel, nothing to save.
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

    void EditUndo();
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditDelete();
    void EditSelectAll();
    void HelpContents();
    void HelpAbout();

    // Both file dialogs start in this folder (set at start from the newest recent file).
    void setDialogFolder(const QString &folder);
    QString dialogFolder() const { return m_dialogFolder; }

signals:
    // A document was opened or saved under a new name: the recent list takes it.
    void fileNamed(const QString &path);
    // A document was loaded: anchors are rebuilt from its text.
    void documentLoaded();

private:
    bool writeDocument(const QString &path);
    void loaded(const QString &path);
    void error(const QString &text);

    MainParts &m;
    QWidget *m_window;
    QString m_dialogFolder;
    TAboutBox *m_about = nullptr;
};

} // namespace tessary
