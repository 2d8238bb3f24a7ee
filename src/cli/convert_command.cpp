// skinsmith-cli convert SKIN OUTDIR: the editor's open and save operations from the command line.
#include <cstdio>
#include <filesystem>

#include "cli/cli.h"
#include "skin/code_page.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"

namespace cli {
namespace {

bool IsZipPath(const std::string& path) {
  const std::filesystem::path p(path);
  std::string ext = p.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::error_code error;  // a path that cannot be looked at is not a folder; opening it says why
  return ext == ".zip" && !std::filesystem::is_directory(p, error);
}

}  // namespace

bool OpenSkinOnto(skin::SkinDocument& doc, const std::string& path, StderrFeedback& feedback) {
  skin::LoadOptions options;
  options.code_page = skin::AnsiCodePageFromEnvironment();
  options.texts = BuiltInMessageTexts();
  return IsZipPath(path) ? skin::OpenSkinZip(doc, path, options, feedback)
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
