// What a C++ program needs of a runtime, without the C runtime: memory from
// the process heap, and the one helper the compiler calls (64-bit division in
// the 32-bit build). Out of memory ends the process at once with status 7:
// nothing sensible can go on. Built outside link-time optimisation, so that
// the calls the optimiser itself emits find it. Neither build calls memset,
// memcpy or memmove; a change that makes the compiler call one fails to link,
// and it belongs here then.
#include <windows.h>

#include "Api.h"
#include "Division.h"

namespace {

void* Allocate(size_t n) {
    void* p = ::HeapAlloc(::GetProcessHeap(), 0, n);  // a block of its own even for 0 bytes
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

#ifdef __i386__
// 64-bit unsigned division for the 32-bit build.
extern "C" unsigned long long __udivmoddi4(unsigned long long n, unsigned long long d, unsigned long long* remainder) {
    return qrv::DivMod64(n, d, remainder);
}
#endif
