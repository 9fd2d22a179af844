#include "platform/documentstate.h"

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

void DocumentState::setSaved(const QString &name) {
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
