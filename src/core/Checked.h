// Checked 16/32-bit signed arithmetic: a value outside the width raises the
// overflow failure instead of wrapping around.
#pragma once

#include <cstdint>

#include "Failure.h"

namespace qrv {

inline int16_t ToInt16(int64_t v) {
    if (v < INT16_MIN || v > INT16_MAX) Raise(errOverflow);
    return static_cast<int16_t>(v);
}

inline int32_t ToInt32(int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) Raise(errOverflow);
    return static_cast<int32_t>(v);
}

inline int32_t Mul32(int32_t a, int32_t b) {
    return ToInt32(static_cast<int64_t>(a) * b);
}

}  // namespace qrv
