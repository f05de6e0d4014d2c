// What a C++ program needs of a runtime, without the C runtime: memory from
// the process heap, and the few helpers the compiler may call. Out of memory
// ends the process at once with status 7: nothing sensible can go on. Built
// outside link-time optimisation, so that the calls the optimiser itself
// emits (memset, 64-bit division) find these.
#include <windows.h>

#include "Api.h"

namespace {

void* Allocate(size_t n) {
    void* p = ::HeapAlloc(::GetProcessHeap(), 0, n ? n : 1);
    if (!p) CALL(ExitProcess)(7);
    return p;
}

void Free(void* p) {
    if (p) ::HeapFree(::GetProcessHeap(), 0, p);
}

}  // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }

// Written as plain loops, which the compiler must not turn back into calls
// of themselves.
extern "C" {
__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memset(void* d, int c, size_t n) {
    for (unsigned char* p = static_cast<unsigned char*>(d); n--;) *p++ = static_cast<unsigned char>(c);
    return d;
}

__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memcpy(void* d, const void* s, size_t n) {
    unsigned char* to = static_cast<unsigned char*>(d);
    for (const unsigned char* from = static_cast<const unsigned char*>(s); n--;) *to++ = *from++;
    return d;
}

__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memmove(void* d, const void* s, size_t n) {
    unsigned char* to = static_cast<unsigned char*>(d);
    const unsigned char* from = static_cast<const unsigned char*>(s);
    if (to < from)
        while (n--) *to++ = *from++;
    else
        while (n--) to[n] = from[n];
    return d;
}

#ifdef __i386__
// 64-bit unsigned division for the 32-bit build, bit by bit: the program
// divides only a few small numbers by 10.
unsigned long long __udivmoddi4(unsigned long long n, unsigned long long d, unsigned long long* remainder) {
    unsigned long long q = 0, r = 0;
    for (int bit = 63; bit >= 0; --bit) {
        r = r << 1 | (n >> bit & 1);
        if (r >= d) r -= d, q |= 1ull << bit;
    }
    if (remainder) *remainder = r;
    return q;
}
#endif

// A pure virtual function is never called here; were it, the run could not go on.
void __cxa_pure_virtual() { CALL(ExitProcess)(255); }
}
