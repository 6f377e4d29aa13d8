#include "songs/StopSignals.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace songs {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t received = 0;
// The self-pipe: the handler writes a byte to wake an event loop that waits on the read end.
int pipeEnds[2] = {-1, -1};

extern "C" void OnStopSignal(int signal)
{
    if (received != 0) {
        // Asked again while stopping: end now, as the signal would have without us.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    received = signal;
    const int saved = errno;
    const char byte = 1;
    if (pipeEnds[1] >= 0)
        [[maybe_unused]] const auto written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void MakePipe()
{
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) == 0)
        return;
    pipeEnds[0] = pipeEnds[1] = -1;
}

} // namespace

void StopSignals::Take()
{
    MakePipe();
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Calls in flight go on (ours retry an interrupted one anyway).
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

const volatile std::sig_atomic_t& StopSignals::Received()
{
    return received;
}

int StopSignals::Descriptor()
{
    MakePipe();
    return pipeEnds[0];
}

void StopSignals::Acknowledge()
{
    char bytes[16];
    while (pipeEnds[0] >= 0 && ::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
}

void StopSignals::Forget()
{
    Acknowledge();
    received = 0;
}

} // namespace songs
