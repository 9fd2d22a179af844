#include "app/appidentity.h"
#include "app/batchexport.h"
#include "app/commandline.h"
#include "app/tauxform.h"
#include "app/tmainform.h"
#include "documents/documentfiles.h"
#include "documents/recoverycopy.h"
#include "platform/fontregistry.h"
#include "platform/services.h"
#include "richtext/richedit.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    // Help, version and a bad command line are answered before anything needs a display.
    const auto request = tessary::CommandLine::parse(argc, argv);
    // A batch command runs on the offscreen platform: it needs fonts, never a display.
    if (request.needsOffscreen())
        return tessary::RunBatchCommand(argc, argv);
    if (!request.needsDisplay())
        return request.runWithoutDisplay();
    // Without a display Qt would abort with a terse platform error; say what to do instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "tessary: no display found (DISPLAY is not set).\n"
                             "Run it on a desktop, or under a virtual display:\n"
                             "  xvfb-run -s \"-screen 0 1280x1024x24\" tessary\n");
        return 2;
    }
    QApplication app(argc, argv);
    tessary::AppIdentity::apply();
    // Qt has taken its own options (-platform, -style ...) out by now.
    const auto line = tessary::CommandLine::parse(QApplication::arguments().mid(1));

    // The faces must be known before the main window fills its font list.
    const QStringList missingFaces = tessary::FontRegistry::registerNotationFaces(
        tessary::FontRegistry::dataDirectory() + QStringLiteral("/fonts"));

    tessary::TMainForm mainForm;
    if (!mainForm.startedUp())
        return EXIT_FAILURE;
    tessary::TAuxForm auxForm(mainForm.editor());
    // Without a window manager "maximized" means nothing; size it to the screen first.
    if (const QScreen *screen = mainForm.screen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    mainForm.editor()->setFocus();
    if (!missingFaces.isEmpty()) {
        QTimer::singleShot(0, &mainForm, [&mainForm, missingFaces] {
            tessary::Services::dialogs().message(
                &mainForm, QStringLiteral("Tessary"),
                QStringLiteral("These notation faces could not be found, so formulas will not "
                               "show their raised and lowered characters:\n\n%1\n\nReinstall "
                               "Tessary to restore them.")
                    .arg(missingFaces.join(QLatin1Char('\n'))),
                QMessageBox::Warning);
        });
    }
    if (!line.operands().isEmpty())
        mainForm.documents().OpenChosenFile(line.operands().first());
    // Work left by a program that died is offered once the window is up.
    QTimer::singleShot(0, &mainForm, [&mainForm] { mainForm.recovery().OfferLeftCopies(); });
    return app.exec();
}
