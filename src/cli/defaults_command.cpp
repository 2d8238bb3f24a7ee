// skinsmith-cli defaults OUTDIR: writes the built-in default skin as a skin folder.
#include <filesystem>

#include "cli/cli.h"
#include "skin/code_page.h"
#include "skin/skin_saver.h"

namespace cli {

int RunDefaults(const Arguments& args) {
  if (args.size() != 1) return UsageError("defaults takes one argument, the output folder");
  std::error_code error;
  std::filesystem::create_directories(args[0], error);
  if (!std::filesystem::is_directory(args[0])) {
    std::fprintf(stderr, "%s: the folder cannot be created\n", args[0].c_str());
    return kExitFailed;
  }
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  skin::SaveOptions options;
  options.code_page = skin::AnsiCodePageFromEnvironment();
  options.last_update = skin::CurrentLastUpdate();
  options.texts = BuiltInMessageTexts();
  StderrFeedback feedback;
  skin::SaveSkin(doc, args[0], options, feedback);
  return feedback.ExitStatus();
}

}  // namespace cli
