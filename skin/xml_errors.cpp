#include "number_text.h"
#include "utf.h"
#include "xml_document.h"

namespace qorin {
namespace {

struct ErrorText {
  int code;
  const char16_t* text;
};

constexpr ErrorText kErrorTexts[] = {
    {0, u"에러 없음"},
    {1, u"일반 오류"},
    {2, u"파일 열기 실패"},
    {3, u"메모리 부족"},
    {4, u"파일 읽기 실패"},
    {5, u"지원하지 않는 코드페이지"},
    {256, u"태그가 제대로 닫히지 않음"},
    {257, u"태그가 제대로 닫히지 않음(?> 필요)"},
    {258, u"EOF 처리가 제대로 안됨"},
    {259, u"종료 태그가 나오지 않음"},
    {260, u"잘못된 토큰이 나옴"},
    {261, u"이퀄(=) 토큰이 필요함"},
    {262, u"속성값이 필요함"},
    {263, u"중복된 속성값"},
    {264, u"루트 태그 다음에 불필요한 토큰이 있음"},
    {265, u"시작과 종료태그가 다름"},
    {266, u"루트에 정상적인 태그가 아닌 토큰이 있음"},
    {267, u"</ 다음에는 태그 이름이 와야함"},
    {268, u"속성값 다음에는 공백이 필요함"},
    {269, u"주석 블럭이 닫히지 않음"},
    {270, u"CDATA block 이 파일이 끝날때까지 닫히지 않았음"},
    {271, u" <! 다음에 -- 이나 [CDATA[ 가 나오지 않았음"},
    {272, u"<? 가 ?> 로 닫히지 않았음"},
    {513, u"알수 없는 토큰"},
    {514, u"토큰 파싱 실패"},
};

}  // namespace

std::vector<XCodeText> XmlErrorTable() {
  std::vector<XCodeText> rows;
  for (const ErrorText& row : kErrorTexts) rows.push_back({row.code, row.text, u""});
  return rows;
}

std::u16string XmlErrorText(int code) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.code == code) return entry.text;
  }
  return u"지정되지 않은 에러(0x" +
         AsciiToUtf16(HexText(static_cast<unsigned>(code)));  // the text has no closing parenthesis
}

}  // namespace qorin
