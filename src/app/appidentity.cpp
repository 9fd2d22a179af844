#include "app/appidentity.h"

#include <QGuiApplication>

namespace tessary {

void AppIdentity::apply() {
    QGuiApplication::setApplicationName(QStringLiteral("Tessary"));
    QGuiApplication::setApplicationVersion(QStringLiteral(TESSARY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessary"));
}

} // namespace tessary
