#include "recording_presenter.h"

namespace vb {

long RecordingPresenter::MessageBox(const std::wstring& prompt, long buttons, const std::wstring& title) {
  shown_.push_back(Shown{Shown::Message, prompt, buttons, title, L""});
  if (!messageAnswers_.empty()) {
    long answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
  }
  switch (buttons & 0x0F) {
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
  }
}

std::wstring RecordingPresenter::InputBox(const std::wstring& prompt, const std::wstring& title,
                                          const std::wstring& defaultText) {
  shown_.push_back(Shown{Shown::Input, prompt, 0, title, defaultText});
  if (!inputAnswers_.empty()) {
    std::wstring answer = std::move(inputAnswers_.front());
    inputAnswers_.pop_front();
    return answer;
  }
  return defaultText;
}

}  // namespace vb
