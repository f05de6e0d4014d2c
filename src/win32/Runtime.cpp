// What a C++ program needs of a runtime, without the C runtime: memory from
// LocalAlloc. Out of memory ends the process at once with status 7:
// nothing sensible can go on. Built outside link-time optimisation, so that
// the calls the optimiser itself emits find it. Neither build calls memset,
// memcpy, memmove or a helper for 64-bit division (the 32-bit build has none);
// a change that makes the compiler call one fails to link, and it belongs here
// then.
#include <windows.h>

namespace {

void* Allocate(size_t n) {
    void* p = ::LocalAlloc(LMEM_FIXED, n);  // a block of its own even for 0 bytes
    if (!p) ::ExitProcess(7);
    return p;
}

void Free(void* p) { ::LocalFree(p); }  // which takes null, and ignores it

}  // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }
