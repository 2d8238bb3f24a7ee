// Fitting goes in three stages: the frame of the source is resampled to the target's size (from
// the smallest halving that still holds one and a half times the target's pixels across, so that
// the filter reads a bounded number of pixels), transparent pixels become the key colour, and the
// result is reduced to 15-bit colour. The smooth resampling is stb_image_resize's Catmull-Rom
// filter on sRGB pixels decoded to linear light, with alpha premultiplied, so transparent pixels
// give no colour to their neighbours.
#include "imaging/picture_fit.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "imaging/bmp16.h"
#include "imaging/image_decoder.h"
#include "imaging/jpeg_codec.h"

namespace imaging {
namespace {

// Targets larger than this are refused: no slot comes near it.
constexpr int kMaxFitSide = 4096;

constexpr std::uint32_t kAlpha = 0xFF000000u;

// How many source pixels a fit reads at least for each target pixel, along each direction.
constexpr double kLevelRoom = 1.5;

bool TargetAllowed(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxFitSide && height <= kMaxFitSide;
}

// A fraction limited to 0..1, 0.5 for what is not a number.
double Fraction(double value) { return std::isnan(value) ? 0.5 : std::clamp(value, 0.0, 1.0); }
double ZoomOf(const FitSettings& s) {
  return std::isnan(s.zoom) ? 1.0 : std::clamp(s.zoom, 1.0, kMaxZoom);
}

// sRGB to linear light and back, as tables: 256 entries one way (also times full alpha, the weight
// of an opaque pixel), 4096 steps of linear the other.
struct SrgbTables {
  std::array<float, 256> linear{};
  std::array<float, 256> opaque{};
  std::array<std::uint8_t, 4097> srgb{};
  SrgbTables() {
    const std::array<double, 256>& light = LinearLightTable();
    std::transform(light.begin(), light.end(), linear.begin(),
                   [](double l) { return static_cast<float>(l); });
    std::transform(linear.begin(), linear.end(), opaque.begin(),
                   [](float l) { return l * 255.0f; });
    for (int i = 0; i <= 4096; ++i) {
      const double l = i / 4096.0;
      const double c = l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
      srgb[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::lround(c * 255));
    }
  }
  std::uint8_t ToSrgb(float l) const {
    return srgb[static_cast<unsigned>(
        static_cast<int>(std::clamp(l, 0.0f, 1.0f) * 4096.0f + 0.5f))];
  }
};

const SrgbTables& Tables() {
  static const SrgbTables tables;
  return tables;
}

// The average of four pixels in linear light, weighted by their alpha.
Rgb AverageOfFour(const SrgbTables& t, const Rgb (&p)[4]) {
  const auto linear = [&t](int channel) { return t.linear[static_cast<std::size_t>(channel)]; };
  float r = 0, g = 0, b = 0;
  int alpha = 0;
  for (const Rgb c : p) {
    const int a = static_cast<int>(c >> 24);
    alpha += a;
    r += linear(RedOf(c)) * static_cast<float>(a);
    g += linear(GreenOf(c)) * static_cast<float>(a);
    b += linear(BlueOf(c)) * static_cast<float>(a);
  }
  if (alpha == 0) return 0;
  const float w = 1.0f / static_cast<float>(alpha);
  return MakeRgb(t.ToSrgb(r * w), t.ToSrgb(g * w), t.ToSrgb(b * w)) |
         static_cast<Rgb>((alpha + 2) / 4) << 24;
}

// The same for four opaque pixels, with the same products and sums in the same order, so that
// the result is the same to the bit, only without the weights' conversions.
Rgb AverageOfFourOpaque(const SrgbTables& t, Rgb p0, Rgb p1, Rgb p2, Rgb p3) {
  const auto sum = [&t](int shift, Rgb a, Rgb b, Rgb c, Rgb d) {
    const auto at = [&t, shift](Rgb p) { return t.opaque[(p >> shift) & 0xFF]; };
    return t.ToSrgb((((at(a) + at(b)) + at(c)) + at(d)) * (1.0f / 1020.0f));
  };
  return MakeRgb(sum(0, p0, p1, p2, p3), sum(8, p0, p1, p2, p3), sum(16, p0, p1, p2, p3)) | kAlpha;
}

// Half of `in` (sizes rounded up; an odd last column or row stands alone), each pixel the average
// of up to four in linear light, weighted by their alpha.
Image Halve(const Image& in) {
  const SrgbTables& t = Tables();
  Image out((in.width + 1) / 2, (in.height + 1) / 2);
  const int pairs = in.width / 2;
  for (int y = 0; y < out.height; ++y) {
    const Rgb* a = &in.pixels[static_cast<std::size_t>(2 * y) * in.width];
    const Rgb* b = 2 * y + 1 < in.height ? a + in.width : a;
    Rgb* o = &out.pixels[static_cast<std::size_t>(y) * out.width];
    for (int x = 0; x < pairs; ++x, a += 2, b += 2) {
      if ((a[0] & a[1] & b[0] & b[1] & kAlpha) == kAlpha) {
        o[x] = AverageOfFourOpaque(t, a[0], a[1], b[0], b[1]);
      } else {
        o[x] = AverageOfFour(t, {a[0], a[1], b[0], b[1]});
      }
    }
    if (pairs < out.width) o[pairs] = AverageOfFour(t, {a[0], a[0], b[0], b[0]});
  }
  return out;
}

// `frame` of `source` resampled to width x height with the Catmull-Rom filter. Only the frame and
// the filter's reach around it are handed to the resizer, which decodes whole rows; it reads them
// in place, so the source is never copied. A source that a fit may use up (`writable`, the same
// picture) is first packed to its three colour channels where it lies when it is opaque: the
// resizer then has a quarter less to do, for the same colours.
Image ResampleSmooth(const Image& source, Frame frame, int width, int height, Image* writable) {
  const double ratio = std::max(frame.width / width, frame.height / height);
  const int margin = static_cast<int>(std::ceil(2 * std::max(1.0, ratio))) + 2;
  const int x0 = std::max(0, static_cast<int>(std::floor(frame.x)) - margin);
  const int y0 = std::max(0, static_cast<int>(std::floor(frame.y)) - margin);
  const int x1 =
      std::min(source.width, static_cast<int>(std::ceil(frame.x + frame.width)) + margin);
  const int y1 =
      std::min(source.height, static_cast<int>(std::ceil(frame.y + frame.height)) + margin);
  const int region_width = x1 - x0, region_height = y1 - y0;
  const Rgb* const region = &source.pixels[static_cast<std::size_t>(y0) * source.width + x0];
  // Without transparent pixels the resizer has no alpha to weigh colours by: the fourth channel
  // then passes through as it is, 255.
  bool opaque = true;
  for (int y = 0; y < region_height && opaque; ++y) {
    const Rgb* row = region + static_cast<std::size_t>(y) * source.width;
    opaque = std::all_of(row, row + region_width, [](Rgb p) { return (p & kAlpha) == kAlpha; });
  }
  const auto s = [&](double v, int from, int size) {
    return static_cast<float>((v - from) / size);
  };
  const auto resize = [&](const void* in, int in_stride, void* to, int channels, int alpha) {
    // The resizer fails only when its working memory cannot be allocated.
    if (stbir_resize_region(in, region_width, region_height, in_stride, to, width, height,
                            width * channels, STBIR_TYPE_UINT8, channels, alpha, 0,
                            STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, STBIR_FILTER_CATMULLROM,
                            STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_SRGB, nullptr,
                            s(frame.x, x0, region_width), s(frame.y, y0, region_height),
                            s(frame.x + frame.width, x0, region_width),
                            s(frame.y + frame.height, y0, region_height)) == 0) {
      throw std::bad_alloc();
    }
  };
  Image out(width, height);
  if (!opaque || writable == nullptr) {
    resize(region, source.width * 4, out.pixels.data(), 4, opaque ? STBIR_ALPHA_CHANNEL_NONE : 3);
    return out;
  }
  auto* const packed = reinterpret_cast<std::uint8_t*>(writable->pixels.data());
  for (int y = 0; y < region_height; ++y) {
    PackRgb(region + static_cast<std::size_t>(y) * source.width,
            static_cast<std::size_t>(region_width),
            packed + static_cast<std::size_t>(y) * region_width * 3);
  }
  std::vector<std::uint8_t> rgb(out.pixels.size() * 3);
  resize(packed, region_width * 3, rgb.data(), 3, STBIR_ALPHA_CHANNEL_NONE);
  UnpackRgb(rgb.data(), out.pixels.size(), out.pixels.data(), kAlpha);
  return out;
}

// `frame` of `source` at width x height, each pixel the source pixel under its centre.
Image ResampleNearest(const Image& source, Frame frame, int width, int height) {
  Image out(width, height);
  std::vector<int> columns(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) {
    const double at = frame.x + (x + 0.5) * frame.width / width;
    columns[static_cast<std::size_t>(x)] =
        std::clamp(static_cast<int>(std::floor(at)), 0, source.width - 1);
  }
  for (int y = 0; y < height; ++y) {
    const double at = frame.y + (y + 0.5) * frame.height / height;
    const int row = std::clamp(static_cast<int>(std::floor(at)), 0, source.height - 1);
    for (int x = 0; x < width; ++x)
      out.At(x, y) = source.At(columns[static_cast<std::size_t>(x)], row);
  }
  return out;
}

// `frame` of the source at width x height, from the smallest halving that holds at least one and a
// half times the target's pixels across the frame: a halving is an exact box filter in linear
// light, so the filter after it needs little room to work in.
// `used_up`, when given, holds the source's pictures, which the fit may change.
Image Resample(const FitSource& source, Frame frame, int width, int height, Resampling resampling,
               std::vector<Image>* used_up) {
  if (resampling == Resampling::kNearest) {
    return ResampleNearest(source.picture(), frame, width, height);
  }
  const double ratio = std::min(frame.width / width, frame.height / height);
  std::size_t wanted = 0;
  while (std::ldexp(kLevelRoom, static_cast<int>(wanted) + 1) <= ratio) ++wanted;
  const std::span<const Image> levels = source.levels(wanted);
  const std::size_t level = std::min(wanted, levels.size() - 1);
  const double scale = std::ldexp(1.0, -static_cast<int>(level));
  const Image& from = levels[level];
  Frame scaled{frame.x * scale, frame.y * scale, frame.width * scale, frame.height * scale};
  // The last column or row of a halving may stand for a single one of the picture's.
  scaled.width = std::min(scaled.width, from.width - scaled.x);
  scaled.height = std::min(scaled.height, from.height - scaled.y);
  return ResampleSmooth(from, scaled, width, height,
                        used_up != nullptr ? &(*used_up)[level] : nullptr);
}

// What a JPEG decodes at for the first fit `plan` makes, noting the file's size in `result`.
EighthsFor EighthsOfPlan(const FitPlanFor& plan, DecodedForFit& result) {
  return [&plan, &result](int width, int height) {
    result.source_width = width;
    result.source_height = height;
    result.eighths = plan ? DecodeEighths(width, height, plan(width, height)) : 8;
    return result.eighths;
  };
}

// Pixels of the key colour, and those `key` keys (KeyedPixels) when given, get alpha 0; the others
// full alpha.
void MarkTransparent(Image& picture, const std::optional<ColourKey>& key) {
  std::vector<Rgb>& pixels = picture.pixels;
  if (!key) {
    for (Rgb& p : pixels) p = (p & 0xFFFFFF) == kKeyColour ? kKeyColour : p | kAlpha;
    return;
  }
  const std::vector<std::uint8_t> keyed = KeyedPixels(picture, *key);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const Rgb c = pixels[i] & 0xFFFFFF;
    pixels[i] = c == kKeyColour || keyed[i] != 0 ? c : c | kAlpha;
  }
}

// The last stage of every fit: pixels with less than half their alpha become the key colour, the
// others lose their alpha, and the picture is reduced to 15-bit colour.
Image Finished(Image image, const FitSettings& settings, bool fifteen_bit) {
  for (Rgb& p : image.pixels) p = (p >> 24) < 128 ? kKeyColour : p & 0xFFFFFF;
  ReduceToRgb555(image, settings.dither, settings.strength,
                 fifteen_bit ? ChannelScale::kFifteenBit : ChannelScale::kFull);
  return image;
}

// `settings` applied to `source`, refined for them; `used_up`, when given, holds the source's
// pictures, which the fit may then change.
Image FitOf(const FitSource& source, const FitSettings& settings, std::vector<Image>* used_up) {
  const int sw = source.width(), sh = source.height();
  const Frame whole{0, 0, static_cast<double>(sw), static_cast<double>(sh)};
  Image out;
  switch (settings.mode) {
    case FitMode::kKeep:
      return Finished(source.picture(), settings, source.fifteen_bit());
    case FitMode::kCover:
      if (!TargetAllowed(settings.width, settings.height)) return {};
      out = Resample(source, CoverFrame(sw, sh, settings), settings.width, settings.height,
                     settings.resampling, used_up);
      break;
    case FitMode::kStretch:
      if (!TargetAllowed(settings.width, settings.height)) return {};
      out = Resample(source, whole, settings.width, settings.height, settings.resampling, used_up);
      break;
    case FitMode::kContain: {
      if (!TargetAllowed(settings.width, settings.height)) return {};
      const Placement p = ContainPlacement(sw, sh, settings.width, settings.height);
      const Image inner = Resample(source, whole, p.width, p.height, settings.resampling, used_up);
      out = Image(settings.width, settings.height, (settings.fill & 0xFFFFFF) | kAlpha);
      for (int y = 0; y < p.height; ++y) {
        std::memcpy(&out.At(p.x, p.y + y), &inner.pixels[static_cast<std::size_t>(y) * p.width],
                    sizeof(Rgb) * p.width);
      }
      break;
    }
  }
  return Finished(std::move(out), settings, source.fifteen_bit());
}

}  // namespace

