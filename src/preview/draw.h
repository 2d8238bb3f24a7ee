// Drawing primitives of the preview: keyed pictures, parts of pictures, repeated pictures, boxes,
// lines and nearest-pixel scaling on 32-bit images, and the optional record of what wrote each
// pixel.
//
// Positions and sizes come from a skin's element numbers, which may hold any 32-bit value, and the
// screens add offsets to them. They are therefore taken as 64-bit `Coord`s, in which the few sums
// a screen forms cannot overflow, and every primitive clips to its target before it touches a
// pixel: the work of a call is bounded by the target's size, never by the numbers it is given.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/image.h"
#include "skin/skin_tables.h"

namespace preview {

using Coord = std::int64_t;

// The key that makes pure green (0, 248, 0) and (0, 255, 0) transparent; every other pixel is
// drawn. kNoKey draws every pixel. Any other value makes exactly the pixels of that colour
// transparent.
inline constexpr std::int64_t kDefaultKey = 0xF800;
inline constexpr std::int64_t kNoKey = -1;

// What wrote a pixel: on a screen a picture, a text, a box or a line; on the canvas also the hinge.
// kBackground where nothing was drawn.
enum class SourceKind : std::uint8_t { kBackground, kHinge, kPicture, kText, kBox, kLine };

// One pixel's record: its kind, the skin slot of a picture or the skin colour of a text, box or
// line, and the element section whose numbers placed it. Four bytes, so that recording two screens
// takes 384 kB whatever the skin holds.
struct Source {
  static constexpr std::uint8_t kNone = 0xFF;

  SourceKind kind = SourceKind::kBackground;
  std::uint8_t item = kNone;     // a SlotId or a ColourId by kind; kNone: built-in or fixed
  std::uint8_t section = kNone;  // a SectionId
  std::uint8_t unused = 0;

  // The slot of a picture; none for a built-in picture (the sample game's icon) and other kinds.
  std::optional<skin::SlotId> slot() const;
  // The colour key of a text, box or line; none for a fixed colour and other kinds.
  std::optional<skin::ColourId> colour() const;
  // The element section whose numbers placed it; none for a place the menu fixes.
  std::optional<skin::SectionId> placed_by() const;

  friend bool operator==(const Source&, const Source&) = default;
};
static_assert(sizeof(Source) == 4);

// One drawing call as a recording target lists it: what it drew (the Source its pixels carry) and
// the rectangle it aimed at, before clipping. A picture is listed even when it is empty or lands
// outside the target, with the rectangle of the picture (or of the part of it) drawn; a text with
// the box of its glyphs' ink.
struct DrawCall {
  Source source;
  Coord x = 0;
  Coord y = 0;
  Coord width = 0;
  Coord height = 0;
  Coord part_x = 0;  // pictures: the picture's pixel that lands at (x, y)
  Coord part_y = 0;
  bool keyed = true;      // pictures: false when drawn without a key
  bool repeated = false;  // pictures: copies one pixel apart whose span is width x height
  imaging::Rgb rgb = 0;   // texts, boxes and lines: their colour
};

// What wrote each pixel of an image, row by row like its pixels, and the calls that drew it.
struct SourceMap {
  int width = 0;
  int height = 0;
  std::vector<Source> sources;
  std::vector<DrawCall> calls;  // in drawing order

  // kBackground outside the map.
  Source At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    return sources[static_cast<std::size_t>(y) * width + x];
  }
};

// A picture as the primitives take it: its pixels and the skin slot it was cut from, if any.
struct Picture {
  Picture(const imaging::Image& image)  // NOLINT: any image is a built-in picture
      : image(image) {}
  Picture(const imaging::Image& image, skin::SlotId slot)
      : image(image), slot(static_cast<std::uint8_t>(skin::Index(slot))) {}

  const imaging::Image& image;
  std::uint8_t slot = Source::kNone;
};

// A colour as the primitives take it: its value and the skin colour key it comes from, if any.
struct Ink {
  Ink(imaging::Rgb rgb)  // NOLINT: any colour is a fixed colour
      : rgb(rgb) {}
  Ink(imaging::Rgb rgb, skin::ColourId key)
      : rgb(rgb), key(static_cast<std::uint8_t>(skin::Index(key))) {}

