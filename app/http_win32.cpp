#include "http_win32.h"

#include <process.h>
#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "wide_text_win32.h"

namespace qorin {
namespace {

constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_UI |
                                INTERNET_FLAG_PRAGMA_NOCACHE;
// Unknown authority, wrong usage, name and date mismatch, revocation, HTTP/HTTPS redirects.
constexpr DWORD kIgnoreCertificateFlags = 0xF180;
constexpr DWORD kCertDateInvalid = 12037;  // ERROR_INTERNET_SEC_CERT_DATE_INVALID

// The parts of a URL as InternetCrackUrlA splits it.
struct XUrlParts {
  char scheme[32], host[256], user[128], password[128], path[2048], extra[2048];
  INTERNET_PORT port = 0;
  bool secure = false;

  bool Split(const std::string& url) {
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszScheme = scheme, parts.dwSchemeLength = sizeof(scheme);
    parts.lpszHostName = host, parts.dwHostNameLength = sizeof(host);
    parts.lpszUserName = user, parts.dwUserNameLength = sizeof(user);
    parts.lpszPassword = password, parts.dwPasswordLength = sizeof(password);
    parts.lpszUrlPath = path, parts.dwUrlPathLength = sizeof(path);
    parts.lpszExtraInfo = extra, parts.dwExtraInfoLength = sizeof(extra);
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
    port = parts.nPort;
    secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
  }
};

// One request: its three handles, closed with it.
class XHttpRequest {
 public:
  explicit XHttpRequest(const XHttpOptions& options) : options_(options) {}
  ~XHttpRequest() { CloseHandles(); }
  XHttpRequest(const XHttpRequest&) = delete;
  XHttpRequest& operator=(const XHttpRequest&) = delete;

  // Follows redirects itself, at most kMostRedirects.
  bool Open(const std::u16string& url);
  // Chunks of at most 4 KiB to the sink until the end; progress gets the running total.
  bool Read(const XHttpSink& sink, const std::function<void(uint64_t)>& progress);
  XHttpResult result;

 private:
  bool Fail(XHTTP_ERR code) {
    result.systemError = GetLastError();
    result.error = result.systemError == kCertDateInvalid ? XHTTP_ERR_CERT_DATE : code;
    return false;
  }
  bool Connect(const XUrlParts& url);
  bool Send();
  bool ReadStatus();
  bool OpenOnce(const std::u16string& url);
  void CloseHandles();
  bool PastDeadline() const {
    return options_.deadline != 0 && GetTickCount64() - started_ > options_.deadline;
  }

