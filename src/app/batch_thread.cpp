#include "app/batch_thread.h"

#include <QEventLoop>
#include <exception>

#include "files/stop_request.h"

namespace carteloom {

BatchThread::BatchThread(BatchUi& windowSide, Batch batch, QObject* parent)
    : QObject(parent), ui_(windowSide, *this), batch_(std::move(batch)), thread_([this] { Run(); }) {}

BatchThread::~BatchThread() {
  if (!running_) return;
  RequestStop();
  QEventLoop untilUnwound;
  connect(this, &BatchThread::finished, &untilUnwound, &QEventLoop::quit);
  untilUnwound.exec();
}

void BatchThread::Run() {
  BatchResult result;
  try {
    result = batch_(ui_);
  } catch (const BatchStopped&) {
    result.stopped = true;
  } catch (const std::exception& error) {
    // The batches report failed files themselves; this keeps anything
    // unforeseen from taking the program down with it.
    ui_.ShowMessage(std::string("转换中断：") + error.what(), kMessageTitle);
    result.endedEarly = true;
  }
  // Queued behind every call of the batch, so it comes after all of them.
  QMetaObject::invokeMethod(
      this,
      [this, result] {
        thread_.join();
        result_ = result;
        running_ = false;
        emit finished();
      },
      Qt::QueuedConnection);
}

}  // namespace carteloom
