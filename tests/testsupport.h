#pragma once
// Shared test scaffolding: a settings file in a temporary folder, a screen of any size and
// scripted answers for message boxes and file dialogs.

#include "platform/fontregistry.h"
#include "platform/printerservice.h"
#include "platform/services.h"
#include "platform/settingsstore.h"

#include <QFile>
#include <QProcess>
#include <QQueue>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <tuple>

namespace tessary::test {

// Registers the notation faces shipped with the program, for tests that draw or measure text.
inline void registerNotationFaces() {
    FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + QStringLiteral("/fonts"));
}

// The whole of a file, or nothing when it cannot be read.
inline QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `data` to `path`; false when it cannot.
inline bool writeBytes(const QString &path, const QByteArray &data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The text of a PDF as pdftotext gives it with `options`; null when poppler-utils are missing.
inline QString pdfText(const QString &pdf, QStringList options = {}) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess run;
    run.start(tool, options << pdf << QStringLiteral("-"));
    return run.waitForFinished(60000) ? QString::fromUtf8(run.readAllStandardOutput()) : "";
}

struct FixedScreen : ScreenService {
    int pixels = 1280, dpi = 96, height = 1024;
    int width() const override { return pixels; }
    QRect availableGeometry() const override { return {0, 0, pixels, height}; }
    int logicalDpi() const override { return dpi; }
};

// Records every message and answers questions and file dialogs from queues.
class ScriptedDialogs : public DialogService {
public:
    struct Shown {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    QList<Shown> messages;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> fileNames;
    QStringList dialogTitles;
    QStringList startPaths;
    // Print dialog answers (from, to) and printer set-up answers; an empty queue cancels.
    QQueue<QPair<int, int>> printRanges;
    QQueue<bool> setupAnswers;

    void message(QWidget *, const QString &title, const QString &text,
                 QMessageBox::Icon icon) override {
        messages.append({title, text, icon});
    }
    QMessageBox::StandardButton ask(QWidget *, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons, QMessageBox::Icon icon) override {
        messages.append({title, text, icon});
        return answers.isEmpty() ? QMessageBox::Cancel : answers.dequeue();
    }
    // Answers to questions with buttons of their own (indexes); an empty queue presses none.
    QQueue<int> choices;
    QList<QStringList> choiceButtons;
    QList<int> choiceDefaults;
    int choose(QWidget *, const QString &title, const QString &text, const QStringList &buttons,
               int defaultButton, QMessageBox::Icon icon) override {
        messages.append({title, text, icon});
        choiceButtons.append(buttons);
        choiceDefaults.append(defaultButton);
        return choices.isEmpty() ? -1 : choices.dequeue();
    }
    QString openFileName(QWidget *, const QString &title, const QString &startPath,
                         const QString &) override {
        dialogTitles.append(title);
        startPaths.append(startPath);
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    QString saveFileName(QWidget *, const QString &title, const QString &startPath, const QString &,
                         const QString &) override {
        dialogTitles.append(title);
        startPaths.append(startPath);
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    bool printDialog(QWidget *, QPrinter *, PrintRange &range) override {
        if (printRanges.isEmpty())
            return false;
        std::tie(range.from, range.to) = printRanges.dequeue();
        return true;
    }
    bool pageSetupDialog(QWidget *, QPrinter *) override {
        return !setupAnswers.isEmpty() && setupAnswers.dequeue();
    }
};

// Records what the program asked the desktop to open.
class RecordingShell : public ShellService {
public:
    QList<QUrl> opened;
    bool open(const QUrl &url) override {
        opened.append(url);
        return true;
    }
};

// Points the settings store at a fresh file and installs a screen and scripted dialogs.
struct Sandbox {
    QTemporaryDir dir;
    ScriptedDialogs *dialogs = nullptr;
    RecordingShell *shell = nullptr;

    explicit Sandbox(int screenWidth = 1280, int dpi = 96) {
        QStandardPaths::setTestModeEnabled(true);
        SettingsStore::setInstance(std::make_unique<SettingsStore>(settingsPath()));
        auto screen = std::make_unique<FixedScreen>();
        std::tie(screen->pixels, screen->dpi) = std::pair(screenWidth, dpi);
        Services::setScreen(std::move(screen));
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        Services::setDialogs(std::move(scripted));
        auto recording = std::make_unique<RecordingShell>();
        shell = recording.get();
        Services::setShell(std::move(recording));
    }
    QString settingsPath() const { return dir.filePath(QStringLiteral("tessary.ini")); }
};

} // namespace tessary::test
