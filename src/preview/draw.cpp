// Drawing primitives. Each one first narrows its work to the part of the target it can reach, in
// 64-bit arithmetic, and only then loops over pixels; where the target records, it marks the same
// pixels it writes.
#include "preview/draw.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace preview {

using imaging::Image;
using imaging::Rgb;

namespace {

// The columns (or rows) i in [0, length) of a run that starts at `at` and lands inside [0, limit).
struct Span {
  Coord first = 0;
  Coord end = 0;  // one past the last
  bool Empty() const { return first >= end; }
};

Span Clip(Coord at, Coord length, Coord limit) {
  return {std::max<Coord>(0, -at), std::min<Coord>(length, limit - at)};
}

bool Keyed(Rgb colour, std::int64_t key) {
  return key == kDefaultKey ? (colour == 0x00F800 || colour == 0x00FF00)
                            : static_cast<std::int64_t>(colour) == key;
}

}  // namespace

std::optional<skin::SlotId> Source::slot() const {
  if (kind != SourceKind::kPicture || item >= skin::kSlotCount) return std::nullopt;
  return static_cast<skin::SlotId>(item);
}

std::optional<skin::ColourId> Source::colour() const {
  const bool coloured =
      kind == SourceKind::kText || kind == SourceKind::kBox || kind == SourceKind::kLine;
  if (!coloured || item >= skin::kColourCount) return std::nullopt;
  return static_cast<skin::ColourId>(item);
}

std::optional<skin::SectionId> Source::placed_by() const {
  if (section >= skin::kSectionCount) return std::nullopt;
  return static_cast<skin::SectionId>(section);
}

Target::Target(Image& image, SourceMap& record) : image_(image), record_(&record) {
  record.width = image.width;
  record.height = image.height;
  record.sources.assign(image.pixels.size(), Source{});
  record.calls.clear();
}

namespace {

// DrawKeyedPart for a target that records (kRecording) or not; the version that does not is the
// plain copy it always was, with no test of the record inside its loops.
template <bool kRecording>
void DrawPart(const Target& target, const Picture& picture, Coord part_x, Coord part_y, Coord width,
              Coord height, Coord x, Coord y, std::int64_t key) {
  Image& image = target.image();
  const Image& source = picture.image;
  const Span columns = Clip(x, width, image.width);
  const Span rows = Clip(y, height, image.height);
  if (columns.Empty() || rows.Empty()) return;
  // The columns whose source lies inside the picture; the others are black.
  const Coord inside_first = std::clamp<Coord>(-part_x, columns.first, columns.end);
  const Coord inside_end = std::clamp<Coord>(source.width - part_x, inside_first, columns.end);
  const bool black_keyed = Keyed(0, key);
  const Source tag = target.Tag(SourceKind::kPicture, picture.slot);
  for (Coord j = rows.first; j < rows.end; ++j) {
    Rgb* row = &image.pixels[static_cast<std::size_t>(y + j) * image.width];
    Source* record = kRecording ? target.RecordRow(y + j) : nullptr;
    const Coord py = part_y + j;
    const bool row_inside = py >= 0 && py < source.height;
    // Paints the columns [from, to) of the row black.
    const auto black = [&](Coord from, Coord to) {
      std::fill(row + (x + from), row + (x + to), 0);
      if (kRecording) std::fill(record + (x + from), record + (x + to), tag);
    };
    if (!black_keyed) {
      black(columns.first, row_inside ? inside_first : columns.end);
      if (row_inside) black(inside_end, columns.end);
    }
    if (!row_inside || inside_first >= inside_end) continue;
    const Rgb* src = &source.pixels[static_cast<std::size_t>(py) * source.width +
                                    static_cast<std::size_t>(part_x + inside_first)];
    Rgb* dst = row + (x + inside_first);
    const std::size_t n = static_cast<std::size_t>(inside_end - inside_first);
    // One loop for each kind of key, each simple enough for the compiler to vectorise: the preview
    // draws about a quarter of a million pixels at every redraw.
    if (key == kNoKey) {
      for (std::size_t i = 0; i < n; ++i) dst[i] = src[i] & 0xFFFFFF;
      if (kRecording) std::fill_n(record + (x + inside_first), n, tag);
    } else if (kRecording) {
      Source* marks = record + (x + inside_first);
      for (std::size_t i = 0; i < n; ++i) {
        const Rgb c = src[i] & 0xFFFFFF;
        if (Keyed(c, key)) continue;
        dst[i] = c;
        marks[i] = tag;
      }
    } else if (key == kDefaultKey) {
      for (std::size_t i = 0; i < n; ++i) {
        const Rgb c = src[i] & 0xFFFFFF;
        dst[i] = c == 0x00F800 || c == 0x00FF00 ? dst[i] : c;
      }
    } else {
      for (std::size_t i = 0; i < n; ++i) {
        const Rgb c = src[i] & 0xFFFFFF;
        dst[i] = static_cast<std::int64_t>(c) == key ? dst[i] : c;
      }
    }
  }
}

// A picture's call as the record lists it.
DrawCall PictureCall(const Target& target, const Picture& picture, Coord part_x, Coord part_y,
                     Coord width, Coord height, Coord x, Coord y, std::int64_t key) {
  return {target.Tag(SourceKind::kPicture, picture.slot),
          x,
          y,
          width,
          height,
          part_x,
          part_y,
          key != kNoKey};
}

// DrawKeyedPart without listing the call.
void DrawPartUnlisted(const Target& target, const Picture& picture, Coord part_x, Coord part_y,
                      Coord width, Coord height, Coord x, Coord y, std::int64_t key) {
  if (width <= 0 || height <= 0) return;
  if (target.Recording()) {
    DrawPart<true>(target, picture, part_x, part_y, width, height, x, y, key);
  } else {
    DrawPart<false>(target, picture, part_x, part_y, width, height, x, y, key);
  }
}

void DrawKeyedUnlisted(const Target& target, const Picture& picture, Coord x, Coord y,
                       std::int64_t key) {
  if (picture.image.Empty()) return;
  DrawPartUnlisted(target, picture, 0, 0, picture.image.width, picture.image.height, x, y, key);
}

}  // namespace

