// A thread for the tests, over _beginthreadex: the win32 thread model's libstdc++, which every
// program here is built with, has no std::thread. Like std::thread, but the destructor joins.
#pragma once
#include <windows.h>
#include <process.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

namespace testutil {

class Thread {
 public:
  Thread() = default;
  explicit Thread(std::function<void()> body) : body_(std::make_unique<std::function<void()>>(std::move(body))) {
    handle_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Thread::Run, body_.get(), 0, nullptr));
    if (!handle_) throw std::runtime_error("_beginthreadex failed");
  }
  Thread(Thread&& other) noexcept : body_(std::move(other.body_)), handle_(std::exchange(other.handle_, nullptr)) {}
  Thread& operator=(Thread&& other) noexcept {
    if (this != &other) {
      join();
      body_ = std::move(other.body_);
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~Thread() { join(); }

  bool joinable() const noexcept { return handle_ != nullptr; }
  void join() noexcept {
    if (!handle_) return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  static unsigned __stdcall Run(void* body) {
    (*static_cast<std::function<void()>*>(body))();
    return 0;
  }

  std::unique_ptr<std::function<void()>> body_;  // outlives the thread: freed only after join
  HANDLE handle_ = nullptr;
};

}  // namespace testutil
