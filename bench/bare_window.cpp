// The yardstick of the ventacq window figures: a bare Qt window (a QMainWindow holding a label,
// nothing else), started and measured exactly as ventacq is by bench_acq_window.
//
//   bench_bare_window            stays open until it is closed or ended (CPU figures)
//   bench_bare_window --startup  prints "bench_bare_window: main window shown after N ms" and quits
//   bench_bare_window --poll N   stays open with an empty coarse timer every N ms (the cost of an
//                                event loop woken as often as ventacq's poll during a run)
//
// The start-up figure runs from the first line of main() to the first event-loop pass after the
// window's first show event, as ventacq's VENTACQ_BENCH_STARTUP figure does.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <functional>

namespace {

class BareWindow : public QMainWindow
{
public:
    std::function<void()> onFirstShown;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMainWindow::showEvent(event);
        if (!m_shown) {
            m_shown = true;
            if (onFirstShown)
                QTimer::singleShot(0, this, onFirstShown);
        }
    }

private:
    bool m_shown = false;
};

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer startClock;
    startClock.start();
    QApplication app(argc, argv);
    const bool startup = argc > 1 && std::strcmp(argv[1], "--startup") == 0;
    const int pollMs = argc > 2 && std::strcmp(argv[1], "--poll") == 0 ? std::atoi(argv[2]) : 0;

    BareWindow window;
    window.setWindowTitle(QStringLiteral("bench_bare_window"));
    window.setCentralWidget(new QLabel(QStringLiteral("A bare Qt window"), &window));
    window.resize(640, 480);
    if (startup) {
        window.onFirstShown = [&] {
            std::printf("bench_bare_window: main window shown after %lld ms (CPU %lld ms)\n",
                        static_cast<long long>(startClock.elapsed()),
                        static_cast<long long>(std::clock() * 1000 / CLOCKS_PER_SEC));
            std::fflush(stdout);
            app.quit();
        };
    }
    QTimer poll;
    if (pollMs > 0) {
        poll.setTimerType(Qt::CoarseTimer);
        QObject::connect(&poll, &QTimer::timeout, [] {});
        poll.start(pollMs);
    }
    window.show();
    return app.exec();
}
