// Message boxes and input boxes. Every one goes through the current presenter: real windows
// by default; tests install a RecordingPresenter that records what was shown and answers.
#pragma once
// <windows.h> maps the name MessageBox to MessageBoxW; taking it in here gives the member below
// the same name in every file, whether or not that file includes <windows.h> itself.
#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vb {

// MsgBox button, icon and default-button flags, and its results (the run time's values).
enum : long {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
  vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
  vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
  vbApplicationModal = 0, vbSystemModal = 4096,
};
enum : long { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Shows a modal message box; returns the button chosen (vbOK ...). title is never empty here.
  virtual long MessageBox(const std::wstring& prompt, long buttons, const std::wstring& title) = 0;
  // Shows a modal input box; returns the text entered, or the empty text on Cancel.
  virtual std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                                const std::wstring& defaultText) = 0;
};

// The application title used when a box has no title of its own (the component's name).
const std::wstring& AppTitle();
void SetAppTitle(const std::wstring& title);

// The presenter in force (the real one unless a test installed another).
Presenter& CurrentPresenter();
// Installs a presenter for this process; nullptr restores the real one. The caller keeps ownership.
void SetPresenter(Presenter* presenter);

// MsgBox(prompt, buttons, title): an empty title means AppTitle().
long MsgBox(const std::wstring& prompt, long buttons = vbOKOnly, const std::wstring& title = L"");
// InputBox(prompt, title, default): an empty title means AppTitle().
std::wstring InputBox(const std::wstring& prompt, const std::wstring& title = L"",
                      const std::wstring& defaultText = L"");

// A presenter for tests: records every box and answers from queues, never waits.
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
