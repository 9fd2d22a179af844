#include "documents/documentfiles.h"

#include "documents/taboutbox.h"
#include "platform/fontregistry.h"
#include "platform/richedit.h"
#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace tessary {

namespace {
const QString kTitle = QStringLiteral("Tessary");

QString namePart(const QString &path) {
    return QFileInfo(path).fileName();
}

QString extensionOf(const QString &path) {
    const QString name = namePart(path);
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}
} // namespace

DocumentFiles::DocumentFiles(MainParts &parts, QWidget *window, QObject *parent)
    : QObject(parent)
    , m(parts)
    , m_window(window)
    , m_dialogFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)) {}

DocumentFiles::~DocumentFiles() = default;

QString DocumentFiles::untitledName() const {
    return m.AppDir + QStringLiteral("untitled.rtf");
}

QString DocumentFiles::fileFilter() {
    return QStringLiteral("Rich Text files (*.rtf);;Html files (*.html *.htm);;"
                          "Text files (*.txt);;All files (*)");
}

void DocumentFiles::setDialogFolder(const QString &folder) {
    if (!folder.isEmpty())
        m_dialogFolder = folder;
}

void DocumentFiles::error(const QString &text) {
    Services::dialogs().message(m_window, kTitle, text, QMessageBox::Critical);
}

bool DocumentFiles::LoadDocument(const QString &path) {
    m.BeginEditorUpdate();
    bool ok = false;
    const QFileInfo info(path);
    if (!info.isFile()) {
        Services::dialogs().message(m_window, kTitle,
                                    QStringLiteral("File  %1  does not exist.").arg(path));
    } else if (info.size() > kMaxFileSize) {
        // One arg() call: a "%1" inside the path must not be read as a placeholder.
        error(QStringLiteral("Unable to load %1.\r\n\r\nFile size exceeds 500KB.\r\n\r\n"
                             "Current size is %2 bytes.")
                  .arg(path, QString::number(info.size())));
    } else {
        QFile file(path);
        QByteArray data;
        if (file.open(QIODevice::ReadOnly))
            data = file.readAll();
        if (!file.isOpen()) {
            error(QStringLiteral("Cannot open %1. %2").arg(path, file.errorString()));
        } else if (file.error() != QFileDevice::NoError) {
            // Half a file loaded under its own name would be saved over the whole one.
            m.Editor->clear();
            error(QStringLiteral("Failed to Load Stream"));
        } else if (m.Editor->loadData(data) == RichEdit::LoadResult::Failed) {
            m.Editor->clear();
            error(QStringLiteral("Failed to Load Stream"));
        } else {
            ok = true;
        }
    }
    if (ok && extensionOf(path) != QLatin1String(".rtf")) {
        CharAttributes courier;
        courier.face = QStringLiteral("Courier New");
        courier.size = 10;
        courier.charset = 0;
        m.Editor->setRangeAttributes(0, m.Editor->textLength(), courier,
                                     CharAttributes::Face | CharAttributes::Size |
                                         CharAttributes::CharsetField);
        m.Editor->setSelection(0, 0);
    }
    m.EndEditorUpdate();
    return ok;
}

void DocumentFiles::ShowUntitled() {
    m.CurrentFileName = untitledName();
    m_window->setWindowTitle(QStringLiteral("Tessary - [untitled.rtf]"));
    m.CurrentFileLabel->setText(m.CurrentFileName);
    m.CurrentFileLabel->setToolTip(m.CurrentFileName);
    m.DocumentModified = false;
}

void DocumentFiles::ShowDocumentName() {
    m_window->setWindowTitle(QStringLiteral("Tessary - ") + namePart(m.CurrentFileName));
    fitFileLabel();
}

void DocumentFiles::fitFileLabel() {
    QLabel *label = m.CurrentFileLabel;
    const QString path = m.CurrentFileName;
    // The label may reach up to 50 pixels short of the "Line" caption that follows it.
    const QWidget *next = label->parentWidget()->findChild<QWidget *>("LineHeaderLabel");
    const int room = (next ? next->x() : label->parentWidget()->width()) - 50 - label->x();
    const QFontMetrics metrics(label->font());
    int shown = 0;
    while (shown < path.size() && metrics.horizontalAdvance(path.left(shown)) < room)
        ++shown;
    label->setText(shown < path.size() ? path.left(shown) + QStringLiteral(" ...") : path);
    label->setToolTip(path);
}

