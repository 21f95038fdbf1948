// Where the stub reports a skin that fails to load; each stub executable sets it when built
// (empty: no report is sent).
#include "http_win32.h"

namespace qorin {

const char16_t kErrorReportEndpoint[] = QORIN_ERROR_REPORT_URL;

}  // namespace qorin
