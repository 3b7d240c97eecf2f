#include "app/SignalClose.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

// Windows has no such signals for a windowed program; it closes through its window messages.
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int Signal_Fds[2] = {-1, -1};

void On_Signal(int)
{
    const char c = 1;
    // Only async-signal-safe work here; the window closes on the event loop.
    [[maybe_unused]] auto n = ::write(Signal_Fds[0], &c, 1);
}
} // namespace

void Close_On_Signals(QWidget* window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, Signal_Fds) != 0)
        return;
    auto* notifier = new QSocketNotifier(Signal_Fds[1], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char c;
        [[maybe_unused]] auto n = ::read(Signal_Fds[1], &c, 1);
        // Open dialogs first, so that their event loops end and the main window's close runs.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != window && w->isVisible())
                w->close();
        window->close();
    });
    struct sigaction sa {};
    sa.sa_handler = On_Signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}
#else
void Close_On_Signals(QWidget*) {}
#endif
