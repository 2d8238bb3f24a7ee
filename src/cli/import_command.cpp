// skinsmith-cli import IMAGE OUT.bmp: a picture file made a skin bitmap, at its own size as the
// editor's import takes it, or fitted to a slot's size as the import studio fits it.
#include <charconv>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "imaging/picture_fit.h"
#include "session/import_plan.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"

namespace cli {
namespace {

// "WxH", or a slot's name: the target and fill a new picture for that slot starts from.
bool ParseSize(const std::string& text, imaging::FitSettings& settings) {
  for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
    const auto slot = static_cast<skin::SlotId>(s);
    if (skin::Info(slot).BaseName() == text) {
      const imaging::FitSettings first = session::FirstImportSettings(skin::SkinDocument{}, slot);
      settings.width = first.width;
      settings.height = first.height;
      settings.fill = first.fill;
      return true;
    }
  }
  const std::size_t x = text.find('x');
  long width = 0, height = 0;
  if (x == std::string::npos || !ParseNumber(text.substr(0, x), 1, 4096, width) ||
      !ParseNumber(text.substr(x + 1), 1, 4096, height)) {
    return false;
  }
  settings.width = static_cast<int>(width);
  settings.height = static_cast<int>(height);
  return true;
}

bool ParseFraction(std::string_view text, double& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && out >= 0 && out <= 1;
}

// One of `names`, giving its index.
template <typename Enum, std::size_t N>
bool ParseChoice(const std::string& text, const std::string_view (&names)[N], Enum& out) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text == names[i]) {
      out = static_cast<Enum>(i);
      return true;
    }
  }
  return false;
}

constexpr const auto& kFits = imaging::kFitModeNames;
constexpr const auto& kResamplings = imaging::kResamplingNames;
constexpr const auto& kDithers = imaging::kDitherNames;

// "FX,FY", each a fraction from 0 to 1.
bool ParseFractions(std::string_view text, double& x, double& y) {
  const std::size_t comma = text.find(',');
  return comma != std::string_view::npos && ParseFraction(text.substr(0, comma), x) &&
         ParseFraction(text.substr(comma + 1), y);
}

}  // namespace

int RunImport(const Arguments& args) {
  std::string input, output;
  imaging::FitSettings settings;
  bool sized = false, fit_given = false, framing_given = false, dither_given = false;
  bool keyed = false;
  imaging::ColourKey key;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    long value = 0;
    if (a == "--size" && has_value) {
      if (!ParseSize(args[++i], settings))
        return UsageError("--size takes WxH (1 to 4096 each) or a slot's name, as upper_screen");
      sized = true;
    } else if (a == "--fit" && has_value) {
      if (!ParseChoice(args[++i], kFits, settings.mode))
        return UsageError("--fit takes cover, contain, stretch or keep");
      fit_given = true;
    } else if (a == "--focus" && has_value) {
      if (!ParseFractions(args[++i], settings.focus_x, settings.focus_y))
        return UsageError("--focus takes FX,FY, each from 0 to 1");
      framing_given = true;
    } else if (a == "--resample" && has_value) {
      if (!ParseChoice(args[++i], kResamplings, settings.resampling))
        return UsageError("--resample takes smooth or nearest");
      framing_given = true;
    } else if (a == "--dither" && has_value) {
      if (!ParseChoice(args[++i], kDithers, settings.dither))
        return UsageError("--dither takes fs, serpentine, ordered or none");
      dither_given = true;
    } else if (a == "--strength" && has_value) {
      if (!ParseNumber(args[++i], 0, 100, value))
        return UsageError("--strength takes a number from 0 to 100");
      settings.strength = static_cast<int>(value);
    } else if (a == "--key" && has_value) {
      if (!ParseColour(args[++i], key.colour)) return UsageError("--key takes a colour 0xRRGGBB");
      keyed = true;
    } else if (a == "--key-tolerance" && has_value) {
      const std::string& text = args[++i];
      const auto [end, error] =
          std::from_chars(text.data(), text.data() + text.size(), key.tolerance);
      if (error != std::errc() || end != text.data() + text.size() || !(key.tolerance >= 0) ||
          key.tolerance > imaging::kMaxKeyTolerance) {
        return UsageError("--key-tolerance takes an OKLab distance from 0 to 0.5");
      }
    } else if (a == "--key-at" && has_value) {
      if (!ParseFractions(args[++i], key.x, key.y))
        return UsageError("--key-at takes FX,FY, each from 0 to 1");
      key.connected = true;
    } else if (!a.starts_with("-") && input.empty()) {
      input = a;
    } else if (!a.starts_with("-") && output.empty()) {
      output = a;
    } else {
      return UsageError("import: unexpected argument '" + a + "'");
    }
  }
  if (output.empty()) return UsageError("import takes a picture file and an output .bmp file");
  if (!keyed && (key.tolerance != 0 || key.connected))
    return UsageError("--key-tolerance and --key-at refine a --key");
  if (keyed) settings.key = key;
  // Without a size the picture keeps its own, as the editor imports a picture of its slot's size.
  if (!sized) {
    if ((fit_given && settings.mode != imaging::FitMode::kKeep) || framing_given)
      return UsageError("--fit, --focus and --resample fit a picture to a --size");
    settings.mode = imaging::FitMode::kKeep;
    // Taken at its own size, the picture is reduced as the editor's import reduces it.
    if (!dither_given) settings.dither = imaging::KeptAsItIs().dither;
  }

  StderrFeedback feedback;
  const skin::MessageTexts texts = BuiltInMessageTexts();
  const std::optional<imaging::Image> fitted =
      skin::ReadFittedPicture(input, settings, true, texts, feedback);
  if (!fitted) return kExitFailed;
  skin::WriteSkinBitmap(*fitted, output, texts, feedback);
  return feedback.messages() == 0 ? kExitOk : kExitFailed;
}

}  // namespace cli
