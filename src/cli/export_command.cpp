// skinsmith-cli export SKIN OUT.zip: the editor's File > Save > ZIP archive from the command line.
#include "cli/cli.h"
#include "preview/contact_sheet.h"
#include "skin/skin_export.h"

namespace cli {

int RunExport(const Arguments& args) {
  if (args.size() != 2 || args[1].starts_with("-")) {
    return UsageError("export takes a skin (folder or .zip) or --default, and an output .zip file");
  }
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  StderrFeedback feedback;
  if (args[0] != "--default" && !OpenSkinOnto(doc, args[0], feedback)) return kExitFailed;
  // The contact sheet on black, whatever background the editor shows its preview on, so that one
  // skin gives the same preview.png from either program.
  if (!skin::ExportSkinZip(doc, args[1], preview::RenderContactSheet(doc, 0), CliSaveOptions(),
                           feedback)) {
    return kExitFailed;
  }
  return feedback.ExitStatus();
}

}  // namespace cli
