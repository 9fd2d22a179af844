#include "documents/findreplace.h"

#include "platform/services.h"
#include "richtext/richedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tessary {

namespace {
QPushButton *addButton(QVBoxLayout *column, QWidget *dialog, const QString &text,
                       const QString &name) {
    auto *button = new QPushButton(text, dialog);
    button->setObjectName(name);
    column->addWidget(button);
    return button;
}
} // namespace

// ---- the dialogs ------------------------------------------------------------------------

FindDialog::FindDialog(QWidget *parent)
    : FindDialog(parent, false) {}

FindDialog::FindDialog(QWidget *parent, bool withReplace)
    : QDialog(parent) {
    setObjectName(withReplace ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
    setWindowTitle(withReplace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);
    auto *grid = new QGridLayout(this);
    FindTextEdit = new QLineEdit(this);
    FindTextEdit->setObjectName(QStringLiteral("FindText"));
    auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(FindTextEdit);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(FindTextEdit, 0, 1);
    MatchCaseBox = new QCheckBox(QStringLiteral("Match &case"), this);
    MatchCaseBox->setObjectName(QStringLiteral("MatchCase"));
    WholeWordBox = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    WholeWordBox->setObjectName(QStringLiteral("WholeWord"));
    grid->addWidget(WholeWordBox, 2, 0, 1, 2);
    grid->addWidget(MatchCaseBox, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);

    auto *column = new QVBoxLayout;
    FindNextButton =
        addButton(column, this, QStringLiteral("&Find Next"), QStringLiteral("FindNextButton"));
    // Enter in a text box finds the next hit; on a focused button it presses that button.
    FindNextButton->setDefault(true);
    connect(FindNextButton, &QPushButton::clicked, this, &FindDialog::find);
    CancelButton =
        addButton(column, this, QStringLiteral("Cancel"), QStringLiteral("CancelButton"));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);
    column->addStretch();
    grid->addLayout(column, 0, 2, 5, 1);
}

QString FindDialog::findText() const {
    return FindTextEdit->text();
}
void FindDialog::setFindText(const QString &text) {
    FindTextEdit->setText(text);
}
bool FindDialog::matchCase() const {
    return MatchCaseBox->isChecked();
}
bool FindDialog::wholeWord() const {
    return WholeWordBox->isChecked();
}
void FindDialog::setOptions(bool matchCase, bool wholeWord) {
    MatchCaseBox->setChecked(matchCase);
    WholeWordBox->setChecked(wholeWord);
}

ReplaceDialog::ReplaceDialog(QWidget *parent)
    : FindDialog(parent, true) {
    auto *grid = static_cast<QGridLayout *>(layout());
    ReplaceTextEdit = new QLineEdit(this);
    ReplaceTextEdit->setObjectName(QStringLiteral("ReplaceText"));
    auto *label = new QLabel(QStringLiteral("Re&place with:"), this);
    label->setBuddy(ReplaceTextEdit);
    grid->addWidget(label, 1, 0);
    grid->addWidget(ReplaceTextEdit, 1, 1);

    auto *column = static_cast<QVBoxLayout *>(grid->itemAtPosition(0, 2)->layout());
    ReplaceButton = new QPushButton(QStringLiteral("&Replace"), this);
    ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    ReplaceAllButton = new QPushButton(QStringLiteral("Replace &All"), this);
    ReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
    column->insertWidget(1, ReplaceButton);
    column->insertWidget(2, ReplaceAllButton);
    // The request is set before the base class's find() reaches the handler.
    disconnect(FindNextButton, &QPushButton::clicked, this, &FindDialog::find);
    connect(FindNextButton, &QPushButton::clicked, this, [this] {
        m_request = Request::FindNext;
        emit find();
    });
    connect(ReplaceButton, &QPushButton::clicked, this, [this] {
        m_request = Request::Replace;
        emit replace();
    });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] {
        m_request = Request::ReplaceAll;
        emit replace();
    });
}

QString ReplaceDialog::replaceText() const {
    return ReplaceTextEdit->text();
}
void ReplaceDialog::setReplaceText(const QString &text) {
    ReplaceTextEdit->setText(text);
}

// ---- searching --------------------------------------------------------------------------

FindReplace::FindReplace(RichEdit *editor, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_editor(editor)
    , m_window(window)
    , m_find(new FindDialog(window))
    , m_replace(new ReplaceDialog(window)) {
    connect(m_find, &FindDialog::find, this, [this] { FindInEditor(m_editor); });
    connect(m_replace, &FindDialog::find, this, [this] { ReplaceInEditor(m_editor); });
    connect(m_replace, &ReplaceDialog::replace, this, [this] { ReplaceInEditor(m_editor); });
}

void FindReplace::SearchFind() {
    showDialog(m_find, Mode::Find);
}

void FindReplace::SearchReplace() {
    showDialog(m_replace, Mode::Replace);
}

// The dialog opens centred over the editor, level with its first text line.
void FindReplace::showDialog(QDialog *dialog, Mode mode) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    m_mode = mode;
    const QWidget *frame = m_editor->parentWidget() ? m_editor->parentWidget() : m_window;
    const int x = m_editor->mapToGlobal(QPoint(0, 0)).x() +
                  (m_editor->width() - dialog->frameGeometry().width()) / 2;
    dialog->move(x, frame->mapToGlobal(QPoint(0, m_dialogOffset)).y());
}

