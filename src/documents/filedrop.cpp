#include "documents/filedrop.h"

#include "documents/documentfiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace tessary {

FileDrop::FileDrop(DocumentFiles &documents, QWidget *window, QWidget *viewport)
    : QObject(window)
    , m_documents(documents) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    viewport->installEventFilter(this);
}

QString FileDrop::droppedFile(const QMimeData *mime) {
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

bool FileDrop::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = droppedFile(drop->mimeData());
    if (path.isEmpty())
        return QObject::eventFilter(watched, event);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    // The save question and the load run after the drop has ended, so that the program the
    // file came from is not kept waiting on them.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, &m_documents, [this, path] { m_documents.OpenDroppedFile(path); });
    return true;
}

} // namespace tessary
