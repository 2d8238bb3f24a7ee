// skinsmith-cli render: the preview of a skin written as a PNG, one screen or a contact sheet of
// all fourteen, or what drew one pixel of a screen's canvas.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_io.h"
#include "cli/cli.h"
#include "imaging/png_codec.h"
#include "preview/contact_sheet.h"
#include "preview/preview.h"

namespace cli {
namespace {

// "X,Y" with X and Y on the unscaled canvas.
bool ParseCanvasPoint(const std::string& text, long& x, long& y) {
  const std::size_t comma = text.find(',');
  return comma != std::string::npos &&
         ParseNumber(text.substr(0, comma), 0, preview::kCanvasWidth - 1, x) &&
         ParseNumber(text.substr(comma + 1), 0, preview::kCanvasHeight - 1, y);
}

constexpr std::pair<std::string_view, preview::ScreenColours> kColourViews[] = {
    {"stored", preview::ScreenColours::kStored},
    {"console", preview::ScreenColours::kConsole},
    {"original", preview::ScreenColours::kOriginal},
};

}  // namespace

int RunRender(const Arguments& args) {
  std::string skin_path, output;
  bool use_default = false, all = false;
  long screen = -1;
  long which_x = -1, which_y = -1;
  float zoom = 1.0f;
  imaging::Rgb background = 0;
  preview::ScreenColours colours = preview::ScreenColours::kStored;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--default") {
      use_default = true;
    } else if (a == "--all") {
      all = true;
    } else if (a == "--screen" && has_value) {
      if (!ParseNumber(args[++i], 0, preview::kScreenCount - 1, screen)) {
        return UsageError("--screen takes a number from 0 to 13");
      }
    } else if (a == "--which" && has_value) {
      if (!ParseCanvasPoint(args[++i], which_x, which_y)) {
        return UsageError("--which takes X,Y on the 266 x 490 canvas");
      }
    } else if (a == "-o" && has_value) {
      output = args[++i];
    } else if (a == "--zoom" && has_value) {
      if (!ParseDecimal(args[++i], zoom) || !(zoom > 0.0f && zoom <= 8.0f))
        return UsageError("--zoom takes a number up to 8");
    } else if (a == "--colours" && has_value) {
      const std::string& name = args[++i];
      const auto view = std::find_if(std::begin(kColourViews), std::end(kColourViews),
                                     [&](const auto& v) { return v.first == name; });
      if (view == std::end(kColourViews))
        return UsageError("--colours takes stored, console or original");
      colours = view->second;
    } else if (a == "--background" && has_value) {
      if (!ParseColour(args[++i], background)) {
        return UsageError("--background takes a colour 0xRRGGBB");
      }
    } else if (!a.starts_with("-") && skin_path.empty()) {
      skin_path = a;
    } else {
      return UsageError("render: unexpected argument '" + a + "'");
    }
  }
  if (use_default == !skin_path.empty()) return UsageError("render takes a skin or --default");
  if (all == (screen >= 0)) return UsageError("render takes --screen N or --all");
  const bool which = which_x >= 0;
  if (which && all) return UsageError("--which goes with --screen N");
  if (output.empty() && !which) return UsageError("render takes -o OUT.png");

  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  StderrFeedback feedback;
  if (!use_default && !OpenSkinOnto(doc, skin_path, feedback)) return kExitFailed;
  if (which) {
    preview::ScreenSources sources;
    preview::DrawScreens(doc, static_cast<int>(screen), &sources);
    const preview::Source source =
        preview::CanvasSourceAt(sources, static_cast<int>(which_x), static_cast<int>(which_y));
    std::printf("%s\n", preview::DescribeSource(source).c_str());
    if (output.empty()) return feedback.ExitStatus();
  }
  const imaging::Image image =
      all ? preview::RenderContactSheet(doc, background, colours)
          : preview::RenderPreview(doc, static_cast<int>(screen), background, zoom, colours);
  if (!base::WriteFileAtomically(output, imaging::EncodePng(image))) {
    StderrFeedback failure;
    failure.ShowError(
        skin::ComposeFileMessage(output, skin::FileProblem::kNotSaved, BuiltInMessageTexts()));
    return kExitFailed;
  }
  return feedback.ExitStatus();
}

}  // namespace cli
