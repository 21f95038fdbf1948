#include <thread>

#include "worker_thread.h"

namespace qorin {

void XWorkerThread::Start(std::function<void()> job) {
  Join();
  job_ = std::move(job);
  handle_ = new std::thread([this] { job_(); });
}

void XWorkerThread::Join() {
  if (!handle_) return;
  auto* thread = static_cast<std::thread*>(handle_);
  thread->join();
  delete thread;
  handle_ = nullptr;
}

}  // namespace qorin
