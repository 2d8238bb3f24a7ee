// How core operations talk to the user: the editor shows message boxes and a progress bar, the
// command-line tool prints to stderr, tests record. The core decides only what a message says.
#pragma once

#include <string>

namespace skin {

// Exceptions: problems of files come back as values. Only std::bad_alloc travels, and only up to
// the edge of the operation the user started (loading, importing, saving, exporting, drawing, a
// screenshot; the command-line tool's main), where it becomes the out-of-memory message; an
// operation that catches it says so in its contract. No exception crosses a C library's frames:
// callbacks into libpng, libjpeg and minizip catch and report failure the library's way.
// docs/exceptions.md lists where each is caught.
class Feedback {
 public:
  virtual ~Feedback() = default;
  // One problem, shown with the error caption; the operation goes on once this returns.
  virtual void ShowError(const std::string& text) = 0;
  // The progress indicator: 1 to 53 while a skin loads or saves, 0 when done.
  virtual void SetProgress(int value) = 0;
};

}  // namespace skin