Frame CoverFrame(int source_width, int source_height, const FitSettings& settings) {
  const double scale = std::max(static_cast<double>(settings.width) / source_width,
                                static_cast<double>(settings.height) / source_height) *
                       ZoomOf(settings);
  Frame f;
  f.width = std::min<double>(settings.width / scale, source_width);
  f.height = std::min<double>(settings.height / scale, source_height);
  const double cx = std::clamp(Fraction(settings.focus_x) * source_width, f.width / 2,
                               source_width - f.width / 2);
  const double cy = std::clamp(Fraction(settings.focus_y) * source_height, f.height / 2,
                               source_height - f.height / 2);
  f.x = cx - f.width / 2;
  f.y = cy - f.height / 2;
  return f;
}

Placement ContainPlacement(int source_width, int source_height, int width, int height) {
  const double scale = std::min(static_cast<double>(width) / source_width,
                                static_cast<double>(height) / source_height);
  Placement p;
  p.width = std::clamp(static_cast<int>(std::lround(source_width * scale)), 1, width);
  p.height = std::clamp(static_cast<int>(std::lround(source_height * scale)), 1, height);
  p.x = (width - p.width) / 2;
  p.y = (height - p.height) / 2;
  return p;
}

std::pair<int, int> FittedSize(int source_width, int source_height, const FitSettings& settings) {
  if (settings.mode == FitMode::kKeep) return {source_width, source_height};
  return {settings.width, settings.height};
}

