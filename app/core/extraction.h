// The extraction of the payload into the installation folder, as the worker thread runs it. It
// reports to a sink: on Windows the sink sends the registered WM_EXTRACT_ messages to the
// window and waits for its answers; tests record.
//
//   7z entries in order ─► folder: make it
//                       └► file: decode ─► sink.OpenFile (path | "" = skip) ─► move a file in
//                          use aside (".bak1" ...) ─► create (sink.CantOpen: retry, ignore,
//                          abort) ─► write, time, attributes ─► sink.Progress
//   end ─► sink.Completed(code, name)
#pragma once

#include <cstdint>
#include <string>

#include "file_access.h"

namespace qorin {

// Result codes of the extraction (the language keys of their texts in ExtractionErrorKey).
enum XEXTRACT_ERR : int {
  XEXTRACT_OK = 0,
  XEXTRACT_ERR_CREATE_FOLDER = 1,
  XEXTRACT_ERR_OPEN_FILE = 2,
  XEXTRACT_ERR_WRITE_FILE = 3,
  XEXTRACT_ERR_BROKEN_ARCHIVE = 4,
  XEXTRACT_ERR_CRC = 5,
  XEXTRACT_ERR_NO_MEMORY = 6,
  XEXTRACT_ERR_DECODER = 256,  // + the LZMA SDK's own result code
};

// The language key of a code's text, or null for codes without one ("ERROR:0x%x").
const char16_t* ExtractionErrorKey(int code);

// Answers of CantOpen, with the Win32 button values.
constexpr int kAnswerAbort = 3;
constexpr int kAnswerRetry = 4;
constexpr int kAnswerIgnore = 5;

class IXExtractionSink {
 public:
  virtual ~IXExtractionSink() = default;
  // The output path of an entry: defaultPath, another path, or "" to skip it.
  virtual std::u16string OpenFile(const std::u16string& name,
                                  const std::u16string& defaultPath) = 0;
  virtual void Progress(uint64_t done, uint64_t total) = 0;
  virtual int CantOpen(const std::u16string& path) = 0;
  virtual void Completed(int code, const std::u16string& name) = 0;
};

struct XExtractionJob {
  std::u16string packagePath;
  int64_t offset = 0;  // 0: the whole file is the archive (developer mode)
  int64_t size = -1;
  std::u16string installFolder;  // ends in a separator
};

// A payload name that stays inside the installation folder: no drive, no leading separator,
// no ".." part.
bool IsSafeEntryName(const std::u16string& name);

// Runs the whole extraction and reports its end to the sink; answers the code.
int ExtractPayload(const XExtractionJob& job, IXExtractionSink& sink,
                   IXFileAccess& files = SystemFileAccess());

}  // namespace qorin
