// PNG images built into the program, decoded like files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorin {

extern const uint8_t kCheckboxOn[];
extern const size_t kCheckboxOnSize;
extern const uint8_t kCheckboxOff[];
extern const size_t kCheckboxOffSize;
extern const uint8_t kStaticDefault[];
extern const size_t kStaticDefaultSize;

}  // namespace qorin
