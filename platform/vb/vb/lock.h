// A lock over a critical section, for the code that MinGW's win32 thread model leaves without
// std::mutex: Windows 2000 and later have it, where slim reader-writer locks are Vista's.
#pragma once
#include <windows.h>

namespace vb {

class Lock {
 public:
  Lock() noexcept { InitializeCriticalSection(&section_); }
  ~Lock() { DeleteCriticalSection(&section_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  void Enter() noexcept { EnterCriticalSection(&section_); }
  void Leave() noexcept { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

// Holds a Lock for its own lifetime.
class Locked {
 public:
  explicit Locked(Lock& lock) noexcept : lock_(lock) { lock_.Enter(); }
  ~Locked() { lock_.Leave(); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  Lock& lock_;
};

}  // namespace vb