void DocumentFiles::loaded(const QString &path) {
    m.CurrentFileName = path;
    ShowDocumentName();
    emit fileNamed(path);
    emit documentLoaded();
    m.DocumentModified = false;
}

void DocumentFiles::FileNew() {
    m.HideFnHint();
    if (ConfirmSaveChanges() == QMessageBox::Cancel)
        return;
    m.Editor->clear();
    m.ResetParagraphFormat();
    ShowUntitled();
}

void DocumentFiles::FileOpen1() {
    m.HideFnHint();
    if (ConfirmSaveChanges() == QMessageBox::Cancel)
        return;
    const QString path = Services::dialogs().openFileName(m_window, QStringLiteral("Open File"),
                                                          m_dialogFolder, fileFilter());
    if (!path.isEmpty())
        OpenChosenFile(path);
}

bool DocumentFiles::OpenChosenFile(const QString &chosen) {
    const QString path = QFileInfo(chosen).absoluteFilePath();
    m.Editor->clear();
    if (!LoadDocument(path)) {
        ShowUntitled(); // never carry the name of a file that did not load
        return false;
    }
    m_dialogFolder = QFileInfo(path).absolutePath();
    loaded(path);
    return true;
}

bool DocumentFiles::OpenPath(const QString &path) {
    m.HideFnHint();
    if (ConfirmSaveChanges() == QMessageBox::Cancel)
        return false;
    m.Editor->clear();
    if (!LoadDocument(path)) {
        ShowUntitled();
        return false;
    }
    loaded(path);
    return true;
}

bool DocumentFiles::writeDocument(const QString &path) {
    // QSaveFile writes beside the target and renames over it, so a failure leaves the old
    // file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m.Editor->rtfData()) < 0 || !file.commit()) {
        error(QStringLiteral("Cannot save %1.\r\n\r\n%2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool DocumentFiles::FileSave() {
    m.HideFnHint();
    if (m.CurrentFileName == untitledName())
        return FileSaveAs();
    if (!writeDocument(m.CurrentFileName))
        return false;
    m.DocumentModified = false;
    return true;
}

bool DocumentFiles::FileSaveAs() {
    m.HideFnHint();
    const QString start = QDir(m_dialogFolder).filePath(namePart(m.CurrentFileName));
    const QString path = Services::dialogs().saveFileName(
        m_window, QStringLiteral("Save File"), start, fileFilter(), QStringLiteral("rtf"));
    if (path.isEmpty() || !writeDocument(path))
        return false;
    m.CurrentFileName = path;
    emit fileNamed(path);
    ShowDocumentName();
    m.DocumentModified = false;
    return true;
}

QMessageBox::StandardButton DocumentFiles::ConfirmSaveChanges() {
    if (!m.DocumentModified)
        return QMessageBox::No;
    const auto answer = Services::dialogs().ask(
        m_window, kTitle, QStringLiteral("Save changes to %1?").arg(m.CurrentFileName),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes && !FileSave())
        return QMessageBox::Cancel;
    return answer == QMessageBox::Yes || answer == QMessageBox::No ? answer : QMessageBox::Cancel;
}

void DocumentFiles::FileExit() {
    m.HideFnHint();
    m_window->close();
}

void DocumentFiles::EditUndo() {
    m.HideFnHint();
    m.Editor->undo();
}

void DocumentFiles::EditCut() {
    m.HideFnHint();
    m.Editor->cut();
}

void DocumentFiles::EditCopy() {
    m.HideFnHint();
    QApplication::clipboard()->clear();
    m.Editor->copy();
}

void DocumentFiles::EditPaste() {
    m.HideFnHint();
    m.Editor->paste();
}

void DocumentFiles::EditDelete() {
    m.HideFnHint();
    if (m.Editor->selLength() == 0)
        m.Editor->setSelLength(1);
    m.Editor->replaceSelection(QString());
}

void DocumentFiles::EditSelectAll() {
    m.HideFnHint();
    m.Editor->selectAll();
}

void DocumentFiles::HelpContents() {
    m.HideFnHint();
    const QString page = FontRegistry::dataDirectory() + QStringLiteral("/help/contents.html");
    Services::shell().open(QUrl::fromLocalFile(page));
}

void DocumentFiles::HelpAbout() {
    m.HideFnHint();
    if (!m_about)
        m_about = new TAboutBox(m_window);
    m_about->exec();
}

} // namespace tessary
