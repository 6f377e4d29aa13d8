#include "catalogue/AttachInTime.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace catalogue {
namespace {

// Shared with the attach's thread, which may outlive the wait.
struct AttachState {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::exception_ptr failure;
};

} // namespace

bool AttachInTime(CatalogueSession& session, std::chrono::milliseconds wait)
{
    auto state = std::make_shared<AttachState>();
    std::thread attach([state, &session] {
        std::exception_ptr failure;
        try {
            session.Open();
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(state->mutex);
        state->failure = failure;
        state->done = true;
        state->ended.notify_all();
    });
    std::unique_lock lock(state->mutex);
    if (!state->ended.wait_for(lock, wait, [&state] { return state->done; })) {
        attach.detach();
        return false;
    }
    lock.unlock();
    attach.join();
    if (state->failure)
        std::rethrow_exception(state->failure);
    return true;
}

} // namespace catalogue
