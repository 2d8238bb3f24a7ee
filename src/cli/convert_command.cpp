// skinsmith-cli convert SKIN OUTDIR: the editor's open and save operations from the command line.
#include <cstdio>

#include "base/code_page.h"
#include "cli/cli.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"

namespace cli {

bool OpenSkinOnto(skin::SkinDocument& doc, const std::string& path, StderrFeedback& feedback) {
  skin::LoadOptions options;
  options.code_page = base::SystemAnsiCodePage();
  options.texts = BuiltInMessageTexts();
  return skin::OpensAsArchive(path) ? skin::OpenSkinZip(doc, path, options, feedback)
                                    : skin::OpenSkinFolder(doc, path, options, feedback);
}

int RunConvert(const Arguments& args) {
  if (args.size() != 2)
    return UsageError("convert takes a skin (folder or .zip) and an output folder");
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  StderrFeedback feedback;
  if (!OpenSkinOnto(doc, args[0], feedback)) return kExitFailed;
  return SaveSkinInto(doc, args[1], feedback);
}

}  // namespace cli
