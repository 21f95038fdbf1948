// Small Windows pieces shared by the observation helpers and the test harness: UTF-8
// conversion, command-line options, files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qorin::helpers {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// Value of "--name VALUE" on the process command line, or the fallback.
std::wstring Option(const wchar_t* name, const wchar_t* fallback = L"");

bool FileExists(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);
std::string ReadWholeFile(const std::wstring& path);

// Appends one line (a line feed is added) to a file opened for appending.
class LineWriter {
 public:
  explicit LineWriter(const std::wstring& path);
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;
  bool ok() const { return file_ != INVALID_HANDLE_VALUE; }
  void Write(std::string_view line);

 private:
  HANDLE file_;
};

// Polled by the helpers: true once the stop file exists or the time is up.
class StopCondition {
 public:
  StopCondition(std::wstring stopFile, DWORD timeoutMs);
  bool Reached() const;

 private:
  std::wstring stopFile_;
  ULONGLONG deadline_;
};

}  // namespace qorin::helpers
