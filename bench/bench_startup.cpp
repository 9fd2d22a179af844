// Start to the first paint of the main window, as main() starts it, in one process.
// Run: START_NS=$(date +%s%N) QT_QPA_PLATFORM=offscreen build/bench/bench_startup
// (scripts/speed.sh runs it under Xvfb). Prints the wall time since START_NS (since the
// process began when it is unset) and the process's CPU time, all threads, at the first paint
// and once the spelling dictionary is in.
#include "app/appidentity.h"
#include "app/tmainform.h"
#include "editor/spelling.h"
#include "platform/fontregistry.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <functional>
#include <unistd.h>

using namespace tessary;

namespace {
double nowNs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

double startNs() {
    const QByteArray given = qgetenv("START_NS");
    if (!given.isEmpty())
        return given.toDouble();
    // Without it: the process start, from the seconds since boot it began at.
    QFile stat(QStringLiteral("/proc/self/stat"));
    stat.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = stat.readAll().split(' ');
    const double ticks = fields.value(21).toDouble();
    return nowNs(CLOCK_REALTIME) - nowNs(CLOCK_BOOTTIME) +
           ticks / double(sysconf(_SC_CLK_TCK)) * 1e9;
}

void report(const char *what, double start) {
    std::printf("%-40s wall %6.1f ms  cpu %6.1f ms\n", what, (nowNs(CLOCK_REALTIME) - start) / 1e6,
                nowNs(CLOCK_PROCESS_CPUTIME_ID) / 1e6);
}

// Reports the first paint of the window it watches.
class FirstPaint : public QObject {
public:
    FirstPaint(double start, std::function<void()> then)
        : m_start(start)
        , m_then(std::move(then)) {}
    bool eventFilter(QObject *watched, QEvent *event) override {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && !m_seen && widget &&
            qobject_cast<TMainForm *>(widget->window())) {
            m_seen = true;
            report("first paint of the main window", m_start);
            QTimer::singleShot(0, m_then);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double m_start;
    std::function<void()> m_then;
    bool m_seen = false;
};
} // namespace

int main(int argc, char *argv[]) {
    const double start = startNs();
    QApplication app(argc, argv);
    AppIdentity::apply();
    FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + QStringLiteral("/fonts"));
    TMainForm form;
    FirstPaint paint(start, [&] {
        // The events of the first show are handled: the window takes keys.
        report("first paint done, window takes keys", start);
        form.spelling().checker().ready();
        report("spelling dictionary in", start);
        app.quit();
    });
    app.installEventFilter(&paint);
    if (const QScreen *screen = form.screen())
        form.setGeometry(screen->availableGeometry());
    form.showMaximized();
    return app.exec();
}
