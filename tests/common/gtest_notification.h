// GoogleTest's Notification is built on std::mutex and std::condition_variable, which the win32
// thread model's libstdc++ lacks; this one stands in for it (forced into every GoogleTest
// translation unit by the top CMakeLists). Only GoogleTest's own thread helper waits on it.
#pragma once
#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