int FindReplace::search(const RichEdit *control, int start) const {
    const QString text = m_find->findText();
    if (text.isEmpty())
        return -1;
    QTextDocument::FindFlags flags;
    if (m_find->matchCase())
        flags |= QTextDocument::FindCaseSensitively;
    if (m_find->wholeWord())
        flags |= QTextDocument::FindWholeWords;
    const QTextCursor hit = control->document()->find(text, start, flags);
    return hit.isNull() ? -1 : hit.selectionStart();
}

void FindReplace::FindInEditor(RichEdit *control) {
    const int length = control->selLength();
    findFrom(control, length > 0 ? control->selStart() + length : 0);
}

void FindReplace::findFrom(RichEdit *control, int start) {
    const QString text = m_find->findText();
    const int p = search(control, start);
    if (p < 0) {
        if (control->objectName() == QLatin1String("Editor"))
            Services::dialogs().message(m_window, QStringLiteral("Tessary"),
                                        QStringLiteral("End of search for '%1'").arg(text),
                                        QMessageBox::Information);
        m_find->close();
        m_replace->close();
        control->collapseSelection();
        return;
    }
    // Replace All runs unseen, and a control on a hidden form (the HTML export's scratch
    // copy) must not bring the dialogs back.
    const bool present =
        control->isVisible() &&
        (m_mode == Mode::Find ||
         (m_mode == Mode::Replace && m_replace->request() != ReplaceDialog::Request::ReplaceAll));
    if (present)
        control->setFocus();
    control->setSelection(p, int(text.size()));
    if (!present)
        return;
    control->ensureCursorVisible();
    QTextCursor edge(control->document());
    edge.setPosition(p);
    QRect hit = control->cursorRect(edge);
    edge.setPosition(p + int(text.size()));
    hit = hit.united(control->cursorRect(edge));
    hit.moveTopLeft(control->viewport()->mapToGlobal(hit.topLeft()));
    QDialog *dialog = m_mode == Mode::Find ? static_cast<QDialog *>(m_find) : m_replace;
    dialog->show();
    dialog->raise();
    PlaceDialog(hit);
}

void FindReplace::ReplaceInEditor(RichEdit *control) {
    m_find->setFindText(m_replace->findText());
    m_find->setOptions(m_replace->matchCase(), m_replace->wholeWord());
    switch (m_replace->request()) {
    case ReplaceDialog::Request::ReplaceAll:
        replaceAll(control);
        break;
    case ReplaceDialog::Request::FindNext:
        FindInEditor(control);
        break;
    case ReplaceDialog::Request::Replace:
        // Whatever is selected is replaced, matching or not.
        if (control->selLength() > 0)
            replaceSelection(control);
        else
            FindInEditor(control);
        break;
    }
}

// The search goes on after the inserted text. An empty replacement leaves no selection,
// which would otherwise send the search back to the top.
void FindReplace::replaceSelection(RichEdit *control) {
    const int start = control->selStart();
    const QString text = m_replace->replaceText();
    control->replaceSelection(text);
    control->setSelection(start, int(text.size()));
    findFrom(control, start + int(text.size()));
}

// Each hit is replaced and the search goes on after the inserted text, up to the first miss,
// which ends the search as usual. The control's own selection is left alone meanwhile: moving
// it per hit would cost a layout each time.
void FindReplace::replaceAll(RichEdit *control) {
    int from = 0;
    {
        const RichEdit::UpdateGroup group(*control);
        const QString replacement = m_replace->replaceText();
        const int findLength = int(m_find->findText().size());
        const int length = control->selLength();
        from = length > 0 ? control->selStart() + length : 0;
        int last = -1;
        QTextCursor cursor(control->document());
        for (int p = search(control, from); p >= 0; p = search(control, from)) {
            cursor.setPosition(p);
            cursor.setPosition(p + findLength, QTextCursor::KeepAnchor);
            if (control->textLength() - findLength + replacement.size() <= control->textLimit())
                cursor.insertText(replacement);
            from = p + int(replacement.size());
            last = p;
        }
        if (last >= 0) // the last inserted text, where the closing miss leaves the caret
            control->setSelection(last, int(replacement.size()));
    }
    // The closing message waits for an answer: the user reads it over the replaced text.
    control->viewport()->repaint();
    findFrom(control, from);
}

void FindReplace::PlaceDialog(const QRect &hit) {
    QDialog *dialog = m_mode == Mode::Find ? static_cast<QDialog *>(m_find) : m_replace;
    const QRect frame = dialog->frameGeometry();
    if (!frame.intersects(hit))
        return;
    // Above the hit when the screen has room there, else below it.
    const int above = hit.top() - frame.height() - 1;
    const QScreen *screen = dialog->screen();
    if (screen && above >= screen->availableGeometry().top())
        dialog->move(frame.x(), above);
    else
        dialog->move(frame.x(), hit.bottom() + 2);
}

} // namespace tessary