int DecodeEighths(int source_width, int source_height, const FitSettings& settings) {
  if (settings.mode == FitMode::kKeep || settings.resampling == Resampling::kNearest ||
      source_width <= 0 || source_height <= 0 || !TargetAllowed(settings.width, settings.height)) {
    return 8;
  }
  const double sx = static_cast<double>(settings.width) / source_width;
  const double sy = static_cast<double>(settings.height) / source_height;
  // Target pixels per source pixel along the direction that needs the most.
  double scale = std::max(sx, sy);
  if (settings.mode == FitMode::kCover) scale *= ZoomOf(settings);
  if (settings.mode == FitMode::kContain) scale = std::min(sx, sy);
  return std::clamp(static_cast<int>(std::ceil(16 * scale - 1e-9)), 1, 8);
}

std::uint64_t FitPictureBudget(std::uint64_t budget, const FitSettings& settings) {
  if (settings.mode == FitMode::kKeep || budget == kNoBudget) return budget;
  std::uint64_t held = 0;
  if (TargetAllowed(settings.width, settings.height)) {
    held = static_cast<std::uint64_t>(settings.width) * settings.height * kBytesPerPixel;
    if (settings.mode == FitMode::kContain) held *= 2;
  }
  if (held >= budget) return 0;
  const std::uint64_t left = budget - held;
  return settings.resampling == Resampling::kSmooth ? left / 4 * 3 : left;
}

