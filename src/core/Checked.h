// Checked 16/32-bit signed arithmetic: a value outside the width is the
// overflow failure, never a wrap-around.
#pragma once

#include <cstdint>

#include "Failure.h"

namespace qrv {

inline Status ToInt16(int64_t v, int16_t& out) {
    if (v < INT16_MIN || v > INT16_MAX) return errOverflow;
    out = static_cast<int16_t>(v);
    return {};
}

inline Status ToInt32(int64_t v, int32_t& out) {
    if (v < INT32_MIN || v > INT32_MAX) return errOverflow;
    out = static_cast<int32_t>(v);
    return {};
}

inline Status Mul32(int32_t a, int32_t b, int32_t& out) { return ToInt32(static_cast<int64_t>(a) * b, out); }

}  // namespace qrv
