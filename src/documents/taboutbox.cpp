#include "documents/taboutbox.h"

#include "platform/fontregistry.h"
#include "platform/services.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace tessary {

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("About Tessary"));
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(QStringLiteral("<h2>Tessary</h2>"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    auto *version =
        new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(TESSARY_VERSION)), this);
    version->setObjectName(QStringLiteral("Version"));
    auto *about = new QLabel(QStringLiteral("Mathematics written as formatted plain text."), this);
    const QString help =
        QUrl::fromLocalFile(FontRegistry::dataDirectory() + QStringLiteral("/help/contents.html"))
            .toString();
    auto *link = new QLabel(QStringLiteral("<a href=\"%1\">Help contents</a>").arg(help), this);
    link->setObjectName(QStringLiteral("HelpLink"));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link, &QLabel::linkActivated, this,
            [](const QString &url) { Services::shell().open(QUrl(url)); });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    for (QWidget *w : {static_cast<QWidget *>(name), static_cast<QWidget *>(version),
                       static_cast<QWidget *>(about), static_cast<QWidget *>(link)}) {
        layout->addWidget(w, 0, Qt::AlignHCenter);
    }
    layout->addWidget(buttons);
}

} // namespace tessary
