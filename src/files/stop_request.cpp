#include "files/stop_request.h"

#include <atomic>

namespace carteloom {
namespace {
// Lock-free, so that a signal handler may set it.
std::atomic<bool> stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
}  // namespace

void RequestStop() noexcept { stop_requested.store(true, std::memory_order_relaxed); }
bool StopRequested() noexcept { return stop_requested.load(std::memory_order_relaxed); }
void ClearStopRequest() noexcept { stop_requested.store(false, std::memory_order_relaxed); }

}  // namespace carteloom
