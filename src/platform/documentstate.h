#pragma once

#include <QObject>
#include <QString>

class QTextDocument;

namespace tessary {

// The open document's name and whether it has changes worth saving. The flag is the text
// document's own: every change sets it, undoing back to the last load or save clears it.
class DocumentState : public QObject {
    Q_OBJECT
public:
    explicit DocumentState(QTextDocument *document, QObject *parent = nullptr);

    bool DocumentModified() const;
    void setDocumentModified(bool modified);
    QString CurrentFileName() const { return m_fileName; }
    // The document now matches the file `name`: just loaded, saved, or begun untitled.
    void setSaved(const QString &name);

signals:
    // The name or the modified flag changed; the title, status panel and commands follow.
    void changed();
    // setSaved ran: whatever was kept of unsaved changes is no longer wanted.
    void saved();

private:
    QTextDocument *m_document;
    QString m_fileName;
};

} // namespace tessary
