// The skin's scripts: preparation, loading, DoScript and its errors, events, and the natives
// as a script sees them.
#include "skin_scripts.h"

#include <gtest/gtest.h>

#include <functional>

#include "skin_test_skin.h"
#include "skin_view.h"
#include "test_data.h"

namespace qorin {
namespace {

struct FakeWindow : IXSkinWindow, IXMessageBox {
  std::vector<std::u16string> boxes, console, urls;
  std::vector<std::pair<int, int>> timers;
  XRect client{0, 0, 750, 300};
  int layoutPosts = 0;
  Show shown = kRestore;
  IXMessageBox& MessageBox() override { return *this; }
  int ShowMessageBox(std::u16string_view text, std::u16string_view caption, unsigned) override {
    boxes.push_back(std::u16string(caption) + u": " + std::u16string(text));
    return 1;
  }
  void OpenUrl(std::u16string_view url) override { urls.emplace_back(url); }
  void ShowHost(Show how) override { shown = how; }
  XRect HostWindowRect() override { return {150, 150, 900, 600}; }
  XRect HostClientRect() override { return client; }
  void MoveHost(const XRect&) override {}
  void SetNoise(bool) override {}
  void SetScriptTimer(int id, int ms) override { timers.emplace_back(id, ms); }
  void KillScriptTimer(int) override {}
  void PostLayout() override { ++layoutPosts; }
  void Console(std::u16string_view text, int level) override {
    console.push_back(DisplayInt(level) + u" " + std::u16string(text));
  }
};

struct Host : IXSkinCallback {
  XSkinScripts* scripts = nullptr;
  bool nestedRan = true;
  std::function<bool()> loaded;
  bool OnLoaded() override { return loaded ? loaded() : true; }
  int CallFunction(std::u16string_view key, XScriptValue* const*, int32_t,
                   XScriptValue* result) override {
    if (key == u"HostAnswer@v") return result->SetInt(42), 1;
    if (key == u"Nest@v") return nestedRan = scripts->DoScript(u"print('inner');"), 1;
    if (key == u"Starve@v") return kHostCallOutOfMemory;
    return 0;
  }
};

struct ScriptedSkin {
  test::TestSkin skin;
  FakeWindow window;
  Host host;
  std::unique_ptr<XSkinScripts> scripts;

