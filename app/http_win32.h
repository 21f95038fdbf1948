// XHttp: a small HTTP client on WinINet. A request runs synchronously on the caller's thread or
// on a worker of its own that reports to a window by posted messages:
//
//   worker: open ─► send ─► START(number, length) ─► PROGRESS(number, total)... ─► COMPLETE(number,
//   ok)
//           any failure: ERR(number, XHttp code), ERR_SYS(number, system error), then COMPLETE
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "http_rules.h"
#include "system_calls.h"

namespace qorin {

struct XHttpOptions {
  std::u16string userAgent = u"XHttp";
  DWORD connectTimeout = 10000;  // ms
  DWORD receiveTimeout = 10000;  // ms
  DWORD connectRetries = 5;
  DWORD connectionsPerServer = 0;  // process-wide when not 0
  bool noAutoRedirect = false;     // else at most kMostRedirects are followed
  DWORD deadline = 0;              // ms for the whole request, reading included (0: none)
  uint64_t mostBytes = 0;          // a longer body fails the request (0: no limit)
  bool ignoreCertificateProblems = false;
  std::u16string extraHeaders;
  bool proxyDialog = false;  // a 407 answer asks the user (needs window)
  HWND window = nullptr;
};

struct XHttpResult {
  XHTTP_ERR error = XHTTP_ERR_NONE;
  DWORD systemError = 0;
  unsigned status = 0;
  int64_t contentLength = -1;
  std::u16string location;
};

// The body's bytes as they arrive; false refuses them.
using XHttpSink = std::function<bool(const uint8_t* data, uint32_t size)>;

// The messages of the asynchronous requests, registered at process start.
struct XHttpMessages {
  UINT start, progress, complete, error, systemError;
};
const XHttpMessages& HttpMessages();

// A touch or an error report (whose answers are not read) ends within this many milliseconds.
constexpr DWORD kTouchDeadlineMs = 10000;

// A GET whose whole body goes to the sink.
bool HttpGet(const std::u16string& url, const XHttpSink& sink, const XHttpOptions& options,
             XHttpResult* result = nullptr);

// A GET on a worker thread into the buffer (which the worker keeps alive); the window gets the
// messages. The request number, 0 when no worker started.
long HttpGetAsync(const std::u16string& url, std::shared_ptr<std::vector<uint8_t>> buffer,
                  HWND window, const XHttpOptions& options);

// Whether the system says there is a network (true when it cannot say).
bool NetworkAvailable();

// The build's error-report endpoint (error_report_endpoint.cpp, one per stub executable).
extern const char16_t kErrorReportEndpoint[];

// GET of endpoint + "/error/app.php?..." with the stub's build date; nothing without an endpoint.
void SendErrorReport(const std::u16string& endpoint, const std::u16string& name,
                     const std::u16string& version, const std::u16string& log);

// IXWeb for the natives.
class XWebWin32 final : public IXWeb {
 public:
  bool NetworkAvailable() override { return qorin::NetworkAvailable(); }
  bool Touch(const std::u16string& url, const std::u16string& userAgent) override;
};

}  // namespace qorin
