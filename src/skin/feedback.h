// How core operations talk to the user: the editor shows message boxes and a progress bar, the
// command-line tool prints to stderr, tests record. The core decides only what a message says.
#pragma once

#include <string>

namespace skin {

class Feedback {
 public:
  virtual ~Feedback() = default;
  // One problem, shown with the error caption; the operation goes on once this returns.
  virtual void ShowError(const std::string& text) = 0;
  // The progress indicator: 1 to 53 while a skin loads or saves, 0 when done.
  virtual void SetProgress(int value) = 0;
};

}  // namespace skin
