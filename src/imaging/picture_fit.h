// Fitting a picture into a slot of another size: which part of the picture the slot shows, the
// resampling in linear light, the key colour and the reduction to 15-bit colour.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/colour_key.h"
#include "imaging/dither.h"
#include "imaging/image.h"
#include "imaging/limits.h"

namespace imaging {

enum class FitMode {
  kCover,    // scaled to fill the target; what reaches beyond it is cut off
  kContain,  // scaled to fit inside the target, the rest filled
  kStretch,  // scaled to the target's size in each direction on its own
  kKeep,     // taken at its own size, as it is
};

enum class Resampling {
  kSmooth,   // Catmull-Rom in linear light
  kNearest,  // each pixel the source pixel under its centre: pixel art stays crisp
};

// How a picture becomes a slot's picture.
struct FitSettings {
  int width = 0;  // the target; ignored by kKeep
  int height = 0;
  FitMode mode = FitMode::kCover;
  // Cover: the point of the picture (fractions of its width and height) that the frame keeps in
  // its middle, as far as the frame can move; and how much the frame is zoomed into the picture
  // from the largest frame that fits (1 to kMaxZoom).
  double focus_x = 0.5;
  double focus_y = 0.5;
  double zoom = 1.0;
  Resampling resampling = Resampling::kSmooth;
  // To the console's levels: what a fitted picture is reduced with unless chosen otherwise.
  DitherKind dither = DitherKind::kSerpentine;
  int strength = 100;  // percent
  // The colour of the picture that becomes transparent, with the colours near it, besides pixels
  // that already are.
  std::optional<ColourKey> key;
  // Contain: the colour around the picture; the key colour leaves it transparent.
  Rgb fill = kKeyColour;

  friend bool operator==(const FitSettings&, const FitSettings&) = default;
};

inline constexpr double kMaxZoom = 8.0;

// The names of the choices, by their value, as the command line and the import recipes spell them.
inline constexpr std::string_view kFitModeNames[] = {"cover", "contain", "stretch", "keep"};
inline constexpr std::string_view kResamplingNames[] = {"smooth", "nearest"};
inline constexpr std::string_view kDitherNames[] = {"fs", "serpentine", "ordered", "none"};

// The picture at its own size, reduced by Floyd-Steinberg at full strength: what importing a
// picture has always made of it (a 16-bit BMP, already 15-bit, stays as it is).
constexpr FitSettings KeptAsItIs() {
  FitSettings settings;
  settings.mode = FitMode::kKeep;
  settings.dither = DitherKind::kFloydSteinberg;
  return settings;
}

// A rectangle of the source picture, in its pixels.
struct Frame {
  double x = 0, y = 0, width = 0, height = 0;
};
// The part of a picture of the given size that cover fills the target with.
Frame CoverFrame(int source_width, int source_height, const FitSettings& settings);

// Where contain puts the scaled picture in the target: as large as fits, centred, at least 1 x 1.
struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};
Placement ContainPlacement(int source_width, int source_height, int width, int height);

// The size of the fitted picture: the target's, or the source's for kKeep.
std::pair<int, int> FittedSize(int source_width, int source_height, const FitSettings& settings);

// n, 1 to 8: the smallest decoding scale n/8 at which the part of the picture that `settings`
// keeps still has at least twice the target's pixels in each direction. 8 for kKeep and for
// nearest-neighbour resampling, which take the picture's own pixels.
int DecodeEighths(int source_width, int source_height, const FitSettings& settings);

// A picture decoded for fitting, with the size of the picture the file holds.
struct DecodedForFit {
  Decoded picture = DecodeError::kUnknownFormat;
  int source_width = 0;
  int source_height = 0;
  bool fifteen_bit = false;  // a 16-bit BMP, taken without loss: already in 15-bit colour
  int eighths = 8;           // the picture is the file's at eighths/8 of its size
  // The JPEG file, kept with a picture decoded smaller when asked for (DecodeForFit's `keep`), so
  // that FitSource can decode it again at a finer scale when a fit needs one.
  std::shared_ptr<const std::vector<std::uint8_t>> jpeg;
};
// Decodes a BMP, PNG or JPEG file as DecodeImage does; `settings`, when given, lets a JPEG decode
// at the smaller size DecodeEighths allows.
DecodedForFit DecodeForFit(std::span<const std::uint8_t> data, std::uint64_t budget,
                           const FitSettings* settings = nullptr);