  imaging::Rgb rgb;
  std::uint8_t key = Source::kNone;
};

// What the primitives draw into: an image and, when recording, the map of what wrote each of its
// pixels. An image converts to a target that records nothing; the primitives then do no more than
// test for the map once a row.
class Target {
 public:
  Target(imaging::Image& image)  // NOLINT: drawing into an image without a record
      : image_(image) {}
  // Records into `record`, which is made the image's size, all background.
  Target(imaging::Image& image, SourceMap& record);

  imaging::Image& image() const { return image_; }
  bool Recording() const { return record_ != nullptr; }
  // The record of row `y` (inside the image), or nullptr when not recording.
  Source* RecordRow(Coord y) const {
    return record_ == nullptr
               ? nullptr
               : record_->sources.data() + static_cast<std::size_t>(y) * image_.width;
  }
  // What a primitive of `kind` drawing `item` records.
  Source Tag(SourceKind kind, std::uint8_t item) const { return {kind, item, section_}; }
  // Adds `call` to the record's list of calls; nothing when not recording.
  void Log(const DrawCall& call) const {
    if (record_ != nullptr) record_->calls.push_back(call);
  }

 private:
  friend class Placement;
  imaging::Image& image_;
  SourceMap* record_ = nullptr;
  std::uint8_t section_ = Source::kNone;
};

// While it lives, what is drawn on `target` is recorded as placed by the numbers of `section`.
class Placement {
 public:
  Placement(Target& target, skin::SectionId section) : target_(target), previous_(target.section_) {
    target.section_ = static_cast<std::uint8_t>(skin::Index(section));
  }
  ~Placement() { target_.section_ = previous_; }
  Placement(const Placement&) = delete;
  Placement& operator=(const Placement&) = delete;

 private:
  Target& target_;
  std::uint8_t previous_;
};

// Draws the whole of `picture` with its top-left corner at (x, y) of `target`, leaving out keyed
// pixels and whatever falls outside `target`. An empty picture draws nothing.
void DrawKeyed(const Target& target, const Picture& picture, Coord x, Coord y,
               std::int64_t key = kDefaultKey);

// Draws the width x height rectangle of `picture` whose top-left corner is (part_x, part_y) at
// (x, y) of `target`, as DrawKeyed does. Where the rectangle reaches outside the picture its pixels
// are black. A width or height of 0 or less draws nothing.
void DrawKeyedPart(const Target& target, const Picture& picture, Coord part_x, Coord part_y,
                   Coord width, Coord height, Coord x, Coord y, std::int64_t key = kDefaultKey);

// Draws `picture` `count` times in a row, the i-th copy (from 0) at (x + i, y), each copy over the
// ones before it, with the result of as many DrawKeyed calls. Copies that cannot reach `target` are
// skipped, and without a key only the columns that stay visible are drawn.
void DrawRepeated(const Target& target, const Picture& picture, Coord x, Coord y, Coord count,
                  std::int64_t key = kDefaultKey);

// A filled rectangle; a width or height of 0 or less draws nothing.
void FillBox(const Target& target, Coord x, Coord y, Coord width, Coord height, Ink ink);

// A line of the given length to the right (horizontal) or downwards (vertical).
void HorizontalLine(const Target& target, Coord x, Coord y, Coord length, Ink ink);
void VerticalLine(const Target& target, Coord x, Coord y, Coord length, Ink ink);

// Nearest-pixel scaling from `source_size` pixels to `target_size`: the source pixel whose span
// holds the centre of target pixel `target` (0 to target_size - 1), at most source_size - 1.
// The CLI's scaler and the editor's view share it, so both show the same pixels.
inline int NearestSource(int target, int target_size, int source_size) {
  const std::int64_t source = (2 * static_cast<std::int64_t>(target) + 1) * source_size /
                              (2 * static_cast<std::int64_t>(target_size));
  return source < source_size ? static_cast<int>(source) : source_size - 1;
}

// `source` scaled to width x height, every target pixel taking its nearest source pixel.
imaging::Image ScaleNearest(const imaging::Image& source, int width, int height);

}  // namespace preview
