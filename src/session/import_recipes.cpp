// The recipe file: an INI-like text of one section per slot. Numbers are written in the shortest
// form that reads back to the same value, with "." for the decimal point whatever the locale.
#include "session/import_recipes.h"

#include <bitset>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "base/paths.h"

namespace session {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr int kMaxSide = 4096;

std::string FormatNumber(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : "0";
}

// "0xRRGGBB", red first, as the command line writes colours.
std::string FormatColour(imaging::Rgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02X%02X%02X", imaging::RedOf(c), imaging::GreenOf(c),
                imaging::BlueOf(c));
  return text;
}

template <typename Enum, std::size_t N>
std::string_view NameOf(const std::string_view (&names)[N], Enum value) {
  const auto i = static_cast<std::size_t>(value);
  return i < N ? names[i] : std::string_view();
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A finite number from `min` to `max`, the whole text.
std::optional<double> ReadNumber(std::string_view text, double min, double max) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
      value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ReadInteger(std::string_view text, int min, int max) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min ||
      value > max) {
    return std::nullopt;
  }
  return value;
}

// Two values separated by `separator`.
std::optional<std::pair<std::string_view, std::string_view>> Pair(std::string_view text,
                                                                  char separator) {
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) return std::nullopt;
  return std::make_pair(text.substr(0, at), text.substr(at + 1));
}

std::optional<imaging::Rgb> ReadColour(std::string_view text) {
  if (text.size() != 8 || text.substr(0, 2) != "0x") return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return imaging::MakeRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

template <typename Enum, std::size_t N>
bool ReadChoice(std::string_view text, const std::string_view (&names)[N], Enum& out) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text == names[i]) {
      out = static_cast<Enum>(i);
      return true;
    }
  }
  return false;
}

// The digest as 16 hexadecimal digits.
std::optional<std::uint64_t> ReadDigest(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.size() != 16 || error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

// A source as the file gives it: relative to the folder, or an absolute path on this computer.
std::optional<std::string> ReadSource(std::string_view text, std::string_view folder) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
  }
  if (base::IsNetworkPath(text)) return std::nullopt;
  if (base::IsAbsolutePath(text)) return std::string(text);
  return base::ResolveNearPath(folder, text);
}

// One section being read.
struct Section {
  std::optional<skin::SlotId> slot;
  bool broken = false;
  bool has_digest = false;
  SlotRecipe recipe;
  imaging::ColourKey key;
  bool keyed = false;
};

// Takes the setting `name` = `value` into `s`; false when the value cannot be read. Names it does
// not know are passed over.
bool ReadSetting(std::string_view name, std::string_view value, std::string_view folder,
                 Section& s) {
  imaging::FitSettings& f = s.recipe.recipe.settings;
  if (name == "source") {
    std::optional<std::string> path = ReadSource(value, folder);
    if (!path) return false;
    s.recipe.recipe.path = std::move(*path);
  } else if (name == "picture") {
    const std::optional<std::uint64_t> digest = ReadDigest(value);
    if (!digest) return false;
    s.recipe.picture = *digest;
    s.has_digest = true;
  } else if (name == "size") {
    const auto size = Pair(value, 'x');
    const std::optional<int> w = size ? ReadInteger(size->first, 0, kMaxSide) : std::nullopt;
    const std::optional<int> h = size ? ReadInteger(size->second, 0, kMaxSide) : std::nullopt;
    if (!w || !h) return false;
    f.width = *w;
    f.height = *h;
  } else if (name == "fit") {
    return ReadChoice(value, imaging::kFitModeNames, f.mode);
  } else if (name == "scaling") {
    return ReadChoice(value, imaging::kResamplingNames, f.resampling);
  } else if (name == "dither") {
    return ReadChoice(value, imaging::kDitherNames, f.dither);
  } else if (name == "focus" || name == "key_at") {
    const auto at = Pair(value, ',');
    const std::optional<double> x = at ? ReadNumber(at->first, 0, 1) : std::nullopt;
    const std::optional<double> y = at ? ReadNumber(at->second, 0, 1) : std::nullopt;
    if (!x || !y) return false;
    if (name == "focus") {
      f.focus_x = *x;
      f.focus_y = *y;
    } else {
      s.key.x = *x;
      s.key.y = *y;
      s.key.connected = true;
    }
  } else if (name == "zoom") {
    const std::optional<double> zoom = ReadNumber(value, 1, imaging::kMaxZoom);
    if (!zoom) return false;
    f.zoom = *zoom;
  } else if (name == "strength") {
    const std::optional<int> strength = ReadInteger(value, 0, 100);
    if (!strength) return false;
    f.strength = *strength;
  } else if (name == "fill" || name == "key") {
    const std::optional<imaging::Rgb> colour = ReadColour(value);
    if (!colour) return false;
    if (name == "fill") {
      f.fill = *colour;
    } else {
      s.key.colour = *colour;
      s.keyed = true;
    }
  } else if (name == "key_tolerance") {
    const std::optional<double> tolerance = ReadNumber(value, 0, imaging::kMaxKeyTolerance);
    if (!tolerance) return false;
    s.key.tolerance = *tolerance;
  }
  return true;
}

