#pragma once
// A request to stop the running batch, from a signal handler or another
// thread. The batch looks at it between files and as it reads and writes;
// when set, it unwinds with BatchStopped: every output being written is
// discarded, nothing already in place is touched, and no summary is shown.
namespace carteloom {

// Async-signal-safe.
void RequestStop() noexcept;
bool StopRequested() noexcept;
// A batch clears it as it starts.
void ClearStopRequest() noexcept;

// Not a std::exception, so that the handlers of a failed entry let it through.
struct BatchStopped {};

// Throws BatchStopped when a stop was requested.
inline void StopPoint() {
  if (StopRequested()) throw BatchStopped{};
}

}  // namespace carteloom
