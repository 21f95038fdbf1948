#include "http_rules.h"

#include "utf.h"

namespace qorin {

std::string EncodeUrl(std::u16string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char byte : Utf16ToUtf8(url)) {
    if (byte <= 0x20 || byte > 0x7F) {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    } else {
      encoded += static_cast<char>(byte);
    }
  }
  return encoded;
}

XHTTP_ERR StatusError(unsigned status) {
  switch (status / 100) {
    case 2: return XHTTP_ERR_NONE;
    case 1: return XHTTP_ERR_STATUS_1XX;
    case 3: return XHTTP_ERR_STATUS_3XX;
    case 4: return XHTTP_ERR_STATUS_4XX;
    case 5: return XHTTP_ERR_STATUS_5XX;
    default: return XHTTP_ERR_STATUS_OTHER;
  }
}

bool IsFollowedRedirect(unsigned status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::u16string ErrorReportUrl(std::u16string_view endpoint, std::u16string_view name, int year,
                              int month, int day, std::u16string_view version,
                              std::u16string_view log) {
  auto digits = [](int value, int width) {
    std::u16string text(static_cast<size_t>(width), u'0');
    for (int i = width - 1; i >= 0 && value > 0; --i, value /= 10) {
      text[static_cast<size_t>(i)] = static_cast<char16_t>(u'0' + value % 10);
    }
    return text;
  };
  std::u16string url(endpoint);
  url.append(u"/error/app.php?name=").append(name);
  url.append(u"&buildDate=").append(digits(year, 4) + digits(month, 2) + digits(day, 2));
  url.append(u"&version=").append(version).append(u"&log=").append(log);
  return url;
}

}  // namespace qorin
