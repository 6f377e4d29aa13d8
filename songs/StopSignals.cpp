#include "songs/StopSignals.h"

#include "catalogue/StopSignalNumbers.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace songs {
namespace {

constexpr const auto& kSignals = catalogue::kStopSignals;

volatile std::sig_atomic_t received = 0;
// Within a StopAtOnce scope: the signal ends the process, after its farewell.
volatile std::sig_atomic_t atOnce = 0;
std::string farewell;
int farewellFd = -1;
// The self-pipe: the handler writes a byte to wake an event loop that waits on the read end.
int pipeEnds[2] = {-1, -1};

extern "C" void OnStopSignal(int signal)
{
    if (atOnce != 0) {
        for (std::size_t done = 0; farewellFd >= 0 && done < farewell.size();) {
            const ssize_t written = ::write(farewellFd, farewell.data() + done, farewell.size() - done);
            if (written <= 0 && errno != EINTR)
                break;
            done += written > 0 ? static_cast<std::size_t>(written) : 0;
        }
        ::_exit(128 + signal);
    }
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

StopAtOnce::StopAtOnce(std::string text, int fd)
{
    farewell = std::move(text);
    farewellFd = fd;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    atOnce = 1;
}

StopAtOnce::~StopAtOnce()
{
    atOnce = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

} // namespace songs
