#pragma once
// One batch on a thread of its own, so that the window repaints, moves and
// answers while it works. Its boxes and its work on the source list happen
// on the window's thread (see ForwardingBatchUi).
#include <QObject>
#include <functional>
#include <thread>

#include "app/forwarding_batch_ui.h"
#include "batch/batch_ui.h"

namespace carteloom {

class BatchThread : public QObject {
  Q_OBJECT

 public:
  using Batch = std::function<BatchResult(BatchUi& ui)>;

  // Starts `batch` at once. windowSide is called on this object's thread
  // and outlives it.
  BatchThread(BatchUi& windowSide, Batch batch, QObject* parent = nullptr);
  // A batch still running is asked to stop; its calls are carried out
  // (without boxes, see WindowBatchUi) until it has unwound.
  ~BatchThread() override;

  // What the batch did; set once it has finished.
  const BatchResult& Result() const { return result_; }

 signals:
  // On this object's thread, after the batch has returned or unwound.
  void finished();

 private:
  void Run();

  ForwardingBatchUi ui_;
  Batch batch_;
  BatchResult result_;
  bool running_ = true;
  std::thread thread_;
};

}  // namespace carteloom
