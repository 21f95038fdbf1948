// The skin's error record: the first failure of a load, with its code, two context texts and
// its position, and the message a user sees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "code_text.h"

namespace qorin {

enum XSKIN_ERR : int {
  XSKIN_OK = 0,
  XSKIN_ERR_FILE_OPEN = 1,
  XSKIN_ERR_XML = 2,
  XSKIN_ERR_ID_FILE = 3,
  XSKIN_ERR_ROOT_TAG = 256,
  XSKIN_ERR_NO_HEAD = 257,
  XSKIN_ERR_NO_BODY = 258,
  XSKIN_ERR_TEXT_NODE = 512,
  XSKIN_ERR_ALIGN = 513,
  XSKIN_ERR_NO_WINDOW_HANDLE = 514,
  XSKIN_ERR_BAD_TAG = 515,
  XSKIN_ERR_NO_THUMB = 516,
  XSKIN_ERR_NO_THUMB_SIDES = 517,
  XSKIN_ERR_NO_WIDTH = 518,
  XSKIN_ERR_NO_HEIGHT = 519,
  XSKIN_ERR_TOOLTIP_STYLE = 520,
  XSKIN_ERR_TOOLTIP_POSITION = 521,
  XSKIN_ERR_WINDOW_CLASS = 524,
  XSKIN_ERR_CHILD_SKIN_FILE = 525,
  XSKIN_ERR_SCRIPT_SRC = 528,
  XSKIN_ERR_ALIGN_2 = 769,
  XSKIN_ERR_FILE = 770,
  XSKIN_ERR_VALUE = 771,
  XSKIN_ERR_IMAGE_SIZE_3 = 772,
  XSKIN_ERR_IMAGE_SIZE_4 = 773,
  XSKIN_ERR_ID = 774,
  XSKIN_ERR_COMMAND = 775,
  XSKIN_ERR_WINDOW_HANDLE = 776,
  XSKIN_ERR_DUPLICATE_ID = 777,
  XSKIN_ERR_SCRIPT = 1024,
  XSKIN_ERR_INTERNAL = 1280,
  XSKIN_ERR_SCRIPT_CALLER = 1281,
  XSKIN_ERR_PARAMETER = 1282,
  XSKIN_ERR_FONT = 1283,
  XSKIN_ERR_HTML_FONT = 1284,
};

constexpr uint16_t kLanguageKorean = 0x412;

struct XSkinError {
  int code = XSKIN_OK;
  std::u16string text1, text2;
  int line = 0, column = 0;
  int xmlError = 0, xmlLine = 0, xmlColumn = 0;  // code 2

  bool Failed() const { return code != XSKIN_OK; }
  // Records a failure unless one is recorded already (the first one counts); returns false.
  bool Set(int code, std::u16string_view text1 = {}, std::u16string_view text2 = {}, int line = 0,
           int column = 0);

  // "%s Line:%d Col:%d" with the code's text, then " (text 1)" and " (text 2)" when not empty.
  // The English text, where a code has one, is used unless the interface language is Korean.
  std::u16string Text(uint16_t uiLanguage) const;
};

// Every code of the skin's error table with its texts.
std::vector<XCodeText> SkinErrorTable();

}  // namespace qorin