// The same with the settings of the first fit chosen once the picture's own size is known (as an
// import plan chooses them), before the picture is decoded. With `keep`, a JPEG decoded smaller
// keeps its file for a finer decoding later.
using FitPlanFor = std::function<FitSettings(int source_width, int source_height)>;
DecodedForFit DecodeForFit(std::span<const std::uint8_t> data, std::uint64_t budget,
                           const FitPlanFor& plan, bool keep = false);
// The same for a JPEG read as it decodes (DecodeJpeg's ReadMore), which is never held whole;
// anything else gives kUnknownFormat.
DecodedForFit DecodeJpegForFit(const std::function<std::int64_t(std::uint8_t*, std::size_t)>& read,
                               std::uint64_t budget, const FitPlanFor& plan);

// The bytes a source picture may take so that fitting it once with `settings` (the Fit of a source
// used once) stays within `budget` at its peak: besides the picture, a fit to a size holds its
// result (contain also the scaled picture it places there), and a smooth one the halvings it
// reads from, at most a third of the picture. 0 when the result alone takes the budget.
std::uint64_t FitPictureBudget(std::uint64_t budget, const FitSettings& settings);

// A source picture made ready to be fitted again and again (a dialog's every adjustment): the
// picture with its transparent pixels marked, and copies of it halved again and again in linear
// light, so that a fit reads only a few times the target's pixels whatever the picture's
// size. The copies take at most a third of the picture's memory; each is made when a smooth fit or
// a caller first needs it, so that a picture kept at its size, scaled by nearest pixel or reduced
// by less than three times costs none.
class FitSource {
 public:
  FitSource() = default;
  // Takes `picture`: pixels of the key colour, and those `key` keys (KeyedPixels) when given, are
  // transparent. A picture
  // whose other pixels all have channels that are multiples of 8 is taken to be in 15-bit colour
  // already (a skin's picture, a 16-bit BMP): c x 8 is read as the level c the console shows, so
  // that the kinds aimed at the console's levels keep it as it is.
  FitSource(Image picture, std::optional<ColourKey> key);
  // Takes a decoded picture. One decoded smaller from a JPEG that kept its file is decoded again,
  // within `budget` bytes, at the next of the scales 1/8, 2/8, 4/8 and 8/8 that a fit needs
  // (DecodeEighths of the file's own size): the picture then changes size, its frames stay where
  // they were, and revision() counts up. Should the finer decoding fail (the budget, the memory),
  // the source keeps the picture it has and stops trying.
  FitSource(DecodedForFit decoded, std::optional<ColourKey> key, std::uint64_t budget = kNoBudget);

  bool Empty() const { return levels_.empty(); }
  int width() const { return Empty() ? 0 : levels_[0].width; }
  int height() const { return Empty() ? 0 : levels_[0].height; }
  const std::optional<ColourKey>& key() const { return key_; }
  bool fifteen_bit() const { return fifteen_bit_; }
  // The scale the picture holds the file at, n/8, and how often it was decoded anew.
  int eighths() const { return eighths_; }
  int revision() const { return revision_; }
  // Makes the pixels of `key` transparent instead of those of the key before; pixels of the key
  // colour stay transparent. The picture is changed in place and its halvings made anew.
  void SetKey(std::optional<ColourKey> key);
  // The picture; the top byte of every pixel is its alpha.
  const Image& picture() const { return levels_[0]; }
  // The halvings: 0 is the picture, each next one half the size (rounded up), down to 8 pixels
  // a side. Those not made yet are made as far as level `deepest`; those made before stay.
  std::span<const Image> levels(std::size_t deepest = SIZE_MAX) const;

  // The slot's picture that `settings` make of the source: 15-bit colour, transparent pixels in
  // the key colour. Its key must be the source's. Empty for an empty source or target. A fit makes
  // only the halvings it reads from.
  Image Fit(const FitSettings& settings) const&;
  // The same for a source that is used once, which is left empty: a picture kept at its size
  // becomes the result without a copy, and the resampling may change the source's pixels in
  // place rather than copy them.
  Image Fit(const FitSettings& settings) &&;

 private:
  // The picture, and its halvings as far as they were made.
  // Decodes the file again when `settings` need a finer scale than the picture holds.
  void Refine(const FitSettings& settings) const;

  mutable std::vector<Image> levels_;
  std::optional<ColourKey> key_;
  bool fifteen_bit_ = false;
  mutable int eighths_ = 8;
  mutable int revision_ = 0;
  // What a finer decoding needs: the file, the picture's own size and the budget.
  mutable std::shared_ptr<const std::vector<std::uint8_t>> jpeg_;
  int file_width_ = 0;
  int file_height_ = 0;
  std::uint64_t budget_ = kNoBudget;
};

}  // namespace imaging
