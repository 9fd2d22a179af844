#include "documents/helpcommands.h"

#include "documents/taboutbox.h"
#include "platform/fontregistry.h"
#include "platform/services.h"

#include <QUrl>

namespace tessary {

HelpCommands::HelpCommands(QWidget *window, QObject *parent)
    : QObject(parent)
    , m_window(window) {}

void HelpCommands::HelpContents() {
    const QString page = FontRegistry::dataDirectory() + QStringLiteral("/help/contents.html");
    Services::shell().open(QUrl::fromLocalFile(page));
}

void HelpCommands::HelpAbout() {
    if (!m_about)
        m_about = new TAboutBox(m_window);
    m_about->exec();
}

} // namespace tessary
