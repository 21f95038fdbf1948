#include "skin_error.h"

#include <string_view>

#include "utf.h"
#include "xml_document.h"

namespace qorin {
namespace {

struct ErrorText {
  int code;
  const char16_t* korean;
  const char16_t* english;  // null: the Korean text everywhere
};

constexpr ErrorText kErrorTexts[] = {
    {0, u"에러 없음", u"No error"},
    {1, u"파일 열기 실패", nullptr},
    {2, u"XML 파싱 에러(%s, line:%d col:%d)", nullptr},
    {3, u"Control ID 파일을 열 수 없습니다", nullptr},
    {256, u"잘못된 루트 태그 - 최상위 태그는 <XSkin> 이어야 합니다.", nullptr},
    {257, u"<Head>태그를 찾을 수 없습니다.", nullptr},
    {258, u"<Body>태그를 찾을 수 없습니다.", nullptr},
    {512, u"'태그가 있어야 할 곳에 태그가 아닌 일반 텍스트 엘리먼트가 있습니다.", nullptr},
    {513, u"Align 속성의 속성값이 잘못되었습니다.", nullptr},
    {769, u"Align 속성의 속성값이 잘못되었습니다.", nullptr},
    {514,
     u"WindowHandle 속성이 없습니다. 모든 <Window> 태그는 WindowHandle 속성을 지정해야 합니다.",
     nullptr},
    {515, u"잘못된 태그입니다.", nullptr},
    {516, u"ThumbImage 속성이 없습니다. Slider 컨트롤은 ThumbImage 속성이 있어야만 합니다.",
     nullptr},
    {517,
     u"ThumbImageLeft 혹은 ThumbImageRight 속성이 없습니다. SelectionSlider 컨트롤은 이 속성이 "
     u"있어야만 합니다.",
     nullptr},
    {518, u"Width 속성이 없습니다. WindowSize 태그에는 Width 속성이 있어야만 합니다.", nullptr},
    {519, u"Height 속성이 없습니다. WindowSize 태그에는 Height 속성이 있어야만 합니다.", nullptr},
    {520, u"TooltipStyle 속성의 속성값이 바르지 않습니다.", nullptr},
    {521, u"TooltipPosition 속성의 속성값이 바르지 않습니다.", nullptr},
    {524, u"WindowClass 속성으로 지정된 윈도우를 생성하는데 실패하였습니다.",
     u"Cannot create a Window using a specified WindowClass"},
    {770, u"지정된 파일을 열 수 없습니다.", nullptr},
    {771, u"잘못된 속성값입니다.", nullptr},
    {772, u"이미지의 크기가 잘못되었습니다. 이 이미지는 가로/세로 크기가 3의 배수이어야 합니다.",
     nullptr},
    {773, u"이미지의 크기가 잘못되었습니다. 이 이미지는 가로 크기가 4의 배수이어야 합니다.",
     nullptr},
    {774, u"ID 속성이 잘못되었습니다. 지정된 ID 속성값을 찾을 수 없습니다.", nullptr},
    {775, u"Command 속성이 잘못되었습니다. 해당 Command 값을 찾을 수 없습니다.", nullptr},
    {776, u"WindowHandle 속성이 잘못되었습니다. 해당 핸들값을 찾을 수 없습니다.", nullptr},
    {777, u"중복된 ID값이 지정되었습니다.", nullptr},
    {1024, u"Error At Do XScript", nullptr},
    {1280, u"Internal error", nullptr},
    {1281, u"Error At XScript caller", nullptr},
    {1282, u"Invalid parameter", nullptr},
    {1283, u"Font creation failed", nullptr},
    {1284, u"Html font creation failed", nullptr},
};
constexpr const char16_t* kUnknownError = u"지정되지 않은 에러입니다.";

std::u16string Number(int value) {
  return AsciiToUtf16(std::to_string(value));
}

}  // namespace

bool XSkinError::Set(int newCode, std::u16string_view newText1, std::u16string_view newText2,
                     int newLine, int newColumn) {
  if (Failed()) return false;
  code = newCode;
  text1 = newText1;
  text2 = newText2;
  line = newLine;
  column = newColumn;
  return false;
}

std::vector<XCodeText> SkinErrorTable() {
  std::vector<XCodeText> rows;
  for (const ErrorText& row : kErrorTexts)
    rows.push_back({row.code, row.korean, row.english != nullptr ? row.english : u""});
  return rows;
}

std::u16string XSkinError::Text(uint16_t uiLanguage) const {
  std::u16string message = kUnknownError;
  for (const ErrorText& row : kErrorTexts) {
    if (row.code != code) continue;
    message = row.english != nullptr && uiLanguage != kLanguageKorean ? row.english : row.korean;
    break;
  }
  if (code == XSKIN_ERR_XML) {
    message = u"XML 파싱 에러(" + XmlErrorText(xmlError) + u", line:" + Number(xmlLine) + u" col:" +
              Number(xmlColumn) + u")";
  }
  message += u" Line:" + Number(line) + u" Col:" + Number(column);
  if (!text1.empty()) message += u" (" + text1 + u")";
  if (!text2.empty()) message += u" (" + text2 + u")";
  return message;
}

}  // namespace qorin
