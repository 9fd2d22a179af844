#include "html/thtmlform.h"

#include "html/anchors.h"
#include "html/tanchorform.h"
#include "platform/safeoutput.h"
#include "platform/services.h"
#include "richtext/documentstate.h"
#include "richtext/richedit.h"
#include "rtf/textformat.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QVBoxLayout>

namespace tessary {

namespace {
// `name` with whatever follows the last "." of its name part replaced by "html".
QString withHtmlExtension(const QString &name) {
    const int slash = int(name.lastIndexOf(QLatin1Char('/')));
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return (dot > slash ? name.left(dot) : name) + QStringLiteral(".html");
}

QString folderOf(const QString &path) {
    return QFileInfo(path).absolutePath();
}
} // namespace

THtmlForm::THtmlForm(EditorContext &context, Anchors &anchors, QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m(context)
    , m_anchors(anchors) {
    setObjectName(QStringLiteral("THtmlForm"));
    setWindowTitle(QStringLiteral("  Generate Html"));
    auto named = [this](auto *widget, const char *name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    ProgressBar = named(new QProgressBar(this), "ProgressBar");
    ProgressBar->setTextVisible(false);
    ProgressBar->setFixedHeight(6);
    HtmlFileNameLabel =
        named(new QLabel(QStringLiteral("Html file name:"), this), "HtmlFileNameLabel");
    HtmlFileName = named(new QLineEdit(this), "HtmlFileName");
    BrowseButton = named(new QPushButton(QStringLiteral("Browse"), this), "BrowseButton");
    HtmlTitleLabel =
        named(new QLabel(QStringLiteral("Optional title for html page: "), this), "HtmlTitleLabel");
    HtmlTitle = named(new QLineEdit(this), "HtmlTitle");
    HtmlKeywordsLabel =
        named(new QLabel(QStringLiteral("Optional keywords for search engines:"), this),
              "HtmlKeywordsLabel");
    HtmlKeywords = named(new QLineEdit(this), "HtmlKeywords");
    HtmlOkButton = named(new QPushButton(QStringLiteral("OK"), this), "HtmlOkButton");
    HtmlCancelButton = named(new QPushButton(QStringLiteral("Cancel"), this), "HtmlCancelButton");
    // Enter runs OK only from the file name and the title, as their own key handlers do;
    // on a focused button it presses that button (keyPressEvent).
    for (QPushButton *button : {BrowseButton, HtmlOkButton, HtmlCancelButton})
        button->setAutoDefault(false);
    HtmlFileNameLabel->setBuddy(HtmlFileName);
    HtmlTitleLabel->setBuddy(HtmlTitle);
    HtmlKeywordsLabel->setBuddy(HtmlKeywords);

    auto *grid = new QGridLayout;
    grid->addWidget(HtmlFileNameLabel, 0, 0, 1, 2);
    grid->addWidget(HtmlFileName, 1, 0);
    grid->addWidget(BrowseButton, 1, 1);
    grid->addWidget(HtmlTitleLabel, 2, 0, 1, 2);
    grid->addWidget(HtmlTitle, 3, 0, 1, 2);
    grid->addWidget(HtmlKeywordsLabel, 4, 0, 1, 2);
    grid->addWidget(HtmlKeywords, 5, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(HtmlOkButton);
    buttons->addWidget(HtmlCancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(ProgressBar);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 4, 10, 0);
    body->addLayout(grid);
    body->addLayout(buttons);
    layout->addLayout(body);
    setTabOrder(HtmlFileName, BrowseButton);
    setTabOrder(BrowseButton, HtmlTitle);
    setTabOrder(HtmlTitle, HtmlKeywords);
    setTabOrder(HtmlKeywords, HtmlOkButton);
    setTabOrder(HtmlOkButton, HtmlCancelButton);
    resize(420, sizeHint().height());
    ProgressBar->hide();

    connect(HtmlFileName, &QLineEdit::returnPressed, this, &THtmlForm::HtmlOkButtonClick);
    connect(HtmlTitle, &QLineEdit::returnPressed, this, &THtmlForm::HtmlOkButtonClick);
    connect(BrowseButton, &QPushButton::clicked, this, &THtmlForm::BrowseButtonClick);
    connect(HtmlOkButton, &QPushButton::clicked, this, &THtmlForm::HtmlOkButtonClick);
    connect(HtmlCancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void THtmlForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    HtmlFileName->setFocus();
}

QString THtmlForm::proposedFileName() const {
    const QString current = m.Document->CurrentFileName();
    if (HtmlFileName->text().isEmpty())
        return m.Document->proposedName(QStringLiteral(".html"));
    return withHtmlExtension(folderOf(HtmlFileName->text()) + QLatin1Char('/') +
                             QFileInfo(current).fileName());
}

void THtmlForm::HtmlGenerateExecute() {
    const bool modified = m.Document->DocumentModified();
    // Rebuilding the anchor tables may bring the caret into view; the user's view stays.
    const int scroll = m.Editor->verticalScrollBar()->value();
    m.HideFnHint();
    m_anchors.ScanAnchors();
    if (HtmlFileName->text().isEmpty())
        m_saveFolder = m.Document->dialogFolder();
    HtmlFileName->setText(proposedFileName());
    ProgressBar->hide();
    exec();
    m.Editor->verticalScrollBar()->setValue(scroll);
    m.Document->setDocumentModified(modified);
}

void THtmlForm::BrowseButtonClick() {
    const QString chosen = Services::dialogs().saveFileName(
        this, QStringLiteral("Html file name"),
        m_saveFolder + QLatin1Char('/') + QFileInfo(HtmlFileName->text()).fileName(),
        QStringLiteral("Html files (*.html *.htm);;All files (*)"), QStringLiteral("html"));
    if (chosen.isEmpty())
        return;
    HtmlFileName->setText(chosen);
    m_saveFolder = folderOf(chosen);
}

void THtmlForm::keyPressEvent(QKeyEvent *event) {
    auto *button = qobject_cast<QPushButton *>(focusWidget());
    if (button && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool THtmlForm::acceptableTarget(const QString &path) {
    // The same file under any name, a hard link included.
    if (!SafeOutput::sameFile(QFile::encodeName(path),
                              QFile::encodeName(m.Document->CurrentFileName())))
        return true;
    Services::dialogs().message(this, QStringLiteral("Tessary"),
                                path + QStringLiteral(" is the document itself; choose "
                                                      "another name for the html page."),
                                QMessageBox::Warning);
    return false;
}

void THtmlForm::HtmlOkButtonClick() {
    const QString path = HtmlFileName->text();
    if (!acceptableTarget(path))
        return;
    // The page follows the display lines and their measures, which must not depend on zoom.
    const RichEdit::UnscaledView unscaled(*m.Editor);
    m_anchors.GrabDestAnchors();
    m_report.clear();
    const HtmlLinks links = HtmlLinks::fromAnchors(m_anchors);
    const ScreenService &screen = Services::screen();
    HtmlWriter writer(*m.Editor, links,
                      {HtmlTitle->text(), HtmlKeywords->text(), screen.width(), documentDpi()});
    ProgressBar->setRange(0, qMax(1, m.Editor->lineCount()));
    ProgressBar->setValue(0);
    ProgressBar->show();
    // The writer does not return to the event loop, so the bar paints itself now and then.
    writer.onLine = [this](int line, int lines) {
        if (line % qMax(1, lines / 50) == 0) {
            ProgressBar->setValue(line);
            ProgressBar->repaint();
        }
    };
    writer.onIncompleteLink = [this](const auto &link) { ReportIncompleteLink(link); };
    QString error;
    const bool written = writer.writeFile(path, &error);
    ProgressBar->hide();
    if (!written) {
        Services::dialogs().message(this, QStringLiteral("Tessary"), error, QMessageBox::Critical);
        return;
    }
    accept();
    if (m_report.isEmpty() ||
        m_anchors.form().ShowReport(m_report) == TAnchorForm::Result::Accepted)
        Services::shell().open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

// An entry is "Line N: " followed by the anchor's own characters and format.
void THtmlForm::ReportIncompleteLink(const HtmlWriter::IncompleteLink &link) {
    QTextCursor source(m.Editor->document());
    source.setPosition(link.start);
    source.setPosition(link.start + link.length, QTextCursor::KeepAnchor);
    const QString text = link.asText
                             ? QStringLiteral("Line %1, written as text (not a web, mail or file "
                                              "address): ")
                             : QStringLiteral("Line %1: ");
    m_report.append({text.arg(link.line), QColor(Qt::black), QTextDocumentFragment(source)});
}

} // namespace tessary
