// How much machine stack a Run has used. The parser and the interpreter recurse with the
// script's nesting; past the budget they end the Run with an error instead of overflowing.
// Measured with frame addresses, which sanitizers' fake stacks do not move.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorin {

class XStackBudget {
 public:
  // The stub's main thread reserves 4 MiB and the Linux default is 8 MiB; what a script may use
  // leaves room for the host below Run and for natives (dialogs) above it.
  static constexpr size_t kBytes = 1024 * 1024;

  // The stack grows down on every processor the stub and the tools run on, so the check is one
  // comparison with the lowest address allowed (0 before Start: never exceeded).
  void Start() {
    uintptr_t base = Here();
    limit_ = base > kBytes ? base - kBytes : 0;
  }
  [[gnu::always_inline]] bool Exceeded() const { return Here() < limit_; }

 private:
  [[gnu::always_inline]] static uintptr_t Here() {
    return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  }
  uintptr_t limit_ = 0;
};

}  // namespace qorin
