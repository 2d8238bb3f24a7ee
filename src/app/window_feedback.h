// The core's messages and progress shown in the editor's window.
#pragma once

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>
#include <string>

#include "app/user_dialogs.h"
#include "skin/feedback.h"

namespace app {

// Messages shown in boxes with the error caption, progress in the status bar. With a
// `quiet_text`, each box offers to silence the rest of the operation; the messages are counted
// either way.
class WindowFeedback : public skin::Feedback {
 public:
  WindowFeedback(UserDialogs& dialogs, std::string caption, QProgressBar* progress,
                 std::string quiet_text = {})
      : dialogs_(dialogs),
        caption_(std::move(caption)),
        progress_(progress),
        quiet_text_(std::move(quiet_text)) {}
  void ShowError(const std::string& text) override {
    ++messages_;
    if (quiet_) {
      ++not_shown_;
    } else if (quiet_text_.empty()) {
      dialogs_.ShowError(caption_, text);
    } else {
      quiet_ = dialogs_.ShowOperationError(caption_, text, quiet_text_);
    }
  }
  void SetProgress(int value) override {
    if (progress_ == nullptr) return;
    progress_->setValue(std::min(value, progress_->maximum()));
    // The bar shows only while something progresses; 0 ends it.
    progress_->setVisible(value > 0);
    // Loading and saving run on this thread: let the bar repaint as it moves.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

  int messages() const { return messages_; }
  int not_shown() const { return not_shown_; }

 private:
  UserDialogs& dialogs_;
  std::string caption_;
  QProgressBar* progress_;
  std::string quiet_text_;
  bool quiet_ = false;
  int messages_ = 0;
  int not_shown_ = 0;
};

}  // namespace app
