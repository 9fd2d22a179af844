#include "app/commandline.h"

#include <QFile>
#include <QList>
#include <cstdio>

namespace tessary {

namespace {

struct Command {
    QStringList names; // the first is the one shown in the help
    CommandLine::Mode mode;
    int operands;
    QStringList options; // each takes one value
    const char *usage;   // operands and options as the help shows them
    const char *summary;
};

const QList<Command> &commands() {
    static const QList<Command> table = {
        {{QStringLiteral("--help"), QStringLiteral("-h")},
         CommandLine::Mode::Help,
         0,
         {},
         "",
         "print this help and exit"},
        {{QStringLiteral("--version"), QStringLiteral("-v")},
         CommandLine::Mode::Version,
         0,
         {},
         "",
         "print the version and exit"},
        {{QStringLiteral("--export-pdf")},
         CommandLine::Mode::ExportPdf,
         2,
         {},
         "IN OUT",
         "print the document IN into the PDF file OUT with the saved print settings"},
        {{QStringLiteral("--export-html")},
         CommandLine::Mode::ExportHtml,
         2,
         {QStringLiteral("--title"), QStringLiteral("--keywords")},
         "IN OUT [--title TEXT] [--keywords TEXT]",
         "write the document IN as the HTML page OUT"},
        {{QStringLiteral("--export-latex")},
         CommandLine::Mode::ExportLatex,
         2,
         {},
         "IN OUT",
         "write the document IN as the LaTeX file OUT"},
    };
    return table;
}

const Command *commandNamed(const QString &word) {
    for (const Command &command : commands()) {
        if (command.names.contains(word))
            return &command;
    }
    return nullptr;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments) {
    QList<QByteArray> native;
    for (const QString &argument : arguments)
        native.append(QFile::encodeName(argument));
    return parseNative(native);
}

CommandLine CommandLine::parse(int argc, char **argv) {
    QList<QByteArray> native;
    for (int i = 1; i < argc; ++i)
        native.append(QByteArray(argv[i]));
    return parseNative(native);
}

CommandLine CommandLine::parseNative(const QList<QByteArray> &bytes) {
    QStringList arguments;
    for (const QByteArray &argument : bytes)
        arguments.append(QFile::decodeName(argument));
    CommandLine line;
    auto fail = [&line](const QString &error) {
        line.m_mode = Mode::Invalid;
        line.m_error = error;
        line.m_operands.clear();
        line.m_native.clear();
        line.m_options.clear();
        return line;
    };
    const Command *command = nullptr;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (const Command *named = commandNamed(arg)) {
            if (command)
                return fail(QStringLiteral("%1 cannot be combined with %2")
                                .arg(named->names.first(), command->names.first()));
            command = named;
            line.m_mode = named->mode;
        } else if (arg.startsWith(QLatin1String("--")) && arg.size() > 2) {
            if (!command || !command->options.contains(arg))
                return fail(QStringLiteral("unknown option %1").arg(arg));
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("%1 needs a value").arg(arg));
            line.m_options.insert(arg, arguments.at(++i));
        } else if (arg == QLatin1String("--")) {
            line.m_operands += arguments.mid(i + 1);
            line.m_native += bytes.mid(i + 1);
            break;
        } else if (!arg.startsWith(QLatin1Char('-')) || arg.size() == 1) {
            line.m_operands.append(arg);
            line.m_native.append(bytes.at(i));
        }
    }
    if (command && line.m_operands.size() != command->operands)
        return fail(QStringLiteral("%1 takes %2 file name(s)")
                        .arg(command->names.first(), QString::number(command->operands)));
    return line;
}

int CommandLine::runWithoutDisplay() const {
    switch (m_mode) {
    case Mode::Help:
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    case Mode::Version:
        std::fputs(qPrintable(versionText()), stdout);
        return 0;
    case Mode::Invalid:
        std::fprintf(stderr, "tessary: %s\nTry 'tessary --help'.\n", qPrintable(m_error));
        return 2;
    case Mode::Edit:
    case Mode::ExportPdf:
    case Mode::ExportHtml:
    case Mode::ExportLatex:
        break;
    }
    return 0;
}

QString CommandLine::helpText() {
    QString text = QStringLiteral("Usage: tessary [FILE]\n"
                                  "       tessary COMMAND\n\n"
                                  "Opens FILE (an RTF document) in the editor, or the untitled "
                                  "document without one.\n\nCommands:\n");
    for (const Command &command : commands()) {
        const QString head = (command.names.join(QStringLiteral(", ")) + QLatin1Char(' ') +
                              QString::fromLatin1(command.usage))
                                 .trimmed();
        text += QStringLiteral("  %1  %2\n")
                    .arg(head.leftJustified(22), QString::fromLatin1(command.summary));
    }
    text += QStringLiteral("\nIN given as - is standard input, OUT given as - standard output.\n");
    return text;
}

QString CommandLine::versionText() {
    return QStringLiteral("tessary " TESSARY_VERSION "\n");
}

} // namespace tessary
