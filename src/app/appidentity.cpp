#include "app/appidentity.h"

#include <QGuiApplication>
#include <QIcon>

// A static library's resources are linked in only when something names them.
static void initIconResource() {
    Q_INIT_RESOURCE(appicon);
}

namespace tessary {

void AppIdentity::apply() {
    QGuiApplication::setApplicationName(QStringLiteral("Tessary"));
    QGuiApplication::setApplicationVersion(QStringLiteral(TESSARY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessary"));
    initIconResource();
    QIcon icon;
    // With its size given, a picture is decoded only when a window shows it at that size.
    for (int size : {16, 32, 48, 64, 256})
        icon.addFile(QStringLiteral(":/icons/tessary-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
}

} // namespace tessary
