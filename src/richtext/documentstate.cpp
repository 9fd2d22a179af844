#include "richtext/documentstate.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextDocument>

namespace tessary {

DocumentState::DocumentState(QTextDocument *document, QObject *parent)
    : QObject(parent)
    , m_document(document) {
    connect(document, &QTextDocument::modificationChanged, this, &DocumentState::changed);
}

bool DocumentState::DocumentModified() const {
    return m_document->isModified();
}

void DocumentState::setDocumentModified(bool modified) {
    m_document->setModified(modified);
}

void DocumentState::setUntitled(const QString &name) {
    setSaved(name);
    m_untitled = true;
}

QString DocumentState::dialogFolder() const {
    if (m_untitled || m_fileName.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(m_fileName).absolutePath();
}

QString DocumentState::proposedName(const QString &extension) const {
    return QDir(dialogFolder()).filePath(QFileInfo(m_fileName).completeBaseName() + extension);
}

void DocumentState::setSaved(const QString &name) {
    m_untitled = false;
    const bool renamed = name != m_fileName;
    m_fileName = name;
    const bool wasModified = m_document->isModified();
    m_document->setModified(false);
    // A clean document that was renamed reports once; a modified one already did above.
    if (renamed && !wasModified)
        emit changed();
    emit saved();
}

} // namespace tessary
