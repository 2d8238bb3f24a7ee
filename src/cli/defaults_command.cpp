// skinsmith-cli defaults OUTDIR: writes the built-in default skin as a skin folder.
#include <cstdio>

#include "base/code_page.h"
#include "base/file_io.h"
#include "cli/cli.h"
#include "skin/skin_saver.h"

namespace cli {

skin::SaveOptions CliSaveOptions() {
  skin::SaveOptions options;
  options.code_page = base::SystemAnsiCodePage();
  options.last_update = skin::CurrentLastUpdate();
  options.texts = BuiltInMessageTexts();
  return options;
}

int SaveSkinInto(skin::SkinDocument& doc, const std::string& folder, StderrFeedback& feedback) {
  if (!base::MakeFolders(folder)) {
    std::fprintf(stderr, "%s: the folder cannot be created\n", TerminalSafe(folder).c_str());
    return kExitFailed;
  }
  if (skin::SaveSkin(doc, folder, CliSaveOptions(), feedback) == 0) return kExitFailed;
  return feedback.ExitStatus();
}

int RunDefaults(const Arguments& args) {
  if (args.size() != 1) return UsageError("defaults takes one argument, the output folder");
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  StderrFeedback feedback;
  return SaveSkinInto(doc, args[0], feedback);
}

}  // namespace cli
