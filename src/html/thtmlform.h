#pragma once

#include "html/htmlwriter.h"
#include "html/tanchorform.h"
#include "richtext/editorcontext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tessary {

class Anchors;

// The "Generate Html" dialog: the page's file name, title and keywords. OK writes the page,
// shows the incomplete links in the anchor dialog's report mode, and opens the page with the
// desktop's default application unless the report was cancelled. The three fields keep their
// texts from one use to the next.
class THtmlForm : public QDialog {
    Q_OBJECT
public:
    THtmlForm(EditorContext &context, Anchors &anchors, QWidget *parent = nullptr);

    // The Generate Html command: proposes the file name and shows the dialog modally; the
    // document's modified flag is the same afterwards.
    void HtmlGenerateExecute();
    // The name proposed for the page from the current document and an earlier choice.
    QString proposedFileName() const;

    void BrowseButtonClick();
    void HtmlOkButtonClick();

    QLabel *HtmlFileNameLabel = nullptr;
    QLineEdit *HtmlFileName = nullptr;
    QPushButton *BrowseButton = nullptr;
    QLabel *HtmlTitleLabel = nullptr;
    QLineEdit *HtmlTitle = nullptr;
    QLabel *HtmlKeywordsLabel = nullptr;
    QLineEdit *HtmlKeywords = nullptr;
    QPushButton *HtmlOkButton = nullptr;
    QPushButton *HtmlCancelButton = nullptr;
    QProgressBar *ProgressBar = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // False, with a message, when the page would replace the open document.
    bool acceptableTarget(const QString &path);
    void ReportIncompleteLink(const HtmlWriter::IncompleteLink &link);

    EditorContext &m;
    Anchors &m_anchors;
    QString m_saveFolder; // where the save dialog starts
    QList<TAnchorForm::ReportLine> m_report;
};

} // namespace tessary
