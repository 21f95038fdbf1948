#include "extraction_worker_win32.h"

#include <process.h>

#include <algorithm>
#include <memory>

#include "debug_log.h"

namespace qorin {
namespace {

class MessageSink final : public IXExtractionSink {
 public:
  explicit MessageSink(HWND window) : window_(window) {}

  std::u16string OpenFile(const std::u16string& name, const std::u16string& path) override {
    auto* answer = reinterpret_cast<const char16_t*>(
        SendMessageW(window_, ExtractMessages().openFile, reinterpret_cast<WPARAM>(name.c_str()),
                     reinterpret_cast<LPARAM>(path.c_str())));
    return answer != nullptr ? std::u16string(answer) : std::u16string();  // copied at once
  }
  // In per-mille, which a message's 32 bits hold for any payload size.
  void Progress(uint64_t done, uint64_t total) override {
    WPARAM perMille = total == 0 ? 0 : static_cast<WPARAM>(std::min(done, total) * 1000 / total);
    SendMessageW(window_, ExtractMessages().progress, perMille, 1000);
  }
  int CantOpen(const std::u16string& path) override {
    return static_cast<int>(SendMessageW(window_, ExtractMessages().cantOpen,
                                         reinterpret_cast<WPARAM>(path.c_str()), 0));
  }
  void Completed(int code, const std::u16string& name) override {
    SendMessageW(window_, ExtractMessages().completed, static_cast<WPARAM>(code),
                 reinterpret_cast<LPARAM>(name.c_str()));
  }

 private:
  HWND window_;
};

struct Work {
  HWND window;
  XExtractionJob job;
};

unsigned __stdcall ExtractThreadProc(void* parameter) {
  std::unique_ptr<Work> work(static_cast<Work*>(parameter));
  MessageSink sink(work->window);
  ExtractPayload(work->job, sink);
  DebugLog(L"ExtractThreadProc()-end");
  return 0;
}

}  // namespace

const XExtractMessages& ExtractMessages() {
  static const XExtractMessages messages{RegisterWindowMessageW(L"WM_EXTRACT_OPEN_FILE"),
                                         RegisterWindowMessageW(L"WM_EXTRACT_PROGRESS"),
                                         RegisterWindowMessageW(L"WM_EXTRACT_COMPLETED"),
                                         RegisterWindowMessageW(L"WM_EXTRACT_CANT_OPEN_FILE")};
  return messages;
}

bool StartExtractionWorker(HWND window, XExtractionJob job) {
  ExtractMessages();
  auto* work = new Work{window, std::move(job)};
  uintptr_t thread = _beginthreadex(nullptr, 0, ExtractThreadProc, work, 0, nullptr);
  if (thread == 0) {
    delete work;
    return false;
  }
  CloseHandle(reinterpret_cast<HANDLE>(thread));
  return true;
}

}  // namespace qorin
