#include "UnixSignalWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_fds[2] = {-1, -1};

extern "C" void forwardSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(g_fds[0], &byte, 1);
}
} // namespace

UnixSignalWatcher::UnixSignalWatcher(QObject *parent)
    : QObject(parent)
{
    if (g_fds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_fds) != 0)
        return;
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignalWatcher::readSignal);
    claimSignals();
}

void UnixSignalWatcher::claimSignals()
{
    if (g_fds[0] < 0)
        return;
    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

UnixSignalWatcher::~UnixSignalWatcher()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void UnixSignalWatcher::readSignal()
{
    char byte = 0;
    if (::read(g_fds[1], &byte, 1) == 1)
        Q_EMIT terminationRequested(static_cast<unsigned char>(byte));
}
