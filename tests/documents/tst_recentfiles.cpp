#include "documents/documentfiles.h"
#include "documents/recentfiles.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QtTest>
#include <memory>

using namespace tessary;

class RecentFilesTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() {
        sandbox = std::make_unique<test::Sandbox>();
        form = std::make_unique<TMainForm>();
        attachMenu();
    }

    void cleanup() {
        closeWindow();
        menu.reset();
    }

    void sixthFileDropsTheOldest() {
        const QStringList paths = openAll({"1.rtf", "2.rtf", "3.rtf", "4.rtf", "5.rtf", "6.rtf"});
        QCOMPARE(recent().list(), paths.first(5));
        QCOMPARE(SettingsStore::instance().readString(RecentFiles::kKeyPath, "File0"),
                 paths.first());
        QCOMPARE(SettingsStore::instance().readString(RecentFiles::kKeyPath, "File4"), paths.at(4));
        QVERIFY(SettingsStore::instance().readString(RecentFiles::kKeyPath, "File5").isEmpty());
    }

    void reopeningMovesAnEntryToTheTopWithoutDuplicates() {
        const QStringList paths = openAll({"a.rtf", "b.rtf", "c.rtf"});
        QAction *third = recent().entryActions().at(2);
        QCOMPARE(third->data().toString(), paths.at(2));
        third->trigger();
        QCOMPARE(form->documentState().CurrentFileName(), paths.at(2));
        QCOMPARE(recent().list(), (QStringList{paths.at(2), paths.at(0), paths.at(1)}));
        // A recent entry leaves the dialogs' folder alone.
        QCOMPARE(form->documents().dialogFolder(), sandbox->dir.path());
    }

    void pathsDifferingInCaseAreTwoEntries() {
        const QString lower = writeFile("case.rtf", "{\\rtf1 text}");
        const QString upper = writeFile("CASE.rtf", "{\\rtf1 text}");
        recent().AddRecentFile(lower);
        recent().AddRecentFile(upper);
        QCOMPARE(recent().list(), (QStringList{upper, lower}));
    }

    void menuEntriesStandBetweenTwoSeparators() {
        QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.size(), 4); // Print, separator, separator, Exit
        QVERIFY(actions.at(1)->isSeparator() && actions.at(2)->isSeparator());
        const QStringList paths = openAll({"x.rtf", "y&z.rtf"});
        actions = menu->actions();
        QCOMPARE(actions.size(), 6);
        QCOMPARE(actions.at(2)->text(),
                 QStringLiteral("&0  ") + QString(paths.at(0)).replace("&", "&&"));
        QCOMPARE(actions.at(3)->text(), QStringLiteral("&1  ") + paths.at(1));
        QVERIFY(actions.at(4)->isSeparator());
        QCOMPARE(actions.at(5), exitAction);
    }

    void listSurvivesARestartAndSetsTheDialogFolder() {
        QDir(sandbox->dir.path()).mkdir(QStringLiteral("sub"));
        const QStringList paths = openAll({"r1.rtf", "sub/r2.rtf"});
        form->close();
        form = std::make_unique<TMainForm>();
        attachMenu();
        QCOMPARE(recent().list(), paths);
        QCOMPARE(form->documents().dialogFolder(), sandbox->dir.filePath(QStringLiteral("sub")));
    }

    void vanishedFilesLeaveTheListWhenItIsSaved() {
        const QStringList paths = openAll({"keep.rtf", "vanish.rtf"});
        QVERIFY(QFile::remove(paths.first()));
        recent().SaveRecentFiles();
        QCOMPARE(recent().list(), QStringList{paths.at(1)});
        QCOMPARE(SettingsStore::instance().valueNames(RecentFiles::kKeyPath), QStringList{"File0"});
    }

private:
    QStringList openAll(const QStringList &names) {
        QStringList paths;
        for (const QString &name : names) {
            paths.prepend(writeFile(name, "{\\rtf1 text}"));
            sandbox->dialogs->fileNames.enqueue(paths.first());
            form->documents().FileOpen1();
        }
        return paths;
    }

    // A File menu of its own keeps these tests apart from how the window builds its menus.
    void attachMenu() {
        menu = std::make_unique<QMenu>();
        menu->addAction(QStringLiteral("Print"));
        menu->addSeparator();
        exitAction = menu->addAction(QStringLiteral("Exit"));
        recent().attachMenu(menu.get(), exitAction);
        recent().BuildRecentFilesMenu();
    }
    RecentFiles &recent() { return form->recentFiles(); }
    std::unique_ptr<QMenu> menu;
    QAction *exitAction = nullptr;
};

QTEST_MAIN(RecentFilesTest)
#include "tst_recentfiles.moc"
