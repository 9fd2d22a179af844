#include "platform/services.h"

#include "platform/printerservice.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>

namespace tessary {

int ScreenService::width() const {
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

QRect ScreenService::availableGeometry() const {
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

int ScreenService::logicalDpi() const {
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? qRound(s->logicalDotsPerInchX()) : 96;
}

void DialogService::message(QWidget *parent, const QString &title, const QString &text,
                            QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton DialogService::ask(QWidget *parent, const QString &title,
                                               const QString &text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

int DialogService::choose(QWidget *parent, const QString &title, const QString &text,
                          const QStringList &buttons, int defaultButton, QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    QList<QPushButton *> pushed;
    for (const QString &caption : buttons)
        pushed.append(box.addButton(caption, QMessageBox::AcceptRole));
    if (defaultButton >= 0 && defaultButton < pushed.size())
        box.setDefaultButton(pushed.at(defaultButton));
    box.exec();
    return int(pushed.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
}

QString DialogService::openFileName(QWidget *parent, const QString &title, const QString &startPath,
                                    const QString &filter) {
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

// A desktop dialog adds the default suffix only after its own overwrite check, so "report"
// could silently replace "report.rtf". The suffix is added here and the question asked for the
// completed name; a No shows the dialog again.
QString DialogService::saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                                    const QString &filter, const QString &defaultSuffix) {
    QString start = startPath;
    for (;;) {
        const QString typed = saveDialog(parent, title, start, filter);
        if (typed.isEmpty() || defaultSuffix.isEmpty() ||
            QFileInfo(typed).fileName().contains(QLatin1Char('.')))
            return typed;
        const QString path = typed + QLatin1Char('.') + defaultSuffix;
        if (!QFileInfo::exists(path))
            return path;
        const QString question = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(QFileInfo(path).fileName());
        if (ask(parent, title, question, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::Warning) == QMessageBox::Yes)
            return path;
        start = path;
    }
}

QString DialogService::saveDialog(QWidget *parent, const QString &title, const QString &startPath,
                                  const QString &filter) {
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool DialogService::printDialog(QWidget *parent, QPrinter *printer, PrintRange &range) {
    if (!printer)
        return false;
    QPrintDialog dialog(printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(range.minPage, range.maxPage);
    dialog.setFromTo(range.from, range.to);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        range.from = dialog.fromPage();
        range.to = dialog.toPage();
    } else {
        range.from = range.minPage;
        range.to = range.maxPage;
    }
    return true;
}

bool DialogService::pageSetupDialog(QWidget *parent, QPrinter *printer) {
    if (!printer)
        return false;
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ShellService::open(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

namespace {
template <typename T> std::unique_ptr<T> &slot() {
    static std::unique_ptr<T> service;
    return service;
}
template <typename T> T &get() {
    auto &s = slot<T>();
    if (!s)
        s = std::make_unique<T>();
    return *s;
}
} // namespace

ScreenService &Services::screen() {
    return get<ScreenService>();
}
DialogService &Services::dialogs() {
    return get<DialogService>();
}
ShellService &Services::shell() {
    return get<ShellService>();
}
void Services::setScreen(std::unique_ptr<ScreenService> s) {
    slot<ScreenService>() = std::move(s);
}
void Services::setDialogs(std::unique_ptr<DialogService> s) {
    slot<DialogService>() = std::move(s);
}
void Services::setShell(std::unique_ptr<ShellService> s) {
    slot<ShellService>() = std::move(s);
}
std::unique_ptr<DialogService> Services::takeDialogs() {
    return std::move(slot<DialogService>());
}

} // namespace tessary
