#include <process.h>
#include <windows.h>

#include "worker_thread.h"

namespace qorin {
namespace {

unsigned __stdcall RunJob(void* job) {
  (*static_cast<std::function<void()>*>(job))();
  return 0;
}

}  // namespace

void XWorkerThread::Start(std::function<void()> job) {
  Join();
  job_ = std::move(job);
  uintptr_t handle = _beginthreadex(nullptr, 0, RunJob, &job_, 0, nullptr);
  if (handle == 0) {
    job_();
    return;
  }
  handle_ = reinterpret_cast<void*>(handle);
}

void XWorkerThread::Join() {
  if (!handle_) return;
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(handle_);
  handle_ = nullptr;
}

}  // namespace qorin
