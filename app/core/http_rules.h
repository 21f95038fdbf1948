// The HTTP client's rules that need no network: how a URL becomes bytes on the wire, what a
// status code means, and the error report's address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qorin {

// XHttp's error codes.
enum XHTTP_ERR : int {
  XHTTP_ERR_NONE = 0,
  XHTTP_ERR_BAD_URL = 1,
  XHTTP_ERR_OPEN = 2,
  XHTTP_ERR_CONNECT = 3,
  XHTTP_ERR_NO_CONNECTION = 4,
  XHTTP_ERR_OPEN_REQUEST = 5,
  XHTTP_ERR_SEND = 6,
  XHTTP_ERR_STATUS = 7,
  XHTTP_ERR_STATUS_1XX = 8,
  XHTTP_ERR_STATUS_3XX = 9,
  XHTTP_ERR_STATUS_4XX = 10,
  XHTTP_ERR_STATUS_5XX = 11,
  XHTTP_ERR_STATUS_OTHER = 12,
  XHTTP_ERR_QUERY_DATA = 13,
  XHTTP_ERR_READ = 14,
  XHTTP_ERR_MEMORY = 18,
  XHTTP_ERR_WRITE = 20,
  XHTTP_ERR_HEADERS = 22,
  XHTTP_ERR_CERT_DATE = 99,
};

// The URL in UTF-8 with every byte below 0x21 or above 0x7F as "%XX": a space too, since a raw
// one would end the request line early.
std::string EncodeUrl(std::u16string_view url);

// None for 2xx, else the error of the status code's class.
XHTTP_ERR StatusError(unsigned status);

// Redirects followed for one request (a loop ends there, with the 3xx error).
constexpr int kMostRedirects = 5;
// 301, 302, 303, 307 and 308 with a Location are followed.
bool IsFollowedRedirect(unsigned status);

// endpoint + "/error/app.php?name=...&buildDate=YYYYMMDD&version=...&log=..."; the texts go in
// as they are.
std::u16string ErrorReportUrl(std::u16string_view endpoint, std::u16string_view name, int year,
                              int month, int day, std::u16string_view version,
                              std::u16string_view log);

}  // namespace qorin
