#pragma once

#include <QMessageBox>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

class QPrinter;
class QWidget;

namespace tessary {

class PrinterService;
struct PrintRange;

// The screen as the program sees it: width in pixels and logical pixels per inch.
class ScreenService {
public:
    virtual ~ScreenService() = default;
    virtual int width() const;
    virtual int logicalDpi() const;
    // The part of the screen windows may take (without panels and docks).
    virtual QRect availableGeometry() const;
};

// Message boxes and file dialogs. Tests replace it with scripted answers so that no test
// waits on a modal loop.
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual void message(QWidget *parent, const QString &title, const QString &text,
                         QMessageBox::Icon icon = QMessageBox::Information);
    virtual QMessageBox::StandardButton ask(QWidget *parent, const QString &title,
                                            const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::Icon icon = QMessageBox::Question);
    // A question with buttons of its own captions; the index of the one pressed, or -1.
    // The button at `defaultButton` is pressed by Enter.
    virtual int choose(QWidget *parent, const QString &title, const QString &text,
                       const QStringList &buttons, int defaultButton,
                       QMessageBox::Icon icon = QMessageBox::Question);
    // An empty string means the user cancelled. `startPath` is a folder, or for saving a
    // folder and the file name to propose.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &startPath,
                                 const QString &filter);
    // The file to save to: a name typed without an extension gets `defaultSuffix`, and an
    // existing file is replaced only once the user agreed to replace it under its final name.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                                 const QString &filter, const QString &defaultSuffix);
    // The desktop's save dialog alone: the name as the user typed it. The dialog itself asks
    // before replacing only that very name.
    virtual QString saveDialog(QWidget *parent, const QString &title, const QString &startPath,
                               const QString &filter);
    // The system print dialog on `printer` with page numbers limited to range.minPage..maxPage
    // and range.from..to proposed; true on OK with range.from..to chosen. The printer set-up
    // dialog likewise. Both answer false without a printer.
    virtual bool printDialog(QWidget *parent, QPrinter *printer, PrintRange &range);
    virtual bool pageSetupDialog(QWidget *parent, QPrinter *printer);
};

// Opens a file or address with the desktop's default application.
class ShellService {
public:
    virtual ~ShellService() = default;
    virtual bool open(const QUrl &url);
};

// The services the program runs with; each can be replaced (by tests) at any time.
class Services {
public:
    static ScreenService &screen();
    static DialogService &dialogs();
    static ShellService &shell();
    // The system's default printer, or a PDF printer where none is installed.
    static PrinterService &printer();
    static void setScreen(std::unique_ptr<ScreenService> service);
    static void setDialogs(std::unique_ptr<DialogService> service);
    static void setShell(std::unique_ptr<ShellService> service);
    static void setPrinter(std::unique_ptr<PrinterService> service);
    // Hand the installed service to the caller, who puts it back with set*() when a run
    // that installs services of its own is over; null when none was installed yet.
    static std::unique_ptr<DialogService> takeDialogs();
    static std::unique_ptr<PrinterService> takePrinter();
};

} // namespace tessary
