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
    // A new document under the placeholder `name`, which names no folder of the user's.
    void setUntitled(const QString &name);
    bool isUntitled() const { return m_untitled; }

    // Where file dialogs start: the document's own folder, or the user's documents folder
    // for an untitled one. proposedName is the document's name there with another extension.
    QString dialogFolder() const;
    QString proposedName(const QString &extension) const;

signals:
    // The name or the modified flag changed; the title, status panel and commands follow.
    void changed();
    // setSaved ran: whatever was kept of unsaved changes is no longer wanted.
    void saved();

private:
    QTextDocument *m_document;
    QString m_fileName;
    bool m_untitled = false;
};

} // namespace tessary
