#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tessary {

// What the program was asked to do on its command line. It is read before QApplication
// exists, so that the commands that need no window run without a display.
//
// A command is a word ("--help") followed by a fixed number of operands and options that
// take one value each; a batch command is one more row in the command table and one more
// Mode. Without a command the arguments are the files to open.
class CommandLine {
public:
    enum class Mode { Edit, Help, Version, ExportPdf, ExportHtml, ExportLatex, Invalid };

    // `arguments` without the program name. Arguments starting with a single '-' belong to
    // the toolkit (-platform, -style ...) and are left for it: read the arguments again from
    // QCoreApplication::arguments() once it has removed its own.
    static CommandLine parse(const QStringList &arguments);
    // The same from the program's own argv (its name skipped): operands keep the file
    // system's bytes, so names that are not valid text still name their files.
    static CommandLine parse(int argc, char **argv);

    Mode mode() const { return m_mode; }
    // Edit: the files named; a command: its operands, in order.
    const QStringList &operands() const { return m_operands; }
    // The operands as the file system's bytes (QFile::encodeName of a text argument).
    const QList<QByteArray> &nativeOperands() const { return m_native; }
    // The value of a command's option ("--title"), or a null string when it was not given.
    QString option(const QString &name) const { return m_options.value(name); }
    // Invalid: one line saying what is wrong.
    const QString &error() const { return m_error; }

    // Edit is the only mode that opens a window.
    bool needsDisplay() const { return m_mode == Mode::Edit; }
    // The batch exports lay the document out on the offscreen platform.
    bool needsOffscreen() const {
        return m_mode == Mode::ExportHtml || m_mode == Mode::ExportPdf ||
               m_mode == Mode::ExportLatex;
    }
    // Runs a mode that needs no display: prints help, version or the error and returns the
    // exit code (0, or 2 for a bad command line).
    int runWithoutDisplay() const;

    static QString helpText();
    static QString versionText();

private:
    static CommandLine parseNative(const QList<QByteArray> &arguments);

    Mode m_mode = Mode::Edit;
    QStringList m_operands;
    QList<QByteArray> m_native;
    QHash<QString, QString> m_options;
    QString m_error;
};

} // namespace tessary