DecodedForFit DecodeForFit(std::span<const std::uint8_t> data, std::uint64_t budget,
                           const FitSettings* settings) {
  if (settings == nullptr) return DecodeForFit(data, budget, FitPlanFor());
  return DecodeForFit(data, budget, [settings](int, int) { return *settings; });
}

DecodedForFit DecodeJpegForFit(const ReadMore& read, std::uint64_t budget, const FitPlanFor& plan) {
  DecodedForFit result;
  result.picture = DecodeJpeg(read, budget, EighthsOfPlan(plan, result));
  if (!result.picture) result.eighths = 8;
  return result;
}

DecodedForFit DecodeForFit(std::span<const std::uint8_t> data, std::uint64_t budget,
                           const FitPlanFor& plan, bool keep) {
  DecodedForFit result;
  if (IsJpeg(data)) {
    result.picture = DecodeJpeg(data, budget, EighthsOfPlan(plan, result));
    if (!result.picture) result.eighths = 8;
    if (result.picture && keep && result.eighths < 8) {
      result.jpeg = std::make_shared<const std::vector<std::uint8_t>>(data.begin(), data.end());
    }
  } else {
    // The skins' own 16-bit BMPs are taken without loss, as a skin's pictures are loaded.
    if (IsBmp16(data)) {
      result.picture = DecodeBmp16(data, budget);
      result.fifteen_bit = static_cast<bool>(result.picture);
    }
    if (!result.picture && result.picture.error() == DecodeError::kUnknownFormat) {
      result.picture = DecodeImage(data, budget);
    }
    if (result.picture) {
      result.source_width = result.picture->width;
      result.source_height = result.picture->height;
    }
  }
  return result;
}