  bool Load(const std::string& xml, int dpi = 96) {
    bool loaded = skin.Load(xml, dpi);
    scripts = std::make_unique<XSkinScripts>(*skin.document, window, &host);
    host.scripts = scripts.get();
    return loaded && scripts->LoadScripts();
  }
  std::u16string Printed() const {
    std::u16string out;
    for (const std::u16string& line : window.console) out += line + u"\n";
    return out;
  }
};

TEST(SkinScripts, NativesInTheirOrder) {
  const char16_t* keys[] = {u"start_random_noise@v",
                            u"stop_random_noise@v",
                            u"Show@i",
                            u"Hide@i",
                            u"Enable@i",
                            u"Disable@i",
                            u"GetShow@i",
                            u"AlphaShow@ii",
                            u"AlphaHide@ii",
                            u"SetTextColor@is",
                            u"MoveControl@iii",
                            u"SetTimer@ii",
                            u"KillTimer@i",
                            u"SetText@is",
                            u"SetImageNum@ii",
                            u"GetText@i",
                            u"ApplyDPI@i",
                            u"GetRect@i",
                            u"SetRect@i(RECT)",
                            u"Move@iii",
                            u"Width@(RECT)",
                            u"Height@(RECT)",
                            u"SetWidth@ii",
                            u"MessageBox@s",
                            u"OpenUrl@s",
                            u"CloseWindow@v",
                            u"MinimizeWindow@v",
                            u"MaximizeWindow@v",
                            u"RestoreWindow@v",
                            u"GetWindowRect@v",
                            u"GetClientRect@v",
                            u"MoveWindow@(RECT)",
                            u"SetEventHandler@is",
                            u"CheckBoxSetCheck@ii",
                            u"CheckBoxGetCheck@i"};
  for (int i = 0; i < 35; ++i) EXPECT_EQ(SkinNativeNumber(keys[i]), i) << i;
  EXPECT_EQ(SkinNativeNumber(u"Show@s"), -1);
}

TEST(SkinScripts, LoadingRunsInstructionsThenFilesWithThePreamble) {
  ScriptedSkin s;
  s.skin.files.push_back({"a.xs", test::Bytes("print('file ' + SKINEVENT_ONEDITCHANGE);")});
  ASSERT_TRUE(
      s.Load("<XSkin><Head/><Body><Static ID=\"IDC_X\"/></Body><script src=\"a.xs\"/>"
             "<?script print('pi ' + IDC_X + TRUE + false); RECT r; ?></XSkin>"))
      << Utf16ToUtf8(s.skin.Error().Text(0x409));
  EXPECT_EQ(s.Printed(), u"1 script print() - pi 6300110\n1 script print() - file 4\n");
}

// A skin starts in order: its scripts, the host's slot, then OnInit once; a host that refuses
// stops it with 1281 before OnInit.
TEST(SkinScripts, StartRunsScriptsThenTheHostThenOnInit) {
  for (bool accept : {true, false}) {
    test::TestSkin skin;
    FakeWindow window;
    Host host;
    ASSERT_TRUE(
        skin.Load("<XSkin><Head/><Body/><?script print('script'); "
                  "SetEventHandler(SKINEVENT_ONINIT, 'print(\"init\");'); ?></XSkin>"));
    XSkinScripts scripts(*skin.document, window, &host);
    size_t printedBefore = 0;
    host.loaded = [&] {
      printedBefore = window.console.size();
      return accept;
    };
    EXPECT_EQ(scripts.Start(true), accept);
    EXPECT_EQ(printedBefore, 1u) << "the scripts ran before the host's slot";
    EXPECT_EQ(window.console.size(), accept ? 2u : 1u) << "OnInit last, and only when accepted";
    EXPECT_EQ(skin.Error().code, accept ? XSKIN_OK : XSKIN_ERR_SCRIPT_CALLER);
  }
}

TEST(SkinScripts, LoadFailures) {
  struct Case {
    const char* xml;
    int code, line;
    const char16_t* text1;
  } cases[] = {
      {"<XSkin><Head/><Body/>\n<script/></XSkin>", XSKIN_ERR_SCRIPT_SRC, 2, u"script"},
      {"<XSkin><Head/><Body/><script src=\"none.xs\"/></XSkin>", XSKIN_ERR_FILE_OPEN, 1,
       u"none.xs"},
      {"<XSkin><Head/><Body/><?script int x = ; ?></XSkin>", XSKIN_ERR_SCRIPT, 1,
       u"ErrCode:203 ErrHint:'' Line:1 Col:9 Tok:(none) [int x = ; ] "},
  };
  for (const Case& c : cases) {
    ScriptedSkin s;
    EXPECT_FALSE(s.Load(c.xml)) << c.xml;
    EXPECT_EQ(s.skin.Error().code, c.code) << c.xml;
    EXPECT_EQ(s.skin.Error().line, c.line) << c.xml;
    EXPECT_EQ(s.skin.Error().text1, c.text1) << c.xml;
  }
}

TEST(SkinScripts, NativesActOnControlsAndTheWindow) {
  ScriptedSkin s;
  ASSERT_TRUE(s.Load("<Static ID=\"A\" Text=\"hi\" Align=\"fixed\"/><CheckBox ID=\"B\"/>", 144));
  EXPECT_TRUE(s.scripts->DoScript(
      u"print(GetText(A) + '|' + GetText(999) + '|' + GetShow(999) + '|' + ApplyDPI(100));"
      u"RECT c = GetClientRect(); print('' + Width(c) + ' ' + HostAnswer());"
      u"CheckBoxSetCheck(B, 1); print('' + CheckBoxGetCheck(B) + CheckBoxGetCheck(A));"));
  EXPECT_EQ(s.Printed(),
            u"1 script print() - hi||0|150\n1 script print() - 500 42\n"
            u"1 script print() - 10\n");
  EXPECT_TRUE(s.scripts->DoScript(u"MoveControl(A, 5, 6); MoveControl(A, 5, 6); Hide(A);"));
  EXPECT_EQ(s.window.layoutPosts, 1) << "one re-layout for a real change";
  EXPECT_EQ(s.skin.document->FindControl(63001)->layout->left, 5);
  EXPECT_FALSE(s.skin.document->FindControl(63001)->layout->show);
  EXPECT_TRUE(s.scripts->DoScript(u"SetEventHandler(5, 'x();'); SetEventHandler(1, 'y();');"));
  EXPECT_EQ(s.window.boxes,
            std::vector<std::u16string>{u"XSkin: SetEventHandler failed - event:5, handler:x();"});
  EXPECT_EQ(s.scripts->Handler(SKINEVENT_ONSIZE), u"y();");
  s.window.console.clear();
  EXPECT_FALSE(s.scripts->DoScript(u"Unknown(1);"));
  EXPECT_EQ(s.window.console.front(), u"0 @@rXXSkin::CallFunc() - 함수를 찾을 수 없음: Unknown@i");
  EXPECT_EQ(s.window.console.back(), u"1 Err at DoScript() - 'Unknown(1);'");
  EXPECT_TRUE(s.scripts->DoScript(u"Nest();"));
  EXPECT_FALSE(s.host.nestedRan) << "no script text runs inside another";
  // A host native out of memory ends the run with the engine's allocation error.
  s.window.console.clear();
  EXPECT_FALSE(s.scripts->DoScript(u"Starve(); print('after');"));
  EXPECT_EQ(s.window.console.size(), 1u) << "nothing after the native ran";
  EXPECT_EQ(s.scripts->Engine().GetScriptError().code, XSERR_ALLOC_FAILED);
  // A new text colour is painted.
  test::RecordingSurface surface;
  XSkinView view(*s.skin.document, surface, nullptr, {1, 2});
  view.SetLoaded(true);
  EXPECT_TRUE(s.scripts->DoScript(u"Show(A);"));
  s.skin.document->Root()->SetRect({0, 0, 300, 200});
  s.skin.document->Layout().LayoutAll(300, 200);
  view.Resize(300, 200);
  view.Process();
  EXPECT_TRUE(s.scripts->DoScript(u"SetTextColor(A, '#FF0000');"));
  EXPECT_EQ(view.QueuedRects(), 1u);
}

TEST(SkinScripts, EventsRunOnceOrEveryTime) {
  ScriptedSkin s;
  ASSERT_TRUE(
      s.Load("<XSkin><Head/><Body/><?script int n = 0; void OnInit() { n = n + 1; "
             "print('n' + n); } SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); "
             "SetEventHandler(SKINEVENT_ONSIZE, 'OnInit();'); ?></XSkin>"));
  s.scripts->RunEvent(SKINEVENT_ONINIT, true);
  s.scripts->RunEvent(SKINEVENT_ONINIT, true);
  s.scripts->RunEvent(SKINEVENT_ONSIZE);
  s.scripts->RunEvent(SKINEVENT_ONSIZE);
  EXPECT_EQ(s.Printed(), u"1 script print() - n1\n1 script print() - n2\n1 script print() - n3\n");
  s.scripts->OnScriptTimer(7);
  EXPECT_EQ(s.skin.Error().code, XSKIN_ERR_SCRIPT) << "OnTimer(7) is not defined";
}

}  // namespace
}  // namespace qorin
