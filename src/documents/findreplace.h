#pragma once

#include <QDialog>
#include <QObject>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tessary {

class RichEdit;

// The modeless find dialog: a text, match case, whole word, always searching down.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget *parent = nullptr);

    QString findText() const;
    void setFindText(const QString &text);
    bool matchCase() const;
    bool wholeWord() const;
    void setOptions(bool matchCase, bool wholeWord);

    QLineEdit *FindTextEdit = nullptr;
    QCheckBox *MatchCaseBox = nullptr;
    QCheckBox *WholeWordBox = nullptr;
    QPushButton *FindNextButton = nullptr;
    QPushButton *CancelButton = nullptr;

signals:
    // Find Next was pressed.
    void find();

protected:
    explicit FindDialog(QWidget *parent, bool withReplace);
};

// The modeless replace dialog: the find dialog's fields, a replace text, and the request
// of the button last pressed.
class ReplaceDialog : public FindDialog {
    Q_OBJECT
public:
    enum class Request { FindNext, Replace, ReplaceAll };

    explicit ReplaceDialog(QWidget *parent = nullptr);

    QString replaceText() const;
    void setReplaceText(const QString &text);
    Request request() const { return m_request; }
    void setRequest(Request request) { m_request = request; }

    QLineEdit *ReplaceTextEdit = nullptr;
    QPushButton *ReplaceButton = nullptr;
    QPushButton *ReplaceAllButton = nullptr;

signals:
    // Replace or Replace All was pressed; Find Next sends find().
    void replace();

private:
    Request m_request = Request::FindNext;
};

// Search and replace on any rich-text control with the two dialogs' texts and options.
class FindReplace : public QObject {
    Q_OBJECT
public:
    enum class Mode { None, Find, Replace };

    // `editor` is the window's main control; only a miss there is reported.
    FindReplace(RichEdit *editor, QWidget *window, QObject *parent = nullptr);
    // The dialogs open this far below the top of the editor's frame.
    void setDialogOffset(int offset) { m_dialogOffset = offset; }
    int dialogOffset() const { return m_dialogOffset; }

    void SearchFind();
    void SearchReplace();
    // One forward search after the selection (from the top without one). A miss collapses
    // the selection, closes both dialogs and, in Editor only, says so.
    void FindInEditor(RichEdit *control);
    // Does what the replace dialog asks: find next, replace, or replace all.
    void ReplaceInEditor(RichEdit *control);
    // Moves the active dialog off the hit, given in global coordinates.
    void PlaceDialog(const QRect &hit);

    Mode searchMode() const { return m_mode; }
    FindDialog *findDialog() const { return m_find; }
    ReplaceDialog *replaceDialog() const { return m_replace; }

private:
    void showDialog(QDialog *dialog, Mode mode);
    void findFrom(RichEdit *control, int start);
    int search(const RichEdit *control, int start) const;
    void replaceSelection(RichEdit *control);
    void replaceAll(RichEdit *control);

    RichEdit *m_editor;
    QWidget *m_window;
    int m_dialogOffset = 0;
    FindDialog *m_find;
    ReplaceDialog *m_replace;
    Mode m_mode = Mode::None;
};

} // namespace tessary
