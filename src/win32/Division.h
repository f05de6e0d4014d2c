// 64-bit unsigned division, bit by bit, for the 32-bit build, whose compiler
// calls __udivmoddi4 for it (Runtime.cpp). Apart from <windows.h>, so that
// the native unit tests hold it to the compiler's own division on any
// machine, one that cannot run 32-bit code included. The program divides
// only a few small numbers by 10; d is never 0.
#pragma once

namespace qrv {

inline unsigned long long DivMod64(unsigned long long n, unsigned long long d, unsigned long long* remainder) {
    unsigned long long q = 0, r = 0;
    for (int bit = 63; bit >= 0; --bit) {
        r = r << 1 | (n >> bit & 1);
        if (r >= d) r -= d, q |= 1ull << bit;
    }
    if (remainder) *remainder = r;
    return q;
}

}  // namespace qrv
