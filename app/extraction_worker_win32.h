// The extraction worker on Windows: a thread that runs ExtractPayload and reports through the
// four registered messages, sent to the installer window (the worker waits for each answer).
//
//   WM_EXTRACT_OPEN_FILE (name, default path) ─► the output path (the window's buffer)
//   WM_EXTRACT_PROGRESS (done, total), WM_EXTRACT_CANT_OPEN_FILE (path) ─► the button,
//   WM_EXTRACT_COMPLETED (code, name)
#pragma once

#include <windows.h>

#include "extraction.h"

namespace qorin {

struct XExtractMessages {
  UINT openFile, progress, completed, cantOpen;
};
// Registered once for the process.
const XExtractMessages& ExtractMessages();

// Starts the worker; it owns its job and closes its own handle. False when the thread cannot
// start.
bool StartExtractionWorker(HWND window, XExtractionJob job);

}  // namespace qorin
