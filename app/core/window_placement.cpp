#include "window_placement.h"

namespace qorin {
namespace {

void FitAxis(int& low, int& high, int areaLow, int areaHigh) {
  if (high - low > areaHigh - areaLow) {
    low = areaLow;
    high = areaHigh;
  } else if (low < areaLow) {
    high += areaLow - low;
    low = areaLow;
  } else if (high > areaHigh) {
    low -= high - areaHigh;
    high = areaHigh;
  }
}

}  // namespace

XRect FitIntoArea(const XRect& window, const XRect& area) {
  XRect fit = window;
  FitAxis(fit.left, fit.right, area.left, area.right);
  FitAxis(fit.top, fit.bottom, area.top, area.bottom);
  return fit;
}

XRect CentredOn(const XRect& window, const XRect& area) {
  int left = area.left + (area.Width() - window.Width()) / 2;
  int top = area.top + (area.Height() - window.Height()) / 2;
  return {left, top, left + window.Width(), top + window.Height()};
}

}  // namespace qorin
