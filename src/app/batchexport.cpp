#include "app/batchexport.h"

#include "app/appidentity.h"
#include "app/commandline.h"
#include "app/tmainform.h"
#include "html/anchors.h"
#include "html/htmlwriter.h"
#include "platform/fontregistry.h"
#include "platform/richedit.h"
#include "platform/services.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace tessary {

namespace {
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kScreenDpi = 96;

class BatchScreen : public ScreenService {
public:
    int width() const override { return kScreenWidth; }
    int logicalDpi() const override { return kScreenDpi; }
};

// Nothing may wait for a person: the first message becomes the command's error line.
class BatchDialogs : public DialogService {
public:
    QString first;
    void message(QWidget *, const QString &, const QString &text, QMessageBox::Icon) override {
        if (first.isEmpty())
            first = text;
    }
    QMessageBox::StandardButton ask(QWidget *, const QString &, const QString &text,
                                    QMessageBox::StandardButtons, QMessageBox::Icon) override {
        message(nullptr, {}, text, QMessageBox::Question);
        return QMessageBox::Cancel;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &,
                         const QString &) override {
        return {};
    }
};

int fail(const QString &text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1String(": "));
    std::fprintf(stderr, "tessary: %s\n", qPrintable(line));
    return 1;
}

// The document as the Open command would show it: RTF, else plain text in Courier New 10.
bool load(RichEdit &editor, const QString &path, QString &error) {
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return error = QStringLiteral("Cannot open %1: there is no such file").arg(path), false;
    if (!file.open(QIODevice::ReadOnly))
        return error = QStringLiteral("Cannot open %1. %2").arg(path, file.errorString()), false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return error = QStringLiteral("Cannot read %1. %2").arg(path, file.errorString()), false;
    if (editor.loadData(data) == RichEdit::LoadResult::Failed)
        return error = QStringLiteral("Cannot load %1: it is neither RTF nor text").arg(path),
               false;
    if (QFileInfo(path).suffix().toLower() != QLatin1String("rtf")) {
        CharAttributes courier;
        courier.face = QStringLiteral("Courier New");
        courier.size = 10;
        editor.setRangeAttributes(0, editor.textLength(), courier,
                                  CharAttributes::Face | CharAttributes::Size |
                                      CharAttributes::CharsetField);
    }
    editor.setSelection(0, 0);
    return true;
}

} // namespace

int ExportHtml(const CommandLine &line) {
    const QString in = line.operands().at(0);
    const QString out = line.operands().at(1);
    if (QFileInfo(out).exists() &&
        QFileInfo(out).canonicalFilePath() == QFileInfo(in).canonicalFilePath())
        return fail(QStringLiteral("%1 is the document itself").arg(out));
    Services::setScreen(std::make_unique<BatchScreen>());
    auto dialogs = std::make_unique<BatchDialogs>();
    BatchDialogs *messages = dialogs.get();
    Services::setDialogs(std::move(dialogs));
    FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + QStringLiteral("/fonts"));

    // The editor wraps as in the window that fills the screen (no window manager, no frame).
    TMainForm window;
    if (!window.startedUp())
        return fail(messages->first);
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.setGeometry(0, 0, kScreenWidth, kScreenHeight);
    window.show();
    RichEdit &editor = *window.editor();
    QString error;
    if (!load(editor, in, error))
        return fail(error);
    Anchors &anchors = window.anchors();
    anchors.ScanAnchors();
    anchors.GrabDestAnchors();
    const HtmlLinks links = HtmlLinks::fromAnchors(anchors);
    HtmlWriter writer(editor, links,
                      {line.option(QStringLiteral("--title")),
                       line.option(QStringLiteral("--keywords")), kScreenWidth, kScreenDpi});
    if (!writer.writeFile(out, &error))
        return fail(error);
    return 0;
}

int RunBatchCommand(int &argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit's notes about the platform would break "prints nothing on success".
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    AppIdentity::apply();
    const CommandLine line = CommandLine::parse(QApplication::arguments().mid(1));
    if (line.mode() == CommandLine::Mode::ExportHtml)
        return ExportHtml(line);
    return line.runWithoutDisplay();
}

} // namespace tessary