FitSource::FitSource(Image picture, std::optional<ColourKey> key) {
  if (picture.Empty()) return;
  levels_.push_back(std::move(picture));
  SetKey(key);
  fifteen_bit_ = std::all_of(levels_[0].pixels.begin(), levels_[0].pixels.end(),
                             [](Rgb p) { return (p & kAlpha) == 0 || (p & 0x070707) == 0; });
}

FitSource::FitSource(DecodedForFit decoded, std::optional<ColourKey> key, std::uint64_t budget)
    : FitSource(decoded.picture ? std::move(*decoded.picture) : Image(), key) {
  if (Empty() || decoded.eighths >= 8 || !decoded.jpeg) return;
  eighths_ = std::clamp(decoded.eighths, 1, 7);
  jpeg_ = std::move(decoded.jpeg);
  file_width_ = decoded.source_width;
  file_height_ = decoded.source_height;
  budget_ = budget;
}

void FitSource::Refine(const FitSettings& settings) const {
  if (!jpeg_) return;
  const int needed = DecodeEighths(file_width_, file_height_, settings);
  if (needed <= eighths_) return;
  int n = 1;
  while (n < needed) n *= 2;
  // The finer picture is made beside the one it replaces.
  const std::uint64_t held = levels_[0].pixels.size() * kBytesPerPixel * 4 / 3;
  std::optional<Image> finer;
  try {
    Decoded decoded =
        DecodeJpeg(*jpeg_, budget_ > held ? budget_ - held : 0, [n](int, int) { return n; });
    if (decoded) finer = std::move(*decoded);
  } catch (const std::bad_alloc&) {
  }
  if (!finer) {
    jpeg_.reset();
    return;
  }
  MarkTransparent(*finer, key_);
  levels_.assign(1, std::move(*finer));
  eighths_ = n;
  ++revision_;
  if (n >= 8) jpeg_.reset();
}

void FitSource::SetKey(std::optional<ColourKey> key) {
  if (Empty()) return;
  key_ = key;
  MarkTransparent(levels_[0], key);
  levels_.resize(1);
}

std::span<const Image> FitSource::levels(std::size_t deepest) const {
  // Halvings smaller than this in either direction would never be chosen: a fit reads a level
  // only where the frame holds one and a half times the target's pixels.
  constexpr int kSmallest = 8;
  while (!Empty() && levels_.size() <= deepest && levels_.back().width >= 2 * kSmallest &&
         levels_.back().height >= 2 * kSmallest) {
    levels_.push_back(Halve(levels_.back()));
  }
  return levels_;
}

Image FitSource::Fit(const FitSettings& settings) && {
  if (Empty()) return {};
  Refine(settings);
  // The pictures are given up even when the fit fails on the way, as they may be changed by then.
  const auto give_up = [](std::vector<Image>* levels) { levels->clear(); };
  const std::unique_ptr<std::vector<Image>, decltype(give_up)> used_up(&levels_, give_up);
  if (settings.mode == FitMode::kKeep) {
    return Finished(std::move(levels_[0]), settings, fifteen_bit_);
  }
  return FitOf(*this, settings, &levels_);
}

Image FitSource::Fit(const FitSettings& settings) const& {
  if (Empty()) return {};
  Refine(settings);
  return FitOf(*this, settings, nullptr);
}

}  // namespace imaging
