#include "app/TTerminationSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only write to a descriptor; the event loop reads the other end.
int gSignalSockets[2] = {-1, -1};

extern "C" void OnTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[0], &byte, 1);
}

}  // namespace

TTerminationSignal::TTerminationSignal(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSockets) != 0)
        throw std::runtime_error("The program cannot watch for the end of the session (socketpair failed)");
    FNotifier = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignal::Drain);
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}

TTerminationSignal::~TTerminationSignal()
{
    std::signal(SIGTERM, SIG_DFL);
    delete FNotifier;
    ::close(gSignalSockets[0]);
    ::close(gSignalSockets[1]);
    gSignalSockets[0] = gSignalSockets[1] = -1;
}

void TTerminationSignal::Drain()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(gSignalSockets[1], &byte, 1);
    emit Received();
}
