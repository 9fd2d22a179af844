#include "app/batchexport.h"

#include "app/appidentity.h"
#include "app/batchfiles.h"
#include "app/batchlatex.h"
#include "app/batchpdf.h"
#include "app/commandline.h"
#include "app/maineditor.h"
#include "html/anchors.h"
#include "html/htmlwriter.h"
#include "platform/fontregistry.h"
#include "platform/services.h"
#include "richtext/richedit.h"
#include "rtf/textformat.h"

#include <QApplication>
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

// Nothing may wait for a person; the export reports its own errors.
class BatchDialogs : public DialogService {
public:
    void message(QWidget *, const QString &, const QString &, QMessageBox::Icon) override {}
    QMessageBox::StandardButton ask(QWidget *, const QString &, const QString &,
                                    QMessageBox::StandardButtons, QMessageBox::Icon) override {
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
    std::fprintf(stderr, "tessary: %s\n", qPrintable(BatchFiles::oneLine(text)));
    return 1;
}

} // namespace

int ExportHtml(const CommandLine &line) {
    const QByteArray in = line.nativeOperands().at(0);
    const QByteArray out = line.nativeOperands().at(1);
    if (const QString refused = BatchFiles::checkOutput(out, in); !refused.isNull())
        return fail(refused);
    Services::setScreen(std::make_unique<BatchScreen>());
    Services::setDialogs(std::make_unique<BatchDialogs>());
    FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + QStringLiteral("/fonts"));
    setDocumentDpi(kScreenDpi);

    // Only the editor of the main window that fills the screen (no window manager, no frame),
    // so that it wraps every line as there; nothing else of the window is needed for a page.
    QWidget screen;
    screen.setAttribute(Qt::WA_DontShowOnScreen);
    screen.setGeometry(0, 0, kScreenWidth, kScreenHeight);
    RichEdit &editor = *MainEditor::create(&screen);
    editor.setGeometry(MainEditor::kGutterWidth, 0, kScreenWidth - MainEditor::kGutterWidth,
                       kScreenHeight);
    screen.show();
    if (const QString error = BatchFiles::load(editor, in); !error.isNull())
        return fail(error);
    Anchors anchors(&editor, &screen);
    anchors.ScanAnchors();
    anchors.GrabDestAnchors();
    const HtmlLinks links = HtmlLinks::fromAnchors(anchors);
    HtmlWriter writer(editor, links,
                      {line.option(QStringLiteral("--title")),
                       line.option(QStringLiteral("--keywords")), kScreenWidth, kScreenDpi});
    if (const QString error = BatchFiles::write(out, writer.page()); !error.isNull())
        return fail(error);
    return 0;
}

int RunBatchCommand(int &argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit's notes about the platform would break "prints nothing on success".
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    AppIdentity::apply();
    // The toolkit has taken its own options out of argv; the rest keeps its bytes.
    const CommandLine line = CommandLine::parse(argc, argv);
    if (line.mode() == CommandLine::Mode::ExportHtml)
        return ExportHtml(line);
    if (line.mode() == CommandLine::Mode::ExportLatex) {
        const QString error = ExportLatex(line.nativeOperands().at(0), line.nativeOperands().at(1));
        return error.isNull() ? 0 : fail(error);
    }
    if (line.mode() == CommandLine::Mode::ExportPdf) {
        FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() +
                                            QStringLiteral("/fonts"));
        const QString error = ExportPdf(line.nativeOperands().at(0), line.nativeOperands().at(1));
        return error.isNull() ? 0 : fail(error);
    }
    return line.runWithoutDisplay();
}

} // namespace tessary