void DrawKeyedPart(const Target& target, const Picture& picture, Coord part_x, Coord part_y,
                   Coord width, Coord height, Coord x, Coord y, std::int64_t key) {
  target.Log(PictureCall(target, picture, part_x, part_y, width, height, x, y, key));
  DrawPartUnlisted(target, picture, part_x, part_y, width, height, x, y, key);
}

void DrawKeyed(const Target& target, const Picture& picture, Coord x, Coord y, std::int64_t key) {
  const Coord width = picture.image.Empty() ? 0 : picture.image.width;
  const Coord height = picture.image.Empty() ? 0 : picture.image.height;
  target.Log(PictureCall(target, picture, 0, 0, width, height, x, y, key));
  DrawKeyedUnlisted(target, picture, x, y, key);
}

void DrawRepeated(const Target& target, const Picture& picture, Coord x, Coord y, Coord count,
                  std::int64_t key) {
  const bool none = picture.image.Empty() || count <= 0;
  DrawCall call = PictureCall(target, picture, 0, 0, none ? 0 : count - 1 + picture.image.width,
                              none ? 0 : picture.image.height, x, y, key);
  call.repeated = true;
  target.Log(call);
  if (none) return;
  const Coord width = picture.image.width;
  // Copy i covers the columns x + i to x + i + width - 1; only copies that overlap the target
  // leave a trace.
  const Coord first = std::max<Coord>(0, -x - width + 1);
  const Coord last = std::min<Coord>(count - 1, target.image().width - 1 - x);
  if (first > last) return;
  if (key != kNoKey) {
    for (Coord i = first; i <= last; ++i) DrawKeyedUnlisted(target, picture, x + i, y, key);
    return;
  }
  // Without a key each copy hides all of the one before it but its first column: those columns
  // (where they fall inside the target) show the picture's first column, then the last copy shows
  // whole.
  const Coord stretch = std::max(first, -x);
  if (stretch < last) {
    Image& image = target.image();
    const Span rows = Clip(y, picture.image.height, image.height);
    const Source tag = target.Tag(SourceKind::kPicture, picture.slot);
    for (Coord j = rows.first; j < rows.end; ++j) {
      const Rgb colour = picture.image.pixels[static_cast<std::size_t>(j) * picture.image.width];
      Rgb* row = &image.pixels[static_cast<std::size_t>(y + j) * image.width];
      std::fill(row + (x + stretch), row + (x + last), colour & 0xFFFFFF);
      if (Source* record = target.RecordRow(y + j)) {
        std::fill(record + (x + stretch), record + (x + last), tag);
      }
    }
  }
  DrawKeyedUnlisted(target, picture, x + last, y, kNoKey);
}

namespace {

void FillRectangle(const Target& target, Coord x, Coord y, Coord width, Coord height, Ink ink,
                   SourceKind kind) {
  target.Log({target.Tag(kind, ink.key), x, y, width, height, 0, 0, true, false, ink.rgb});
  if (width <= 0 || height <= 0) return;
  Image& image = target.image();
  const Span columns = Clip(x, width, image.width);
  const Span rows = Clip(y, height, image.height);
  if (columns.Empty() || rows.Empty()) return;
  const Source tag = target.Tag(kind, ink.key);
  for (Coord j = rows.first; j < rows.end; ++j) {
    Rgb* row = &image.pixels[static_cast<std::size_t>(y + j) * image.width];
    std::fill(row + (x + columns.first), row + (x + columns.end), ink.rgb);
    if (Source* record = target.RecordRow(y + j)) {
      std::fill(record + (x + columns.first), record + (x + columns.end), tag);
    }
  }
}

}  // namespace

void FillBox(const Target& target, Coord x, Coord y, Coord width, Coord height, Ink ink) {
  FillRectangle(target, x, y, width, height, ink, SourceKind::kBox);
}

void HorizontalLine(const Target& target, Coord x, Coord y, Coord length, Ink ink) {
  FillRectangle(target, x, y, length, 1, ink, SourceKind::kLine);
}

void VerticalLine(const Target& target, Coord x, Coord y, Coord length, Ink ink) {
  FillRectangle(target, x, y, 1, length, ink, SourceKind::kLine);
}

Image ScaleNearest(const Image& source, int width, int height) {
  if (source.Empty() || width <= 0 || height <= 0) return Image();
  Image out(width, height);
  // Each target column maps to one source column; the map is computed once and rows that map to
  // the same source row are copied instead of recomputed.
  std::vector<int> columns(width);
  for (int i = 0; i < width; ++i) columns[i] = NearestSource(i, width, source.width);
  int previous = -1;
  for (int j = 0; j < height; ++j) {
    const int sy = NearestSource(j, height, source.height);
    Rgb* dst = &out.pixels[static_cast<std::size_t>(j) * width];
    if (sy == previous) {
      std::memcpy(dst, dst - width, sizeof(Rgb) * width);
      continue;
    }
    const Rgb* src = &source.pixels[static_cast<std::size_t>(sy) * source.width];
    for (int i = 0; i < width; ++i) dst[i] = src[columns[i]];
    previous = sy;
  }
  return out;
}

}  // namespace preview
