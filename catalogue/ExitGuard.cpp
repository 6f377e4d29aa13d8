#include "catalogue/ExitGuard.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace catalogue::exit_guard {
namespace {

struct OpenLink {
    const void* owner;
    std::function<void()> close;
};

// The process's open links and whether its exit has begun: see the header for why these are
// process-wide. The mutex is never held while a link is closed.
std::mutex linksMutex;
std::vector<OpenLink> links;
std::atomic<bool> exiting{false};

void StartWatchdog(int status)
{
    std::thread([status] {
        std::this_thread::sleep_for(kShutdownBound);
        // The exit has not finished: whatever holds it, the process ends as it was going to.
        _exit(status);
    }).detach();
}

extern "C" void OnExit(int status, void*)
{
    // Registered once per attach; the first call does the work.
    if (exiting.exchange(true))
        return;
    try {
        StartWatchdog(status);
    } catch (...) {
        // No thread to spare: end without the engine's shutdown rather than risk it.
        _exit(status);
    }
    std::vector<OpenLink> open;
    {
        const std::lock_guard lock(linksMutex);
        open.swap(links);
    }
    // Last opened, first closed.
    for (auto link = open.rbegin(); link != open.rend(); ++link) {
        try {
            link->close();
        } catch (...) {
            // Nothing may leave an exit handler; the engine's shutdown gives up what is left.
        }
    }
}

} // namespace

void Arm()
{
    if (!exiting)
        on_exit(OnExit, nullptr);
}

void Track(const void* owner, std::function<void()> close)
{
    const std::lock_guard lock(linksMutex);
    for (OpenLink& link : links) {
        if (link.owner == owner) {
            link.close = std::move(close);
            return;
        }
    }
    links.push_back({owner, std::move(close)});
}

void Forget(const void* owner)
{
    const std::lock_guard lock(linksMutex);
    std::erase_if(links, [owner](const OpenLink& link) { return link.owner == owner; });
}

void EndNow(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(status);
}

} // namespace catalogue::exit_guard
