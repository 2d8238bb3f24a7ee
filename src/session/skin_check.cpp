// The skin check. Each menu state is drawn once with the record of what drew each pixel and the
// list of drawing calls; each screen gives a few facts (texts and their contrast, pictures and
// where they landed, stray key green), and the facts of all states are merged into findings.
#include "session/skin_check.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>
#include <tuple>
#include <utility>

#include "imaging/colour_key.h"
#include "preview/draw.h"
#include "skin/field_ranges.h"
#include "skin/skin_colour.h"

namespace session {
namespace {

using imaging::Image;
using imaging::Rgb;
using preview::Coord;
using preview::DrawCall;
using preview::Source;
using preview::SourceKind;
using preview::SourceMap;
using skin::ColourId;
using skin::SectionId;
using skin::SlotId;
using Screens = ScreenSet;

constexpr int kW = preview::kScreenWidth;
constexpr int kH = preview::kScreenHeight;
constexpr std::uint8_t kNone = Source::kNone;
// The 10th percentile of a text's contrasts decides: see CheckSkin.
constexpr int kPercentile = 10;

// ---- Colour arithmetic --------------------------------------------------------------------------

double Luminance(Rgb c) {
  const auto& lin = imaging::LinearLightTable();
  return 0.2126 * lin[imaging::RedOf(c)] + 0.7152 * lin[imaging::GreenOf(c)] +
         0.0722 * lin[imaging::BlueOf(c)];
}

double RatioOf(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// Legibility is judged as the console's screens show the stored pixels: at the later models'
// full-scale levels and on the original model's screen, whose colours shift.
constexpr preview::ScreenColours kScreenModels[] = {preview::ScreenColours::kConsole,
                                                    preview::ScreenColours::kOriginal};
constexpr std::size_t kModelCount = std::size(kScreenModels);

// The luminance of each 15-bit colour as screen model `model` shows it.
double ShownLuminance(Rgb c, std::size_t model) {
  static const auto tables = [] {
    std::array<std::array<float, 32768>, kModelCount> t{};
    for (std::size_t m = 0; m < kModelCount; ++m) {
      for (std::uint32_t i = 0; i < 32768; ++i) {
        t[m][i] = static_cast<float>(
            Luminance(preview::ShownColour(preview::StoredColourOf(i), kScreenModels[m])));
      }
    }
    return t;
  }();
  return tables[model][preview::FifteenBitIndex(c)];
}

std::string FormatRatio(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", ratio);
  return text;
}

std::string SizeText(Coord width, Coord height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// ---- Places -------------------------------------------------------------------------------------

struct Box {
  Coord x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // [x0, x1) x [y0, y1)
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Box BoxOf(Coord x, Coord y, Coord width, Coord height) {
  // Element numbers are 32-bit and the screens add at most a few of them, so the 64-bit sums
  // below cannot overflow.
  return {x, y, x + std::max<Coord>(width, 0), y + std::max<Coord>(height, 0)};
}

Box Intersect(const Box& a, const Box& b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

Box Unite(const Box& a, const Box& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

constexpr Box kScreenBox{0, 0, kW, kH};

// `box` clipped to the screen, on the canvas of side 0 (upper) or 1 (lower).
CanvasRect ToCanvas(const Box& box, int side) {
  const Box b = Intersect(box, kScreenBox);
  if (b.Empty()) return {};
  const preview::CanvasPlace at = side == 0 ? preview::kTopScreenAt : preview::kBottomScreenAt;
  return {static_cast<int>(b.x0) + at.x, static_cast<int>(b.y0) + at.y,
          static_cast<int>(b.x1 - b.x0), static_cast<int>(b.y1 - b.y0)};
}

// ---- What one screen shows ----------------------------------------------------------------------

// One text and the pixels around its visible glyphs.
struct TextSample {
  const DrawCall* call;
  std::vector<Rgb> around;
};

// The texts `map` lists whose glyphs show, with the pixels that touch them: the eight neighbours
// of each glyph pixel that the text did not paint itself. Glyph rows are bit sets, so the
// neighbourhood is a few shifts and ors.
std::vector<TextSample> TextsOf(const Image& image, const SourceMap& map) {
  using Row = std::bitset<kW + 2>;  // column i of the screen is bit i + 1
  std::vector<TextSample> texts;
  for (const DrawCall& call : map.calls) {
    if (call.source.kind != SourceKind::kText) continue;
    const Box box = Intersect(BoxOf(call.x, call.y, call.width, call.height), kScreenBox);
    if (box.Empty()) continue;
    // Rows box.y0 - 1 to box.y1, glyph pixels marked.
    const Coord rows = box.y1 - box.y0 + 2;
    std::vector<Row> glyph(static_cast<std::size_t>(rows));
    bool any = false;
    for (Coord y = box.y0; y < box.y1; ++y) {
      for (Coord x = box.x0; x < box.x1; ++x) {
        if (map.At(static_cast<int>(x), static_cast<int>(y)) == call.source) {
          glyph[static_cast<std::size_t>(y - box.y0 + 1)].set(static_cast<std::size_t>(x + 1));
          any = true;
        }
      }
    }
    if (!any) continue;
    TextSample sample{&call, {}};
    for (Coord r = 0; r < rows; ++r) {
      const Coord y = box.y0 - 1 + r;
      if (y < 0 || y >= kH) continue;
      Row near;
      for (Coord d = -1; d <= 1; ++d) {
        const Coord k = r + d;
        if (k < 0 || k >= rows) continue;
        const Row& g = glyph[static_cast<std::size_t>(k)];
        near |= g | (g << 1) | (g >> 1);
      }
      near &= ~glyph[static_cast<std::size_t>(r)];
      for (Coord x = std::max<Coord>(box.x0 - 1, 0); x < std::min<Coord>(box.x1 + 1, kW); ++x) {
        if (near.test(static_cast<std::size_t>(x + 1))) {
          sample.around.push_back(image.At(static_cast<int>(x), static_cast<int>(y)) & 0xFFFFFF);
        }
      }
    }
    if (!sample.around.empty()) texts.push_back(std::move(sample));
  }
  return texts;
}

// The contrast a text reaches with the pixels around it on each screen model: the 10th percentile
// of the ratios.
std::array<double, kModelCount> TextContrast(Rgb colour, const std::vector<Rgb>& around) {
  std::array<double, kModelCount> contrast{};
  std::vector<double> ratios(around.size());
  for (std::size_t m = 0; m < kModelCount; ++m) {
    const double lt = ShownLuminance(colour, m);
    std::transform(around.begin(), around.end(), ratios.begin(),
                   [&](Rgb c) { return RatioOf(lt, ShownLuminance(c, m)); });
    const std::size_t k = ratios.size() * kPercentile / 100;
    std::nth_element(ratios.begin(), ratios.begin() + static_cast<std::ptrdiff_t>(k), ratios.end());
    contrast[m] = ratios[k];
  }
  return contrast;
}

// Pixels of the finished screen: whether any inside `box` is undrawn (background).
bool HasUndrawn(const SourceMap& map, const Box& box, const Box& except) {
  const Box b = Intersect(box, kScreenBox);
  for (Coord y = b.y0; y < b.y1; ++y) {
    for (Coord x = b.x0; x < b.x1; ++x) {
      if (x >= except.x0 && x < except.x1 && y >= except.y0 && y < except.y1) continue;
      if (map.At(static_cast<int>(x), static_cast<int>(y)).kind == SourceKind::kBackground)
        return true;
    }
  }
  return false;
}

// The slots that some menu state draws without a key, from the record of the default skin's
// screens: which calls key is a matter of the screens, not of the pictures.
const std::bitset<skin::kSlotCount>& SlotsDrawnWithoutKey() {
  static const std::bitset<skin::kSlotCount> slots = [] {
    std::bitset<skin::kSlotCount> unkeyed;
    skin::SkinDocument doc;
    skin::ResetSkinDefaults(doc);
    for (int screen = 0; screen < preview::kScreenCount; ++screen) {
      preview::ScreenSources sources;
      preview::DrawScreens(doc, screen, &sources);
      for (const preview::SourceMap* map : {&sources.top, &sources.bottom}) {
        for (const DrawCall& call : map->calls) {
          if (const std::optional<SlotId> slot = call.source.slot(); slot && !call.keyed) {
            unkeyed.set(skin::Index(*slot));
          }
        }
      }
    }
    return unkeyed;
  }();
  return slots;
}

std::pair<int, int> ExpectedSize(SlotId slot) {
  return {skin::Info(slot).expected_width, skin::Info(slot).expected_height};
}

enum class SizeEffect { kUndrawn, kCut };

// What one side of one menu state shows; merged over all states into findings.
struct SideFacts {
  struct Legibility {
    std::uint8_t colour, section;
    std::array<double, kModelCount> contrast;  // on each screen model
    Box box;
  };
  struct Sized {
    SlotId slot;
    SizeEffect effect;
    Box box;
  };
  struct Green {
    SlotId slot;
    int count;
    Box box;
  };
  int side = 0;
  std::vector<Legibility> texts;
  std::vector<std::pair<SlotId, Box>> empty;
  std::vector<Sized> sized;
  std::vector<Green> green;
  std::array<Box, skin::kColourCount> coloured{};    // where each colour key shows
  std::array<bool, skin::kSectionCount> placed{};    // sections that placed something
  std::array<Box, skin::kSectionCount> on_screen{};  // where they show
  std::array<bool, skin::kSectionCount> visible{};   // sections with a pixel on the finished side
};

// What a picture of another size than its slot's does where `call` drew it: a gap of undrawn
// pixels where the slot's picture would have reached, or a cut where the screen's edge takes what
// reaches beyond the slot's size. Pictures repeated into a span take the span's size whatever
// their own, so they are left out.
void CheckSize(const Image& picture, const SourceMap& map, const DrawCall& call, SlotId slot,
               SideFacts& facts) {
  if (call.repeated || picture.Empty()) return;
  const auto [ew, eh] = ExpectedSize(slot);
  if (picture.width == ew && picture.height == eh) return;
  // The picture's pixel (px, py) lands at (call.x + px - part_x, call.y + py - part_y).
  const Coord ox = call.x - call.part_x, oy = call.y - call.part_y;
  const Box drawn = BoxOf(call.x, call.y, call.width, call.height);
  // A picture drawn whole would have covered the slot's size; a part covers what it was cut to.
  const bool whole = call.part_x == 0 && call.part_y == 0 && call.width == picture.width &&
                     call.height == picture.height;
  const Box expected = whole ? BoxOf(ox, oy, ew, eh) : Intersect(drawn, BoxOf(ox, oy, ew, eh));
  const Box own = Intersect(drawn, BoxOf(ox, oy, picture.width, picture.height));
  if ((picture.width < ew || picture.height < eh) && !expected.Empty() &&
      HasUndrawn(map, expected, own)) {
    facts.sized.push_back({slot, SizeEffect::kUndrawn, expected});
  }
  // The columns and rows beyond the slot's size, where they were drawn.
  const Box right = Intersect(own, BoxOf(ox + ew, oy, picture.width - ew, picture.height));
  const Box below = Intersect(own, BoxOf(ox, oy + eh, picture.width, picture.height - eh));
  for (const Box& extra : {right, below}) {
    if (extra.Empty()) continue;
    const Box shown = Intersect(extra, kScreenBox);
    const bool cut = shown.x0 != extra.x0 || shown.y0 != extra.y0 || shown.x1 != extra.x1 ||
                     shown.y1 != extra.y1;
    if (cut) {
      facts.sized.push_back({slot, SizeEffect::kCut, own});
      return;
    }
  }
}

SideFacts FactsOf(const skin::SkinDocument& doc, const Image& image, const SourceMap& map,
                  int side) {
  SideFacts facts;
  facts.side = side;
  for (const TextSample& text : TextsOf(image, map)) {
    const Box box = BoxOf(text.call->x, text.call->y, text.call->width, text.call->height);
    facts.texts.push_back({text.call->source.item, text.call->source.section,
                           TextContrast(text.call->rgb, text.around), box});
  }
  for (const DrawCall& call : map.calls) {
    const Box box = BoxOf(call.x, call.y, call.width, call.height);
    const bool shows = !Intersect(box, kScreenBox).Empty();
    if (call.source.section < skin::kSectionCount && !box.Empty()) {
      facts.placed[call.source.section] = true;
      if (shows) {
        Box& at = facts.on_screen[call.source.section];
        at = Unite(at, Intersect(box, kScreenBox));
      }
    }
    if (const std::optional<ColourId> colour = call.source.colour(); colour && shows) {
      Box& at = facts.coloured[skin::Index(*colour)];
      if (at.Empty()) at = Intersect(box, kScreenBox);
    }
    const std::optional<SlotId> slot = call.source.slot();
    if (!slot) continue;
    const Image& picture = doc.Slot(*slot);
    if (picture.Empty()) {
      const auto [ew, eh] = ExpectedSize(*slot);
      facts.empty.emplace_back(*slot, BoxOf(call.x, call.y, ew, eh));
      continue;
    }
    CheckSize(picture, map, call, *slot, facts);
  }
  for (const Source& source : map.sources) {
    if (source.section < skin::kSectionCount) facts.visible[source.section] = true;
  }
  // Key green that shows was drawn by a picture without a key: a keyed picture leaves it out.
  std::map<SlotId, SideFacts::Green> green;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Rgb c = image.At(x, y) & 0xFFFFFF;
      if (c != 0x00F800 && c != 0x00FF00) continue;
      const std::optional<SlotId> slot = map.At(x, y).slot();
      if (!slot) continue;
      auto [it, added] = green.try_emplace(*slot, SideFacts::Green{*slot, 0, {}});
      ++it->second.count;
      it->second.box = Unite(it->second.box, BoxOf(x, y, 1, 1));
    }
  }
  for (const auto& [slot, g] : green) facts.green.push_back(g);
  return facts;
}

bool SameSide(const Image& a, const SourceMap& ma, const Image& b, const SourceMap& mb) {
  return a.pixels == b.pixels && ma.sources == mb.sources;
}

// Draws every menu state and hands the facts of each side to `take(screen, facts)`. The upper
// screen is the same game-information screen in most states; its facts are worked out once.
template <typename Take>
void ForEachSide(const skin::SkinDocument& doc, Take take) {
  preview::ScreenSources first;
  preview::ScreenPair first_pair;
  SideFacts first_top;
  preview::ScreenSources sources;
  for (int screen = 0; screen < preview::kScreenCount; ++screen) {
    preview::ScreenPair pair = preview::DrawScreens(doc, screen, &sources);
    if (screen == 0) {
      first_top = FactsOf(doc, pair.top, sources.top, 0);
      take(screen, first_top);
      first_pair.top = pair.top;
      first.top = sources.top;
    } else if (SameSide(pair.top, sources.top, first_pair.top, first.top)) {
      take(screen, first_top);
    } else {
      take(screen, FactsOf(doc, pair.top, sources.top, 0));
    }
    take(screen, FactsOf(doc, pair.bottom, sources.bottom, 1));
  }
}

// ---- Merging ------------------------------------------------------------------------------------

struct Place {
  Screens screens;
  int side = 0;
  Box box;
  int first_screen = -1;

  void Add(int screen, int on_side, const Box& at) {
    if (first_screen < 0) first_screen = screen, side = on_side, box = at;
    screens.set(static_cast<std::size_t>(screen));
  }
  CanvasRect Rect() const { return ToCanvas(box, side); }
};

std::string TextName(std::uint8_t colour, std::uint8_t section) {
  std::string name = colour < skin::kColourCount
                         ? std::string(skin::Info(static_cast<ColourId>(colour)).key)
                         : "white";
  if (section < skin::kSectionCount) {
    name += " [" + std::string(skin::Info(static_cast<SectionId>(section)).name) + "]";
  }
  return name;
}

struct HighlightPair {
  ColourId highlight, normal;
};
constexpr HighlightPair kHighlights[] = {
    {ColourId::vTextHighLightColor, ColourId::vTextColor},
    {ColourId::listTextHighLightColor, ColourId::listTextColor},
    {ColourId::popMenuTextHighLightColor, ColourId::popMenuTextColor},
    {ColourId::popSubMenuTextHighLightColor, ColourId::popSubMenuTextColor},
    {ColourId::spinBoxTextHighLightColor, ColourId::spinBoxTextColor},
    {ColourId::spinBoxFocusColor, ColourId::spinBoxNormalColor},
    {ColourId::cheatListTextHighLightColor, ColourId::cheatListTextColor},
};
// Two colours whose luminances are close may still differ plainly in hue (orange and cyan); a
// highlight is indistinct only when it is also close in OKLab, where 0.02 is about the smallest
// difference one sees.
constexpr double kIndistinctDistance = 0.06;

std::optional<std::string> SlotName(std::optional<SlotId> slot) {
  if (!slot) return std::nullopt;
  return std::string(skin::Info(*slot).BaseName());
}

// The box that the drawings placed by `section` aim at, before clipping, on each side of the menu
// states in `screens` that places any; `screens` is left holding just those states.
std::vector<Box> PlacedBoxes(const skin::SkinDocument& doc, std::uint8_t section,
                             Screens& screens) {
  std::vector<Box> boxes;
  Screens placing;
  preview::ScreenSources sources;
  for (int screen = 0; screen < preview::kScreenCount; ++screen) {
    if (!screens.test(static_cast<std::size_t>(screen))) continue;
    preview::DrawScreens(doc, screen, &sources);
    for (const SourceMap* map : {&sources.top, &sources.bottom}) {
      Box box;
      for (const DrawCall& call : map->calls) {
        const Box at = BoxOf(call.x, call.y, call.width, call.height);
        if (call.source.section == section && !at.Empty()) box = Unite(box, at);
      }
      if (box.Empty()) continue;
      boxes.push_back(box);
      placing.set(static_cast<std::size_t>(screen));
    }
  }
  screens = placing;
  return boxes;
}

// What the facts of every side of every menu state add up to.
struct MergedFacts {
  struct Text {
    Place place;
    double worst = 1e9;  // on the screen model where it reads worst
    Box worst_box;
    int worst_side = 0;
    double later_worst = 1e9;  // on the later models' full-scale levels
  };
  struct Green {
    Place place;
    int count = 0;  // the most pixels of key green on one side
  };
  std::map<std::pair<int, int>, Text> texts;  // by colour key and section
  std::map<SlotId, Place> empty;
  std::map<SlotId, Green> green;
  std::map<std::pair<SlotId, SizeEffect>, Place> sized;
  std::array<Place, skin::kColourCount> coloured;
  std::array<Screens, skin::kSectionCount> placed;
  std::array<Screens, skin::kSectionCount> shown;
  std::array<bool, skin::kSectionCount> seen{};
  std::array<int, skin::kSectionCount> placed_side{};
  std::array<std::array<std::pair<int, Box>, preview::kScreenCount>, skin::kSectionCount> at{};

  void Take(int screen, const SideFacts& f) {
    for (const SideFacts::Legibility& t : f.texts) {
      const double contrast = *std::min_element(t.contrast.begin(), t.contrast.end());
      if (contrast >= kHardToReadContrast) continue;
      Text& text = texts[{t.colour, t.section}];
      text.place.Add(screen, f.side, t.box);
      text.later_worst = std::min(text.later_worst, t.contrast[0]);
      if (contrast < text.worst) {
        text.worst = contrast, text.worst_box = t.box, text.worst_side = f.side;
      }
    }
    for (const auto& [slot, box] : f.empty) empty[slot].Add(screen, f.side, box);
    for (const SideFacts::Sized& s : f.sized) sized[{s.slot, s.effect}].Add(screen, f.side, s.box);
    for (const SideFacts::Green& g : f.green) {
      Green& at_slot = green[g.slot];
      at_slot.place.Add(screen, f.side, g.box);
      at_slot.count = std::max(at_slot.count, g.count);
    }
    for (std::size_t c = 0; c < skin::kColourCount; ++c) {
      if (!f.coloured[c].Empty()) coloured[c].Add(screen, f.side, f.coloured[c]);
    }
    for (std::size_t s = 0; s < skin::kSectionCount; ++s) {
      seen[s] = seen[s] || f.visible[s];
      if (f.placed[s]) {
        if (placed[s].none()) placed_side[s] = f.side;
        placed[s].set(static_cast<std::size_t>(screen));
      }
      if (!f.on_screen[s].Empty()) {
        shown[s].set(static_cast<std::size_t>(screen));
        at[s][static_cast<std::size_t>(screen)] = {f.side, f.on_screen[s]};
      }
    }
  }
};

// A finding of `code` over the menu states of `place`, framed where it first showed.
Finding FindingAt(CheckCode code, const Place& place) {
  Finding f;
  f.code = code;
  f.screens = place.screens;
  f.rect = place.Rect();
  return f;
}

void AddIllegibleTexts(const MergedFacts& merged, std::vector<Finding>& findings) {
  for (const auto& [key, text] : merged.texts) {
    Finding f;
    f.severity = text.worst < kIllegibleContrast ? Severity::kError : Severity::kWarning;
    f.code = CheckCode::kLegibility;
    f.screens = text.place.screens;
    if (key.first < static_cast<int>(skin::kColourCount))
      f.colour = static_cast<ColourId>(key.first);
    if (key.second < static_cast<int>(skin::kSectionCount))
      f.section = static_cast<SectionId>(key.second);
    f.rect = ToCanvas(text.worst_box, text.worst_side);
    // A text that reads on the later models fails only on the original model's screen: named so.
    f.message_key = text.later_worst >= kHardToReadContrast ? "LANG_CHECK_LEGIBILITY_ORIGINAL$"
                                                            : "LANG_CHECK_LEGIBILITY$";
    f.message_args = {
        TextName(static_cast<std::uint8_t>(key.first), static_cast<std::uint8_t>(key.second)),
        f.screens, FormatRatio(text.worst)};
    if (f.colour) f.fix = FixKind::kLegibleColour;
    findings.push_back(std::move(f));
  }
}

void AddIndistinctHighlights(const skin::SkinDocument& doc, const MergedFacts& merged,
                             std::vector<Finding>& findings) {
  for (const HighlightPair& pair : kHighlights) {
    const Rgb h = doc.Colour(pair.highlight), n = doc.Colour(pair.normal);
    const double ratio = ContrastRatio(h, n);
    const Place& where = merged.coloured[skin::Index(pair.highlight)];
    if (ratio >= kIndistinctContrast || OklabDistance(h, n) >= kIndistinctDistance ||
        where.first_screen < 0)
      continue;
    Finding f = FindingAt(CheckCode::kIndistinctHighlight, where);
    f.colour = pair.highlight;
    f.message_key = "LANG_CHECK_HIGHLIGHT$";
    f.message_args = {std::string(skin::Info(pair.highlight).key),
                      std::string(skin::Info(pair.normal).key), FormatRatio(ratio)};
    findings.push_back(std::move(f));
  }
}

void AddOddSizes(const skin::SkinDocument& doc, const MergedFacts& merged,
                 std::vector<Finding>& findings) {
  for (const auto& [key, place] : merged.sized) {
    const Image& picture = doc.Slot(key.first);
    const auto [ew, eh] = ExpectedSize(key.first);
    Finding f = FindingAt(CheckCode::kPictureSize, place);
    f.slot = key.first;
    f.message_key =
        key.second == SizeEffect::kUndrawn ? "LANG_CHECK_SIZE_UNDRAWN$" : "LANG_CHECK_SIZE_CUT$";
    f.fix = FixKind::kFitPicture;
    f.message_args = {*SlotName(key.first), SizeText(picture.width, picture.height),
                      SizeText(ew, eh)};
    findings.push_back(std::move(f));
  }
}

void AddEmptyPictures(const MergedFacts& merged, std::vector<Finding>& findings) {
  for (const auto& [slot, place] : merged.empty) {
    Finding f = FindingAt(CheckCode::kEmptyPicture, place);
    f.severity = Severity::kError;
    f.slot = slot;
    f.message_key = "LANG_CHECK_EMPTY$";
    f.message_args = {*SlotName(slot)};
    findings.push_back(std::move(f));
  }
}

void AddKeyGreen(const MergedFacts& merged, std::vector<Finding>& findings) {
  for (const auto& [slot, green] : merged.green) {
    Finding f = FindingAt(CheckCode::kKeyColour, green.place);
    f.slot = slot;
    f.message_key = "LANG_CHECK_KEY_COLOUR$";
    f.message_args = {*SlotName(slot), std::to_string(green.count)};
    findings.push_back(std::move(f));
  }
}

// What the screens show decides, not the numbers: an element whose only pixels are keyed away,
// clipped off at an edge or drawn over is as lost as one placed beyond the screen.
void AddLostElements(const MergedFacts& merged, std::vector<Finding>& findings) {
  for (std::size_t s = 0; s < skin::kSectionCount; ++s) {
    if (merged.placed[s].none() || merged.seen[s]) continue;
    Finding f;
    f.severity = Severity::kError;
    f.code = CheckCode::kOffScreen;
    f.screens = merged.placed[s];
    f.section = static_cast<SectionId>(s);
    f.rect = ToCanvas(kScreenBox, merged.placed_side[s]);  // where it would have to come back
    f.message_key = merged.shown[s].any() ? "LANG_CHECK_UNSEEN$" : "LANG_CHECK_OFF_SCREEN$";
    f.fix = FixKind::kWholePlace;
    f.message_args = {std::string(skin::Info(static_cast<SectionId>(s)).name)};
    findings.push_back(std::move(f));
  }
}

void AddOutOfRange(const skin::SkinDocument& doc, const MergedFacts& merged,
                   std::vector<Finding>& findings) {
  for (const skin::FieldRange& range : skin::kFieldRanges) {
    const std::int32_t value = doc.Field(range.field);
    if (value >= range.min && value <= range.max) continue;
    const skin::FieldInfo& info = skin::Info(range.field);
    const std::size_t s = skin::Index(info.section);
    Finding f;
    f.code = CheckCode::kOutOfRange;
    f.screens.set(static_cast<std::size_t>(range.screen));
    f.section = info.section;
    f.field = range.field;
    const auto& [side, box] = merged.at[s][static_cast<std::size_t>(range.screen)];
    f.rect = ToCanvas(box, side);
    f.message_key = "LANG_CHECK_OUT_OF_RANGE$";
    f.message_args = {std::string(info.name), std::string(skin::Info(info.section).name),
                      std::to_string(value), std::to_string(range.min), std::to_string(range.max)};
    f.fix = FixKind::kShownValue;
    findings.push_back(std::move(f));
  }
}

// Errors before warnings; within each, by kind of finding, then by the first menu state that shows
// it; otherwise in the order they were found.
void SortFindings(std::vector<Finding>& findings) {
  const auto first = [](const Finding& f) {
    for (int s = 0; s < preview::kScreenCount; ++s)
      if (f.screens.test(static_cast<std::size_t>(s))) return s;
    return preview::kScreenCount;
  };
  std::stable_sort(findings.begin(), findings.end(), [&](const Finding& a, const Finding& b) {
    return std::tuple(a.severity, a.code, first(a)) < std::tuple(b.severity, b.code, first(b));
  });
}

}  // namespace

std::string_view SeverityName(Severity severity) {
  return severity == Severity::kError ? "error" : "warning";
}

std::string_view CodeName(CheckCode code) {
  static constexpr std::string_view kNames[] = {
      "legibility", "indistinct-highlight", "picture-size", "empty-picture",
      "key-colour", "off-screen",           "out-of-range"};
  return kNames[static_cast<int>(code)];
}

double ContrastRatio(Rgb a, Rgb b) { return RatioOf(Luminance(a), Luminance(b)); }

double ScreenContrast(Rgb a, Rgb b) {
  double lowest = 21;
  for (std::size_t m = 0; m < kModelCount; ++m)
    lowest = std::min(lowest, RatioOf(ShownLuminance(a, m), ShownLuminance(b, m)));
  return lowest;
}

double OklabDistance(Rgb a, Rgb b) { return imaging::OklabDistance(a, b); }

std::string FormatScreens(const Screens& screens, int first_number) {
  std::string text;
  for (int s = 0; s < preview::kScreenCount;) {
    if (!screens.test(static_cast<std::size_t>(s))) {
      ++s;
      continue;
    }
    int e = s;
    while (e + 1 < preview::kScreenCount && screens.test(static_cast<std::size_t>(e + 1))) ++e;
    if (!text.empty()) text += ", ";
    text += std::to_string(s + first_number);
    if (e > s) text += (e == s + 1 ? ", " : "-") + std::to_string(e + first_number);
    s = e + 1;
  }
  return text;
}

bool DrawnWithoutKey(SlotId slot) { return SlotsDrawnWithoutKey()[skin::Index(slot)]; }

std::vector<Finding> CheckSkin(const skin::SkinDocument& doc) {
  MergedFacts merged;
  ForEachSide(doc, [&](int screen, const SideFacts& facts) { merged.Take(screen, facts); });
  std::vector<Finding> findings;
  AddIllegibleTexts(merged, findings);
  AddIndistinctHighlights(doc, merged, findings);
  AddOddSizes(doc, merged, findings);
  AddEmptyPictures(merged, findings);
  AddKeyGreen(merged, findings);
  AddLostElements(merged, findings);
  AddOutOfRange(doc, merged, findings);
  SortFindings(findings);
  return findings;
}

std::optional<Rgb> NearestLegibleColour(const skin::SkinDocument& doc, ColourId colour) {
  // The luminances around each text of the colour on each screen model, sorted; a side that
  // repeats one already taken adds nothing.
  using Group = std::array<std::vector<double>, kModelCount>;
  std::vector<Group> groups;
  const auto key = static_cast<std::uint8_t>(skin::Index(colour));
  preview::ScreenSources sources;
  for (int screen = 0; screen < preview::kScreenCount; ++screen) {
    const preview::ScreenPair pair = preview::DrawScreens(doc, screen, &sources);
    for (const auto& [image, map] :
         {std::pair{&pair.top, &sources.top}, std::pair{&pair.bottom, &sources.bottom}}) {
      for (const TextSample& text : TextsOf(*image, *map)) {
        if (text.call->source.item != key) continue;
        Group group;
        for (std::size_t m = 0; m < kModelCount; ++m) {
          group[m].resize(text.around.size());
          std::transform(text.around.begin(), text.around.end(), group[m].begin(),
                         [m](Rgb c) { return ShownLuminance(c, m); });
          std::sort(group[m].begin(), group[m].end());
        }
        if (std::find(groups.begin(), groups.end(), group) == groups.end())
          groups.push_back(std::move(group));
      }
    }
  }
  if (groups.empty()) return std::nullopt;
  // A candidate of luminance lt passes a pixel of luminance lb when their ratio reaches the goal,
  // that is when lb is at most `low` or at least `high`; a text passes when at most a tenth of
  // its pixels fail, as TextContrast measures. A hair above 4.5 keeps rounding on the safe side.
  constexpr double kGoal = kLegibleContrast * (1 + 1e-9);
  const auto passes = [&](Rgb candidate) {
    for (std::size_t m = 0; m < kModelCount; ++m) {
      const double lt = ShownLuminance(candidate, m);
      const double low = (lt + 0.05) / kGoal - 0.05, high = kGoal * (lt + 0.05) - 0.05;
      for (const Group& group : groups) {
        const std::vector<double>& lum = group[m];
        const auto fail_from = std::upper_bound(lum.begin(), lum.end(), low);
        const auto fail_to = std::lower_bound(fail_from, lum.end(), high);
        const std::size_t allowed = lum.size() * kPercentile / 100;
        if (static_cast<std::size_t>(fail_to - fail_from) > allowed) return false;
      }
    }
    return true;
  };
  const Rgb current = skin::QuantiseToRgb555(doc.Colour(colour));
  const imaging::Oklab from = imaging::ToOklab(current);
  std::vector<std::pair<double, Rgb>> candidates;
  candidates.reserve(32768);
  for (std::uint32_t v = 0; v < 32768; ++v) {
    const Rgb c = preview::StoredColourOf(v);
    candidates.emplace_back(imaging::OklabDistance(from, imaging::ToOklab(c)), c);
  }
  std::sort(candidates.begin(), candidates.end());
  for (const auto& [distance, c] : candidates) {
    if (passes(c)) return c;
  }
  return std::nullopt;
}

std::vector<std::string> MessageArgs(const Finding& finding, int first_screen_number) {
  std::vector<std::string> args;
  for (const MessageArg& arg : finding.message_args) {
    if (const ScreenSet* screens = std::get_if<ScreenSet>(&arg)) {
      args.push_back(FormatScreens(*screens, first_screen_number));
    } else {
      args.push_back(std::get<std::string>(arg));
    }
  }
  return args;
}

std::string_view FixTextKey(FixKind fix) {
  switch (fix) {
    case FixKind::kNone:
      return {};
    case FixKind::kLegibleColour:
      return "LANG_CHECK_FIX_COLOUR$";
    case FixKind::kShownValue:
      return "LANG_CHECK_FIX_VALUE$";
    case FixKind::kWholePlace:
      return "LANG_CHECK_FIX_PLACE$";
    case FixKind::kFitPicture:
      return "LANG_CHECK_FIX_SIZE$";
  }
  return {};
}

std::optional<std::int32_t> NearestWholeValue(const skin::SkinDocument& doc, skin::FieldId field) {
  const skin::FieldInfo& info = skin::Info(field);
  const bool across = info.name == "x";
  if ((!across && info.name != "y") || info.kind != skin::FieldKind::kInteger) return std::nullopt;
  const std::optional<skin::FieldRange> range = skin::ShownRange(field);
  const Coord lo = range ? range->min : INT32_MIN;
  const Coord hi = range ? range->max : INT32_MAX;
  const Coord extent = across ? kW : kH;
  const auto section = static_cast<std::uint8_t>(skin::Index(info.section));
  skin::SkinDocument trial = doc;  // a cheap copy: the pictures are shared
  Screens screens;
  screens.set();
  Coord value = std::clamp<Coord>(doc.Field(field), lo, hi);
  // The screens move most drawings one for one with the field, so one measure usually finds the
  // value; the few that move otherwise (a text cut to the room left) take another round or two.
  constexpr int kRounds = 6;
  for (int round = 0; round < kRounds; ++round) {
    trial.Field(field) = static_cast<std::int32_t>(value);
    const std::vector<Box> boxes = PlacedBoxes(trial, section, screens);
    if (boxes.empty()) return std::nullopt;
    Coord from = lo, to = hi;
    for (const Box& box : boxes) {
      from = std::max(from, value - (across ? box.x0 : box.y0));
      to = std::min(to, value + extent - (across ? box.x1 : box.y1));
    }
    if (from > to) return std::nullopt;  // larger than the screen, or the range forbids it
    if (value >= from && value <= to) return static_cast<std::int32_t>(value);
    value = std::clamp(value, from, to);
  }
  return std::nullopt;
}

std::optional<QuickFix> QuickFixOf(const skin::SkinDocument& doc, const Finding& finding) {
  QuickFix fix;
  switch (finding.fix) {
    case FixKind::kNone:
      return std::nullopt;
    case FixKind::kLegibleColour: {
      if (!finding.colour) return std::nullopt;
      const std::optional<Rgb> legible = NearestLegibleColour(doc, *finding.colour);
      if (!legible || *legible == doc.Colour(*finding.colour)) return std::nullopt;
      fix.colour = {*finding.colour, *legible};
      return fix;
    }
    case FixKind::kShownValue: {
      if (!finding.field) return std::nullopt;
      const skin::FieldId field = *finding.field;
      // A value the gadget shows is not enough when the element then falls off the screen.
      const std::int32_t value =
          NearestWholeValue(doc, field).value_or(skin::NearestShownValue(field, doc.Field(field)));
      if (value == doc.Field(field)) return std::nullopt;
      fix.fields.push_back({field, value});
      return fix;
    }
    case FixKind::kWholePlace: {
      if (!finding.section) return std::nullopt;
      skin::SkinDocument trial = doc;
      for (const std::string_view axis : {"x", "y"}) {
        for (std::size_t f = 0; f < skin::kFieldCount; ++f) {
          if (skin::kFields[f].section != *finding.section || skin::kFields[f].name != axis)
            continue;
          const auto field = static_cast<skin::FieldId>(f);
          const std::optional<std::int32_t> value = NearestWholeValue(trial, field);
          if (!value || *value == trial.Field(field)) continue;
          trial.Field(field) = *value;
          fix.fields.push_back({field, *value});
        }
      }
      if (fix.fields.empty()) return std::nullopt;
      fix.moves = finding.section;
      return fix;
    }
    case FixKind::kFitPicture:
      if (!finding.slot) return std::nullopt;
      fix.fit_picture = finding.slot;
      return fix;
  }
  return std::nullopt;
}

}  // namespace session