  XHttpOptions options_;
  HINTERNET session_ = nullptr, connection_ = nullptr, request_ = nullptr;
  ULONGLONG started_ = GetTickCount64();
};

void XHttpRequest::CloseHandles() {
  for (HINTERNET* handle : {&request_, &connection_, &session_}) {
    if (*handle != nullptr) InternetCloseHandle(*handle);
    *handle = nullptr;
  }
}

bool XHttpRequest::Connect(const XUrlParts& url) {
  session_ = InternetOpenW(Wide(options_.userAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr,
                           nullptr, 0);
  if (session_ == nullptr) return Fail(XHTTP_ERR_OPEN);
  InternetSetOptionW(session_, INTERNET_OPTION_CONNECT_TIMEOUT, &options_.connectTimeout,
                     sizeof(DWORD));
  InternetSetOptionW(session_, INTERNET_OPTION_RECEIVE_TIMEOUT, &options_.receiveTimeout,
                     sizeof(DWORD));
  InternetSetOptionW(session_, INTERNET_OPTION_CONNECT_RETRIES, &options_.connectRetries,
                     sizeof(DWORD));
  if (options_.connectionsPerServer != 0) {
    InternetSetOptionW(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER,
                       &options_.connectionsPerServer, sizeof(DWORD));
  }
  connection_ =
      InternetConnectA(session_, url.host, url.port, url.user[0] ? url.user : nullptr,
                       url.password[0] ? url.password : nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  return connection_ != nullptr || Fail(XHTTP_ERR_CONNECT);
}

bool XHttpRequest::Send() {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!HttpSendRequestW(request_, nullptr, 0, nullptr, 0)) return Fail(XHTTP_ERR_SEND);
    DWORD status = 0, size = sizeof(status);
    bool proxyAuthentication =
        HttpQueryInfoW(request_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                       nullptr) &&
        status == HTTP_STATUS_PROXY_AUTH_REQ;
    if (!proxyAuthentication || !options_.proxyDialog || options_.window == nullptr) return true;
    DWORD flags = FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_GENERATE_DATA |
                  FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS;
    if (InternetErrorDlg(options_.window, request_, ERROR_INTERNET_INCORRECT_PASSWORD, flags,
                         nullptr) != ERROR_INTERNET_FORCE_RETRY) {
      return true;
    }
  }
  return true;
}

bool XHttpRequest::ReadStatus() {
  DWORD length = 0, size = sizeof(length);
  if (HttpQueryInfoW(request_, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size,
                     nullptr)) {
    result.contentLength = length;
  }
  DWORD status = 0;
  size = sizeof(status);
  if (!HttpQueryInfoW(request_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return Fail(XHTTP_ERR_STATUS);
  }
  result.status = status;
  wchar_t location[2048];
  size = sizeof(location);
  if (HttpQueryInfoW(request_, HTTP_QUERY_LOCATION, location, &size, nullptr)) {
    result.location = FromWide({location, size / sizeof(wchar_t)});
  }
  XHTTP_ERR error = StatusError(status);
  if (error == XHTTP_ERR_NONE) return true;
  SetLastError(0);
  return Fail(error);
}

// WinINet would follow a redirect loop thousands of times: redirects are followed here.
bool XHttpRequest::Open(const std::u16string& url) {
  std::u16string current = url;
  for (int hop = 0;; ++hop) {
    if (OpenOnce(current)) return true;
    bool follow = !options_.noAutoRedirect && result.error == XHTTP_ERR_STATUS_3XX &&
                  IsFollowedRedirect(result.status) && !result.location.empty() &&
                  hop < kMostRedirects && !PastDeadline();
    if (!follow) return false;
    wchar_t next[2048];
    DWORD size = 2048;
    if (!InternetCombineUrlW(Wide(current).c_str(), Wide(result.location).c_str(), next, &size, 0))
      return Fail(XHTTP_ERR_BAD_URL);
    current = FromWide({next, size});
    CloseHandles();
    result = {};
  }
}

bool XHttpRequest::OpenOnce(const std::u16string& url) {
  XUrlParts parts;
  if (!parts.Split(EncodeUrl(url))) return Fail(XHTTP_ERR_BAD_URL);
  if (!Connect(parts)) return false;
  DWORD flags =
      kRequestFlags | INTERNET_FLAG_NO_AUTO_REDIRECT | (parts.secure ? INTERNET_FLAG_SECURE : 0);
  std::string object = std::string(parts.path) + parts.extra;
  request_ =
      HttpOpenRequestA(connection_, "GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0);
  if (request_ == nullptr) return Fail(XHTTP_ERR_OPEN_REQUEST);
  if (parts.secure && options_.ignoreCertificateProblems) {
    DWORD security = 0, size = sizeof(security);
    InternetQueryOptionW(request_, INTERNET_OPTION_SECURITY_FLAGS, &security, &size);
    security |= kIgnoreCertificateFlags;
    InternetSetOptionW(request_, INTERNET_OPTION_SECURITY_FLAGS, &security, sizeof(security));
  }
  if (!options_.extraHeaders.empty() &&
      !HttpAddRequestHeadersW(request_, Wide(options_.extraHeaders).c_str(), static_cast<DWORD>(-1),
                              HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
    return Fail(XHTTP_ERR_HEADERS);
  }
  return Send() && ReadStatus();
}

// What has arrived is read at once, so that a server that sends a byte at a time meets the
// deadline between reads; a body past mostBytes fails as the sink's refusal does.
bool XHttpRequest::Read(const XHttpSink& sink, const std::function<void(uint64_t)>& progress) {
  uint8_t chunk[4096];
  uint64_t total = 0;
  for (;;) {
    if (PastDeadline()) return Fail(XHTTP_ERR_READ);
    DWORD available = 0, got = 0;
    if (!InternetQueryDataAvailable(request_, &available, 0, 0)) return Fail(XHTTP_ERR_QUERY_DATA);
    DWORD wanted = available == 0 ? 1 : std::min<DWORD>(available, sizeof chunk);
    if (!InternetReadFile(request_, chunk, wanted, &got)) return Fail(XHTTP_ERR_READ);
    if (got == 0) return true;
    total += got;
    if (options_.mostBytes != 0 && total > options_.mostBytes) return Fail(XHTTP_ERR_WRITE);
    if (!sink(chunk, got)) return Fail(XHTTP_ERR_WRITE);
    if (progress) progress(total);
  }
}

// A post that a full message queue refused is retried every 20 ms for up to a second.
void Post(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  for (int waited = 0; !PostMessageW(window, message, wparam, lparam); waited += 20) {
    if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || waited >= 1000) return;
    Sleep(20);
  }
}

struct XAsyncJob {
  std::u16string url;
  std::shared_ptr<std::vector<uint8_t>> buffer;
  HWND window;
  XHttpOptions options;
  long number;
};

unsigned __stdcall AsyncWorker(void* argument) {
  std::unique_ptr<XAsyncJob> job(static_cast<XAsyncJob*>(argument));
  const XHttpMessages& m = HttpMessages();
  auto number = static_cast<WPARAM>(job->number);
  XHttpRequest request(job->options);
  bool complete = false;
  if (request.Open(job->url)) {
    Post(job->window, m.start, number, static_cast<LPARAM>(request.result.contentLength));
    auto sink = [&job](const uint8_t* data, uint32_t size) {
      job->buffer->insert(job->buffer->end(), data, data + size);
      return true;
    };
    auto progress = [&](uint64_t total) {
      Post(job->window, m.progress, number, static_cast<LPARAM>(total));
    };
    complete = request.Read(sink, progress);
  }
  if (!complete) {
    Post(job->window, m.error, number, request.result.error);
    Post(job->window, m.systemError, number, static_cast<LPARAM>(request.result.systemError));
  }
  Post(job->window, m.complete, number, complete ? 1 : 0);
  return 0;
}

// The build date of this file, from the compiler's "Mmm dd yyyy".
void BuildDate(int* year, int* month, int* day) {
  static constexpr char kDate[] = __DATE__;
  static constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  *month =
      static_cast<int>((std::strstr(kMonths, std::string(kDate, 3).c_str()) - kMonths) / 3 + 1);
  *day = (kDate[4] == ' ' ? 0 : kDate[4] - '0') * 10 + (kDate[5] - '0');
  *year = std::atoi(kDate + 7);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(folder) + L"\\" + name).c_str());
}

}  // namespace

const XHttpMessages& HttpMessages() {
  static const XHttpMessages messages{
      RegisterWindowMessageW(L"WM_XHTTP_START"), RegisterWindowMessageW(L"WM_XHTTP_PROGRESS"),
      RegisterWindowMessageW(L"WM_XHTTP_COMPLETE"), RegisterWindowMessageW(L"WM_XHTTP_ERR"),
      RegisterWindowMessageW(L"WM_XHTTP_ERR_SYS")};
  return messages;
}

bool HttpGet(const std::u16string& url, const XHttpSink& sink, const XHttpOptions& options,
             XHttpResult* result) {
  XHttpRequest request(options);
  bool done = request.Open(url) && request.Read(sink, nullptr);
  if (result != nullptr) *result = request.result;
  return done;
}

long HttpGetAsync(const std::u16string& url, std::shared_ptr<std::vector<uint8_t>> buffer,
                  HWND window, const XHttpOptions& options) {
  static volatile LONG counter = 0;
  long number = InterlockedIncrement(&counter);
  auto* job = new XAsyncJob{url, std::move(buffer), window, options, number};
  uintptr_t thread = _beginthreadex(nullptr, 0, AsyncWorker, job, 0, nullptr);
  if (thread == 0) {
    delete job;
    return 0;
  }
  CloseHandle(reinterpret_cast<HANDLE>(thread));
  return number;
}

bool NetworkAvailable() {
  using ConnectedStateFn = BOOL(WINAPI*)(DWORD*, DWORD);
  using NetworkAliveFn = BOOL(WINAPI*)(DWORD*);
  static HMODULE wininet = LoadSystemLibrary(L"Wininet.dll");
  auto connected = wininet == nullptr ? nullptr
                                      : reinterpret_cast<ConnectedStateFn>(reinterpret_cast<void*>(
                                            GetProcAddress(wininet, "InternetGetConnectedState")));
  DWORD flags = 0;
  if (connected == nullptr || connected(&flags, 0)) return true;
  static HMODULE sensapi = LoadSystemLibrary(L"Sensapi.dll");
  auto alive = sensapi == nullptr ? nullptr
                                  : reinterpret_cast<NetworkAliveFn>(reinterpret_cast<void*>(
                                        GetProcAddress(sensapi, "IsNetworkAlive")));
  return alive != nullptr && alive(&flags) == 1;
}

void SendErrorReport(const std::u16string& endpoint, const std::u16string& name,
                     const std::u16string& version, const std::u16string& log) {
  if (endpoint.empty()) return;
  int year = 0, month = 0, day = 0;
  BuildDate(&year, &month, &day);
  XHttpOptions options;
  options.deadline = kTouchDeadlineMs;
  HttpGet(
      ErrorReportUrl(endpoint, name, year, month, day, version, log),
      [](const uint8_t*, uint32_t) { return true; }, options);
}

bool XWebWin32::Touch(const std::u16string& url, const std::u16string& userAgent) {
  XHttpOptions options;
  options.userAgent = userAgent;
  options.deadline = kTouchDeadlineMs;
  return HttpGet(
      url, [](const uint8_t*, uint32_t) { return true; }, options);
}

}  // namespace qorin
