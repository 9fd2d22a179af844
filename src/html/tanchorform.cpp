#include "html/tanchorform.h"

#include "html/anchors.h"
#include "richtext/readablecolours.h"
#include "richtext/richedit.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tessary {

namespace {
const QColor kChooseColor = QColor(0, 0, 0);
const char *const kTagProperty = "Tag";

bool noModifiers(Qt::KeyboardModifiers modifiers) {
    return (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

TAnchorForm::TAnchorForm(Anchors &anchors, QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m_anchors(anchors) {
    setObjectName(QStringLiteral("TAnchorForm"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    AnchorEditor = new RichEdit(this);
    AnchorEditor->setObjectName(QStringLiteral("AnchorEditor"));
    AnchorEditor->setFrameShape(QFrame::NoFrame);
    AnchorEditor->setLineWrapMode(QTextEdit::NoWrap);
    AnchorEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AnchorEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AnchorEditor->setReadOnly(true);
    // Read-only, yet Home and the line selection still move a visible caret.
    AnchorEditor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    AnchorEditor->viewport()->setCursor(Qt::ArrowCursor);
    AnchorEditor->installEventFilter(this);
    AnchorEditor->viewport()->installEventFilter(this);
    AnchorOkButton = new QPushButton(QStringLiteral("OK"), this);
    AnchorOkButton->setObjectName(QStringLiteral("AnchorOkButton"));
    AnchorCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    AnchorCancelButton->setObjectName(QStringLiteral("AnchorCancelButton"));
    // Enter on a focused button presses it; in the list it is the list's own key (OK).
    AnchorOkButton->setAutoDefault(true);
    AnchorCancelButton->setAutoDefault(true);
    AnchorCancelButton->setProperty(kTagProperty, 0);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(AnchorOkButton);
    buttons->addWidget(AnchorCancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(AnchorEditor, 1);
    layout->addLayout(buttons);
    resize(440, 300);

    connect(AnchorOkButton, &QPushButton::clicked, this, &TAnchorForm::AnchorOkButtonClick);
    connect(AnchorCancelButton, &QPushButton::clicked, this, &TAnchorForm::AnchorCancelButtonClick);
    setChooseMode();
}

void TAnchorForm::setLabels(const QString &caption, const QString &text1, const QColor &color1,
                            const QString &text2, const QColor &color2) {
    setWindowTitle(caption);
    for (auto [label, text, color] : {std::tuple{Label1, text1, color1}, {Label2, text2, color2}}) {
        // The anchor colours read on white, not on a dark theme's dialogs.
        setReadableControl(label, color, Qt::white);
        label->setAutoFillBackground(true);
        label->setText(text);
    }
}

void TAnchorForm::setChooseMode() {
    m_mode = Mode::Choose;
    setLabels(QStringLiteral("  Html Destination Anchors"),
              QStringLiteral("Choose one of the following anchors to assign a destination"),
              kChooseColor, QStringLiteral("to the selected source anchor."), kChooseColor);
}

void TAnchorForm::setReportMode() {
    m_mode = Mode::Report;
    setLabels(QStringLiteral("  Incomplete Html links"),
              QStringLiteral("Blue shows source anchor without destination."), QColor(0, 0, 255),
              QStringLiteral("Red shows destination anchor without source."), QColor(255, 0, 0));
}

int TAnchorForm::cancelTag() const {
    return AnchorCancelButton->property(kTagProperty).toInt();
}

void TAnchorForm::accept() {
    m_result = Result::Accepted;
    AnchorCancelButton->setProperty(kTagProperty, 0);
    QDialog::accept();
}

// Cancel ends here, and in choose mode Escape and the close box too.
void TAnchorForm::reject() {
    m_result = Result::Cancelled;
    AnchorCancelButton->setProperty(kTagProperty, reportMode() ? 1 : 0);
    QDialog::reject();
}

TAnchorForm::Result TAnchorForm::ShowReport(const QList<ReportLine> &lines) {
    setReportMode();
    AnchorEditor->clear();
    QTextCursor cursor(AnchorEditor->document());
    for (const ReportLine &line : lines) {
        if (cursor.position() > 0)
            cursor.insertBlock();
        QTextCharFormat format;
        format.setFontFamilies({QStringLiteral("Arial")});
        format.setFontPointSize(8);
        format.setForeground(line.color);
        cursor.insertText(line.text, format);
        if (!line.anchor.isEmpty())
            cursor.insertFragment(line.anchor);
    }
    exec();
    return m_result;
}

void TAnchorForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    FormActivate();
}

// Closing the report is reading it, as OK is: the page opens. Only Cancel keeps it shut.
void TAnchorForm::closeEvent(QCloseEvent *event) {
    if (!reportMode()) {
        QDialog::closeEvent(event);
        return;
    }
    accept();
    event->accept();
}

void TAnchorForm::keyPressEvent(QKeyEvent *event) {
    if (reportMode() && event->key() == Qt::Key_Escape) {
        event->accept(); // a report is answered by its buttons only
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAnchorForm::FormActivate() {
    AnchorEditor->setFocus();
    AnchorEditor->sendKey(Qt::Key_Home);
    if (!reportMode() && AnchorEditor->lineCount() > 0)
        selectLine(0);
}

void TAnchorForm::selectLine(int line) {
    AnchorEditor->setSelection(AnchorEditor->lineStart(line), AnchorEditor->lineLength(line));
    AnchorEditor->horizontalScrollBar()->setValue(0);
}

void TAnchorForm::AnchorOkButtonClick() {
    if (AnchorEditor->lineCount() == 0) {
        accept();
        return;
    }
    // The source anchor takes the number of the first character of the chosen line.
    if (!reportMode())
        m_anchors.MarkAnchor(Anchors::AnchorNumberOf(AnchorEditor), Anchors::kSrcAnchorColor);
    accept();
}

void TAnchorForm::AnchorCancelButtonClick() {
    reject();
}

bool TAnchorForm::AnchorEditorKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const bool plain = noModifiers(modifiers);
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        AnchorOkButtonClick();
        return true;
    }
    if (plain && key == Qt::Key_Left)
        return AnchorEditor->isReadOnly();
    // Escape (in choose mode) and Tab belong to the dialog, so the keyboard can still leave
    // the list; a report ignores Escape.
    if (key == Qt::Key_Escape && reportMode())
        return true;
    if (key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false;
    if (reportMode() || !plain)
        return true;
    const int line = AnchorEditor->caretPos().y();
    if (key == Qt::Key_Down) {
        if (line < AnchorEditor->lineCount() - 1)
            selectLine(line + 1);
        return true;
    }
    if (key == Qt::Key_Up) {
        if (line > 0)
            selectLine(line - 1);
        return true;
    }
    return key != Qt::Key_Home;
}

// Lines are compared by place, not by text: two anchors may read alike.
bool TAnchorForm::AnchorEditorMouseDown(const QPoint &position) {
    if (AnchorEditor->lineCount() == 0)
        return true;
    const int line =
        AnchorEditor->lineFromChar(AnchorEditor->cursorForPosition(position).position());
    const int start = AnchorEditor->lineStart(line);
    if (AnchorEditor->selStart() == start &&
        AnchorEditor->selLength() == AnchorEditor->lineLength(line))
        AnchorOkButtonClick();
    else
        selectLine(line);
    return true;
}

bool TAnchorForm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == AnchorEditor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        return AnchorEditorKeyDown(key->key(), key->modifiers());
    }
    if (watched != AnchorEditor->viewport())
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || mouse->modifiers() != Qt::NoModifier)
            return true;
        return AnchorEditorMouseDown(mouse->position().toPoint());
    }
    case QEvent::MouseMove: // a drag would select part of a line
        return static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

} // namespace tessary
