// A presenter for the tests: records every message and input box and answers it from queues,
// so that no test waits for a person.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "vb/present.h"

namespace vb {

class RecordingPresenter : public Presenter {
 public:
  struct Shown {
    enum Kind { Message, Input } kind;
    std::wstring prompt;
    long buttons;              // message boxes only
    std::wstring title;
    std::wstring defaultText;  // input boxes only
  };

  // Answers for the next boxes, in order. Without a queued answer a message box answers with
  // its first button (vbOK, vbAbort, vbYes or vbRetry) and an input box with its default text.
  void QueueMessageAnswer(long answer) { messageAnswers_.push_back(answer); }
  void QueueInputAnswer(std::wstring answer) { inputAnswers_.push_back(std::move(answer)); }

  const std::vector<Shown>& shown() const { return shown_; }
  void Clear() { shown_.clear(); }

  long MessageBox(const std::wstring& prompt, long buttons, const std::wstring& title) override;
  std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                        const std::wstring& defaultText) override;

 private:
  std::vector<Shown> shown_;
  std::deque<long> messageAnswers_;
  std::deque<std::wstring> inputAnswers_;
};

// Installs a RecordingPresenter for the lifetime of the scope.
class ScopedRecordingPresenter : public RecordingPresenter {
 public:
  ScopedRecordingPresenter() { SetPresenter(this); }
  ~ScopedRecordingPresenter() override { SetPresenter(nullptr); }
  ScopedRecordingPresenter(const ScopedRecordingPresenter&) = delete;
  ScopedRecordingPresenter& operator=(const ScopedRecordingPresenter&) = delete;
};

}  // namespace vb
