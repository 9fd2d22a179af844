#include "documents/documentfiles.h"

#include "documents/documentsize.h"
#include "documents/savecheck.h"

#include "platform/safeoutput.h"
#include "platform/services.h"
#include "richtext/documentstate.h"
#include "richtext/richedit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
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

DocumentFiles::DocumentFiles(EditorContext &context, QLabel *fileLabel, QWidget *window,
                             QObject *parent)
    : QObject(parent)
    , m(context)
    , m_fileLabel(fileLabel)
    , m_window(window) {
    connect(m.Document, &DocumentState::changed, this, &DocumentFiles::ShowDocumentName);
}

QString DocumentFiles::untitledName() const {
    return m.AppDir + QStringLiteral("untitled.rtf");
}

QString DocumentFiles::fileFilter() {
    return QStringLiteral("Rich Text files (*.rtf);;Html files (*.html *.htm);;"
                          "Text files (*.txt);;All files (*)");
}

void DocumentFiles::error(const QString &text) {
    Services::dialogs().message(m_window, kTitle, text, QMessageBox::Critical);
}

bool DocumentFiles::LoadDocument(const QString &path) {
    const RichEdit::UpdateGroup group(*m.Editor);
    const QFileInfo info(path);
    if (!info.isFile()) {
        Services::dialogs().message(m_window, kTitle,
                                    QStringLiteral("File  %1  does not exist.").arg(path),
                                    QMessageBox::NoIcon);
        return false;
    }
    if (!sizeAccepted(path, info.size()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error(QStringLiteral("Cannot open %1. %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray data = file.read(DocumentSize::kReadLimit + 1);
    // A file that grows while it is read is still held to the limits.
    if (data.size() > info.size() && !sizeAccepted(path, data.size()))
        return false;
    // Half a file, or one that is neither RTF nor text, leaves the document as it was.
    if (file.error() != QFileDevice::NoError ||
        m.Editor->loadData(data) == RichEdit::LoadResult::Failed) {
        error(QStringLiteral("Failed to Load Stream"));
        return false;
    }
    if (extensionOf(path) != QLatin1String(".rtf")) {
        CharAttributes courier;
        courier.face = QStringLiteral("Courier New");
        courier.size = 10;
        courier.charset = 0;
        m.Editor->setRangeAttributes(0, m.Editor->textLength(), courier,
                                     CharAttributes::Face | CharAttributes::Size |
                                         CharAttributes::CharsetField);
        m.Editor->setSelection(0, 0);
    }
    return true;
}

bool DocumentFiles::sizeAccepted(const QString &path, qint64 size) {
    const DocumentSize::Check verdict = DocumentSize::check(path, size);
    switch (verdict.verdict) {
    case DocumentSize::Verdict::Open:
        return true;
    case DocumentSize::Verdict::Confirm:
        return Services::dialogs().ask(
                   m_window, kTitle, DocumentSize::confirmQuestion(verdict.message),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning) == QMessageBox::Yes;
    case DocumentSize::Verdict::Refuse:
        break;
    }
    error(verdict.message);
    return false;
}

void DocumentFiles::ShowUntitled() {
    m.Document->setUntitled(untitledName());
    ShowDocumentName();
}

// The title's [*] is the desktop's mark of unsaved work, shown while the document is modified.
void DocumentFiles::ShowDocumentName() {
    const QString name = m.Document->CurrentFileName();
    if (name != untitledName()) {
        // A "[*]" of the name itself is doubled, which the title shows as written.
        QString shown = namePart(name).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
        m_window->setWindowTitle(QStringLiteral("Tessary - ") + shown + QStringLiteral("[*]"));
        m_window->setWindowModified(m.Document->DocumentModified());
        fitFileLabel();
        return;
    }
    m_window->setWindowTitle(QStringLiteral("Tessary - [untitled.rtf][*]"));
    m_window->setWindowModified(m.Document->DocumentModified());
    m_fileLabel->setText(name);
    m_fileLabel->setToolTip(name);
}

void DocumentFiles::fitFileLabel() {
    QLabel *label = m_fileLabel;
    const QString path = m.Document->CurrentFileName();
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

// The one open sequence, after the save prompt.
bool DocumentFiles::openDocument(const QString &path) {
    if (!LoadDocument(path))
        return false; // the current document stays, under its own name
    emit fileNamed(path);
    emit documentLoaded();
    // Rebuilding the anchors rewrites paragraph formats; the loaded text is still unchanged,
    // and Undo must not lead back to the previous document's formats.
    m.Editor->document()->clearUndoRedoStacks();
    m.Document->setSaved(path);
    return true;
}

bool DocumentFiles::OpenRecovered(const QByteArray &rtf, const QString &name) {
    m.Editor->clear();
    if (m.Editor->loadData(rtf) == RichEdit::LoadResult::Failed) {
        m.Editor->clear();
        ShowUntitled();
        return false;
    }
    emit documentLoaded();
    m.Editor->document()->clearUndoRedoStacks();
    m.Document->setSaved(name);
    m.Document->setDocumentModified(true);
    return true;
}

void DocumentFiles::FileNew() {
    if (ConfirmSaveChanges() == QMessageBox::Cancel)
        return;
    m.Editor->clear();
    emit documentCleared();
    ShowUntitled();
}

void DocumentFiles::FileOpen1() {
    if (ConfirmSaveChanges() == QMessageBox::Cancel)
        return;
    const QString path = Services::dialogs().openFileName(m_window, QStringLiteral("Open File"),
                                                          dialogFolder(), fileFilter());
    if (!path.isEmpty())
        OpenChosenFile(path);
}

bool DocumentFiles::OpenChosenFile(const QString &chosen) {
    const QString path = QFileInfo(chosen).absoluteFilePath();
    return openDocument(path);
}

void DocumentFiles::OpenDroppedFile(const QString &path) {
    m.HideFnHint();
    if (ConfirmSaveChanges() != QMessageBox::Cancel)
        OpenChosenFile(path);
}

bool DocumentFiles::OpenPath(const QString &path) {
    return ConfirmSaveChanges() != QMessageBox::Cancel && openDocument(path);
}

bool DocumentFiles::writeDocument(const QString &path) {
    // A temporary file renamed over the old one, so a failure leaves the old file as it was;
    // only a folder that refuses new files makes it write the file in place.
    const QByteArray rtf = m.Editor->rtfData();
    const QString tooLong = DocumentSize::saveWarning(path, rtf.size());
    if (!tooLong.isNull() &&
        Services::dialogs().ask(m_window, kTitle, tooLong, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Warning) != QMessageBox::Yes)
        return false;
    emit saving(rtf);
    QString reason;
    if (!SafeOutput::write(path, rtf, &reason, SafeOutput::Fallback::InPlace)) {
        error(QStringLiteral("Cannot save %1.\r\n\r\n%2").arg(path, reason));
        return false;
    }
    return true;
}

bool DocumentFiles::FileSave() {
    const QString name = m.Document->CurrentFileName();
    if (name == untitledName())
        return FileSaveAs();
    switch (SaveCheck::ask(m_window, m.Editor->document())) {
    case SaveCheck::Answer::Cancel:
        return false;
    case SaveCheck::Answer::SaveAs:
        return saveAs();
    case SaveCheck::Answer::Save:
        break;
    }
    if (!writeDocument(name))
        return false;
    m.Document->setSaved(name);
    return true;
}

bool DocumentFiles::FileSaveAs() {
    // Save As asks the same question; its own answer goes on to the file dialog.
    if (SaveCheck::ask(m_window, m.Editor->document()) == SaveCheck::Answer::Cancel)
        return false;
    return saveAs();
}

bool DocumentFiles::saveAs() {
    const QString start = QDir(dialogFolder()).filePath(namePart(m.Document->CurrentFileName()));
    const QString path = Services::dialogs().saveFileName(
        m_window, QStringLiteral("Save File"), start, fileFilter(), QStringLiteral("rtf"));
    if (path.isEmpty() || !writeDocument(path))
        return false;
    m.Document->setSaved(path);
    emit fileNamed(path);
    return true;
}

QMessageBox::StandardButton DocumentFiles::ConfirmSaveChanges() {
    if (!m.Document->DocumentModified())
        return QMessageBox::No;
    const auto answer = Services::dialogs().ask(
        m_window, kTitle, QStringLiteral("Save changes to %1?").arg(m.Document->CurrentFileName()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Information);
    if (answer == QMessageBox::Yes && !FileSave())
        return QMessageBox::Cancel;
    return answer == QMessageBox::Yes || answer == QMessageBox::No ? answer : QMessageBox::Cancel;
}

void DocumentFiles::FileExit() {
    m_window->close();
}

} // namespace tessary