std::optional<skin::SlotId> SlotOfSection(std::string_view name) {
  for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
    if (skin::kSlots[s].file == name) return static_cast<skin::SlotId>(s);
  }
  return std::nullopt;
}

}  // namespace

std::uint64_t PictureDigest(const imaging::Image& picture) {
  // FNV-1a over the size and the colour of each pixel (the top byte left out).
  std::uint64_t h = 0xCBF29CE484222325ull;
  const auto take = [&h](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 0x100000001B3ull;
    }
  };
  take(static_cast<std::uint32_t>(picture.width));
  take(static_cast<std::uint32_t>(picture.height));
  for (const imaging::Rgb p : picture.pixels) take(p & 0xFFFFFF);
  return h;
}

std::string FormatImportRecipes(std::span<const SlotRecipe> recipes, std::string_view folder) {
  std::string out;
  const auto line = [&out](std::string_view key, std::string_view value) {
    out.append(key).append("=").append(value).append(kCrLf);
  };
  out.append("; Skinsmith's import recipes: the file each picture of this skin was fitted from, ")
      .append("and how.")
      .append(kCrLf)
      .append("; The console's menu does not read this file; an export leaves it out.")
      .append(kCrLf);
  for (const SlotRecipe& r : recipes) {
    const imaging::FitSettings& f = r.recipe.settings;
    out.append(kCrLf).append("[").append(skin::Info(r.slot).file).append("]").append(kCrLf);
    const std::string relative = base::NearRelativePath(folder, r.recipe.path);
    line("source", relative.empty() ? r.recipe.path : relative);
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, r.picture, 16).ptr;
    line("picture",
         std::string(16 - static_cast<std::size_t>(end - digits), '0') + std::string(digits, end));
    line("size", std::to_string(f.width) + "x" + std::to_string(f.height));
    line("fit", NameOf(imaging::kFitModeNames, f.mode));
    line("focus", FormatNumber(f.focus_x) + "," + FormatNumber(f.focus_y));
    line("zoom", FormatNumber(f.zoom));
    line("scaling", NameOf(imaging::kResamplingNames, f.resampling));
    line("dither", NameOf(imaging::kDitherNames, f.dither));
    line("strength", std::to_string(f.strength));
    line("fill", FormatColour(f.fill));
    if (f.key) {
      line("key", FormatColour(f.key->colour));
      line("key_tolerance", FormatNumber(f.key->tolerance));
      if (f.key->connected) line("key_at", FormatNumber(f.key->x) + "," + FormatNumber(f.key->y));
    }
  }
  return out;
}

ParsedRecipes ParseImportRecipes(std::span<const std::uint8_t> bytes, std::string_view folder) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  ParsedRecipes result;
  std::optional<Section> section;
  std::bitset<skin::kSlotCount> named;
  const auto close = [&] {
    if (!section) return;
    if (section->broken || !section->slot || section->recipe.recipe.path.empty() ||
        !section->has_digest) {
      ++result.unread;
    } else {
      if (section->keyed) section->recipe.recipe.settings.key = section->key;
      result.recipes.push_back(std::move(section->recipe));
    }
    section.reset();
  };
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      close();
      section.emplace();
      const std::optional<skin::SlotId> slot =
          line.back() == ']' ? SlotOfSection(line.substr(1, line.size() - 2)) : std::nullopt;
      if (!slot || named[skin::Index(*slot)]) {
        section->broken = true;
      } else {
        named.set(skin::Index(*slot));
        section->slot = slot;
        section->recipe.slot = *slot;
      }
      continue;
    }
    const auto setting = Pair(line, '=');
    if (!section || !setting) {
      if (section) {
        section->broken = true;
      } else {
        ++result.unread;
      }
      continue;
    }
    if (!section->broken &&
        !ReadSetting(Trim(setting->first), Trim(setting->second), folder, *section)) {
      section->broken = true;
    }
  }
  close();
  return result;
}

}  // namespace session
