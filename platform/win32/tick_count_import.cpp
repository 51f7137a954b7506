// GetTickCount64 for the statically linked thread runtime on Windows XP.
//
// The runtime's timed waits call GetTickCount64 through the import slot
// __imp_GetTickCount64 (__imp__GetTickCount64@0 in the 32-bit build). Windows
// XP's kernel32 has no such function, and a program importing it does not
// start there. This file defines the slot itself, so that the linker takes it
// instead of kernel32's import: it must be linked as an object, ahead of the
// libraries, into each program and DLL that ships. The slot points at a
// function that calls the system's GetTickCount64 where there is one and on
// XP counts on from GetTickCount past its wrap after 49.7 days.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "common/tick_count.h"
#include "platform/win32/module_loader.h"

namespace {

using TickCount64Function = ULONGLONG WINAPI();

// The 64-bit count from GetTickCount, for Windows XP. The runtime's waits
// (the only callers) read it often enough that no wrap goes unseen.
ULONGLONG WINAPI TickCountAcrossWraps() {
  static std::atomic<std::uint64_t> last{0};
  std::uint64_t seen = last.load();
  for (;;) {
    const std::uint64_t next = kx::ExtendTickCount(seen, GetTickCount());
    if (last.compare_exchange_weak(seen, next)) return next;
  }
}

// Resolved on the first call, without any lock: every thread that races here
// finds the same function.
std::atomic<TickCount64Function*> resolved{nullptr};

ULONGLONG WINAPI TickCount64() {
  TickCount64Function* function = resolved.load(std::memory_order_acquire);
  if (function == nullptr) {
    function = kx::win::SystemEntry<TickCount64Function>("kernel32.dll", "GetTickCount64");
    if (function == nullptr) function = TickCountAcrossWraps;
    resolved.store(function, std::memory_order_release);
  }
  return function();
}

}  // namespace

#if defined(_WIN64)
#define KX_TICK_COUNT64_SLOT "__imp_GetTickCount64"
#else
#define KX_TICK_COUNT64_SLOT "__imp__GetTickCount64@0"
#endif

// Constant-initialised: valid before any constructor of the program runs.
extern "C" {
TickCount64Function* kx_tick_count64_slot __asm__(KX_TICK_COUNT64_SLOT) = TickCount64;
}
