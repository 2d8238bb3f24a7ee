// Fuzz target: any bytes as a skin archive. The archive reader opens files by name, so each input
// is written to a temporary file first.
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "base/file_io.h"
#include "base/paths.h"
#include "skin/skin_loader.h"

namespace {

class QuietFeedback : public skin::Feedback {
 public:
  void ShowError(const std::string&) override {}
  void SetProgress(int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path =
      base::Utf8Path(std::filesystem::temp_directory_path() /
                     ("skinsmith-fuzz-" + std::to_string(std::random_device()()) + ".zip"));
  if (!base::WriteFileAtomically(path, {data, size})) return 0;
  skin::SkinDocument doc;
  QuietFeedback feedback;
  skin::OpenSkinZip(doc, path, skin::LoadOptions(), feedback);
  std::error_code ignored;
  std::filesystem::remove(base::FsPath(path), ignored);
  return 0;
}
