// Fuzz target: any bytes as a skin archive. The archive reader opens files by name, so each input
// is written to a temporary file first.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "skin/skin_loader.h"

namespace {

class QuietFeedback : public skin::Feedback {
 public:
  void ShowError(const std::string&) override {}
  void SetProgress(int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/skinsmith-fuzz-" + std::to_string(::getpid()) + ".zip";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  skin::SkinDocument doc;
  QuietFeedback feedback;
  skin::OpenSkinZip(doc, path, skin::LoadOptions(), feedback);
  std::remove(path.c_str());
  return 0;
}
