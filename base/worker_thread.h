#pragma once

#include <functional>

namespace qorin {

// One job run on a thread of its own, joined before the next starts and at destruction. On
// Windows it is a thread of the C runtime (_beginthreadex), so the stub needs no thread library;
// natively std::thread.
class XWorkerThread {
 public:
  XWorkerThread() = default;
  ~XWorkerThread() { Join(); }
  XWorkerThread(const XWorkerThread&) = delete;
  XWorkerThread& operator=(const XWorkerThread&) = delete;

  // Runs job on a new thread, after joining the one before. When no thread can be made the job
  // runs here, before Start returns: the caller sees the same result, only later.
  void Start(std::function<void()> job);
  // Waits for the job; at once when none runs.
  void Join();

 private:
  std::function<void()> job_;
  void* handle_ = nullptr;  // the system's thread, or nullptr
};

}  // namespace qorin
