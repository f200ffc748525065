#pragma once
// Reading ahead on a thread of its own: a fill function fills batches while
// the caller works through the previous one. Two batches take turns, so a
// steady run allocates nothing once they have grown.
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace carteloom {

template <typename Batch>
class ReadAhead {
 public:
  // fill(batch) makes batch the next one (clearing what it held) and returns
  // false when the source is finished; it runs on the reading thread only.
  explicit ReadAhead(std::function<bool(Batch&)> fill)
      : fill_(std::move(fill)), thread_([this] { Run(); }) {}
  // Stops the reading and waits for it, also when the caller stopped early.
  ~ReadAhead() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next batch, which stays as it is until the next call; nullptr after
  // the last. What fill threw is thrown here, after the batches before it.
  const Batch* Next() {
    std::unique_lock lock(mutex_);
    inUse_ = -1;
    changed_.notify_all();
    changed_.wait(lock, [&] { return ready_ != -1 || finished_; });
    if (ready_ == -1) {
      if (error_) std::rethrow_exception(error_);
      return nullptr;
    }
    inUse_ = std::exchange(ready_, -1);
    changed_.notify_all();
    return &batches_[inUse_].batch;
  }

 private:
  void Run() {
    for (int b = 0;; b ^= 1) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || (inUse_ != b && ready_ != b); });
        if (stop_) return;
      }
      bool more = false;
      std::exception_ptr error;
      try {
        more = fill_(batches_[b].batch);
      } catch (...) {
        error = std::current_exception();
      }
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || ready_ == -1; });
      if (stop_) return;
      ready_ = b;
      finished_ = !more;
      error_ = error;
      changed_.notify_all();
      if (!more) return;
    }
  }

  // Each batch on cache lines of its own, apart from the state the two
  // threads share: the reading thread writes one batch's vectors while the
  // caller reads the other's, and lines shared would bounce between cores.
  struct alignas(64) Slot {
    Batch batch;
  };
  std::function<bool(Batch&)> fill_;
  Slot batches_[2];
  alignas(64) std::mutex mutex_;
  std::condition_variable changed_;
  int ready_ = -1;  // a filled batch waiting to be taken
  int inUse_ = -1;  // the batch the caller works through
  bool finished_ = false;
  bool stop_ = false;
  std::exception_ptr error_;
  std::thread thread_;  // last: it starts once everything above is set up
};

}  // namespace carteloom
