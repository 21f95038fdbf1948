// A skin for tests: files in an in-memory data archive, a language with a few texts, the
// document loaded at a DPI and direction.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "package_writer.h"
#include "resource_provider.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "text_canvas.h"
#include "utf.h"

namespace qorin::test {

struct FakeLanguage : IXSkinLanguage {
  std::map<std::u16string, std::u16string, std::less<>> texts;
  bool rtl = false;
  std::u16string Text(std::u16string_view key) override {
    auto it = texts.find(key);
    return it == texts.end() ? u"" : it->second;
  }
  std::u16string General(std::u16string_view key) override { return Text(key); }
  bool RightToLeft() override { return rtl; }
};

// Records what the view asks of the window.
struct RecordingSurface final : IXSkinSurface {
  int invalidatePosts = 0, presented = 0;
  std::vector<int> commands;
  std::vector<std::pair<unsigned, uintptr_t>> hostMessages;
  std::vector<std::u16string> scripts;
  void PostInvalidate() override { ++invalidatePosts; }
  void PostProcessCommand() override {}
  void RunPendingLayout() override {}
  void Present(const XRect&) override { ++presented; }
  uint32_t Ticks() override { return 0; }
  void PostToHost(unsigned message, uintptr_t wparam, intptr_t) override {
    hostMessages.emplace_back(message, wparam);
  }
  void SendHostCommand(int number) override { commands.push_back(number); }
  void CommandFired(int number) override { commands.push_back(number); }
  void TrackMouseLeave() override {}
  void CaptureMouse(bool) override {}
  void SetFadeTimer(bool) override {}
  void SetControlTimer(AControlBase*, int, int) override {}
  void KillControlTimers(AControlBase*) override {}
  void RunScript(const std::u16string& text) override { scripts.push_back(text); }
  void SetTooltipTimer(int id, int milliseconds) override { tooltipTimers[id] = milliseconds; }
  void KillTooltipTimer(int id) override { tooltipTimers.erase(id); }
  std::map<int, int> tooltipTimers;
  int HeldKeys() override { return held; }
  int held = 0;
};

// Records the rectangles and flags texts are drawn with (10 x 16 per character, bold 20 high).
struct RecordingCanvas final : IXTextCanvas {
  struct Drawn {
    std::u16string text;
    XRect rect;
    uint32_t flags;
    XColour colour;
  };
  std::vector<Drawn> drawn;
  XSize Measure(const XFontSpec& font, std::u16string_view text, uint32_t) override {
    return text.empty() ? XSize{} : XSize{static_cast<int>(text.size()) * 10, font.bold ? 20 : 16};
  }
  bool Draw(XBitmap&, const XFontSpec&, XColour colour, std::u16string_view text, const XRect& rect,
            uint32_t flags, const XRect*) override {
    drawn.push_back({std::u16string(text), rect, flags, colour});
    return true;
  }
};

// Measures every character as 7 x 15 pixels, lines by "\n".
struct FixedMeasure : IXTextMeasure {
  XSize Measure(std::u16string_view text, const XFontSpec&, int) override {
    return {static_cast<int>(text.size()) * 7, 15};
  }
};

struct TestSkin {
  std::vector<pack::DataFile> files;
  std::vector<uint8_t> zip;
  FakeLanguage language;
  FixedMeasure measure;
  XResourceProvider resources;
  std::unique_ptr<XSkinDocument> document;

  // Loads "skin.xml" (text), with the other files given; a body-only text is wrapped.
  bool Load(const std::string& text, int dpi = 96, bool rtl = false) {
    bool whole = text.rfind("<XSkin", 0) == 0 || text.rfind("<xskin", 0) == 0;
    std::string xml = whole ? text : "<XSkin><Head/><Body>" + text + "</Body></XSkin>";
    files.push_back({"skin.xml", std::vector<uint8_t>(xml.begin(), xml.end())});
    zip = pack::WriteZip(files, 0);
    resources.OpenArchive(zip.data(), zip.size());
    resources.SetLanguage(&language);
    document = std::make_unique<XSkinDocument>(resources);
    document->SetDpi(dpi);
    document->SetRightToLeft(rtl);
    document->SetTextMeasure(&measure);
    return document->Load(u"skin.xml");
  }
  const XSkinError& Error() const { return document->Error(); }
};

}  // namespace qorin::test
