// libFuzzer: arbitrary bytes as a skin file: XML, Head, control tree, then the layout and a whole
// composition of the window at a few sizes, left to right and right to left.
#include <cstddef>
#include <cstdint>

#include "approximate_text_measure.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "skin_view.h"
#include "tooltip.h"

namespace {

// A window that asks for nothing: the composition runs, nothing reaches a screen.
struct QuietSurface final : qorin::IXSkinSurface {
  void PostInvalidate() override {}
  void PostProcessCommand() override {}
  void RunPendingLayout() override {}
  void Present(const qorin::XRect&) override {}
  uint32_t Ticks() override { return 0; }
  void PostToHost(unsigned, uintptr_t, intptr_t) override {}
  void SendHostCommand(int) override {}
  void CommandFired(int) override {}
  void TrackMouseLeave() override {}
  void CaptureMouse(bool) override {}
  void SetFadeTimer(bool) override {}
  void SetControlTimer(qorin::AControlBase*, int, int) override {}
  void KillControlTimers(qorin::AControlBase*) override {}
  void RunScript(const std::u16string&) override {}
  void SetTooltipTimer(int, int) override {}
  void KillTooltipTimer(int) override {}
  int HeldKeys() override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool rightToLeft : {false, true}) {
    qorin::XResourceProvider resources;
    qorin::XApproximateTextMeasure measure(144);
    qorin::XSkinDocument document(resources);
    document.SetDpi(144);
    document.SetRightToLeft(rightToLeft);
    document.SetTextMeasure(&measure);
    if (!document.LoadBytes(u"skin.xml", data, size)) {
      (void)document.Error().Text(0x409);
      return 0;
    }
    QuietSurface surface;
    qorin::XSkinView view(document, surface, nullptr, {1, 2});
    view.SetLoaded(true);
    view.CreateTooltip(nullptr);
    for (auto [width, height] : {std::pair{0, 0}, {96, 64}, {320, 240}, {1920, 1080}, {7, 3000}}) {
      if (document.Root() != nullptr) document.Root()->SetRect({0, 0, width, height});
      document.Layout().LayoutAll(width, height);
      // Every control's buffers can be as large as the window: small windows keep the runs fast.
      if (width * height > 25000) continue;
      view.Resize(width, height);
      view.Process();
      // The pointer rests in the middle: a tooltip there shows after its delay.
      view.PointerMove(width / 2, height / 2);
      view.TooltipTimer(qorin::kTooltipDelayTimer, width / 2, height / 2);
      view.PointerLeave();
    }
  }
  return 0;
}
