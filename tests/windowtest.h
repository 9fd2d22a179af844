#pragma once
// The fixture of the window tests: a fresh sandbox and main window for each test function,
// shown and exposed. A test class derives from it and runs openWindow() and closeWindow()
// from its init() and cleanup() slots.

#include "app/tmainform.h"
#include "editor/commandstate.h"
#include "editor/fontboxes.h"
#include "editor/notationtyping.h"
#include "richtext/documentstate.h"
#include "richtext/richedit.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace tessary::test {

class WindowTest : public QObject {
protected:
    void openWindow(QSize size = QSize(1000, 700), int dpi = 96) {
        sandbox = std::make_unique<Sandbox>(1280, dpi);
        form = std::make_unique<TMainForm>();
        form->resize(size);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        editor()->setFocus();
    }
    void closeWindow() {
        modalContext.reset();
        form.reset();
        sandbox.reset();
    }
    RichEdit *editor() const { return form->editor(); }
    // The selection as (start, length), to compare in one step.
    QPair<int, int> selection() const { return {editor()->selStart(), editor()->selLength()}; }
    // The face and size of the character at `position`, as "face/size".
    QString fontAt(int position) const {
        const CharAttributes a = editor()->charAttributesAt(position);
        return a.face + QLatin1Char('/') + QString::number(a.size);
    }
    // The font boxes as "name/size".
    static QString boxesOf(TMainForm &window) {
        return window.fontBoxes().FontNameBox->currentText() + QLatin1Char('/') +
               window.fontBoxes().FontSizeBox->currentText();
    }
    QString boxes() const { return boxesOf(*form); }
    template <class T> T *child(const char *name) const {
        return form->findChild<T *>(QLatin1String(name));
    }
    // Writes `data` to `name` in the sandbox and returns its path.
    QString writeFile(const QString &name, const QByteArray &data) const {
        const QString path = sandbox->dir.filePath(name);
        return writeBytes(path, data) ? path : QString();
    }
    // Runs a command as the user would: only when its enabling pass allows it.
    bool trigger(const char *name) const {
        QAction *a = form->action(QLatin1String(name));
        form->commands().ActionListUpdate();
        if (!a || !a->isEnabled())
            return false;
        a->trigger();
        return true;
    }

    // Runs `check` once a modal dialog is up, then closes whatever is still open. Call it
    // before the command that opens the dialog.
    void whileModal(std::function<void()> check) {
        modalContext = std::make_unique<QObject>(); // a check that never ran dies with it
        QTimer::singleShot(0, modalContext.get(), [check] {
            [&] {
                QTRY_VERIFY(QApplication::activeModalWidget());
                check();
            }();
            if (QWidget *open = QApplication::activeModalWidget())
                open->close();
        });
    }

    std::unique_ptr<Sandbox> sandbox;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<QObject> modalContext;
};

} // namespace tessary::test
