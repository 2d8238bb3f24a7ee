// Fuzz target: a picture fitted into a slot. The first 48 bytes choose the settings (24 more a
// key's tolerance and place), any values at all (sizes beyond the limits, focus, zoom and
// tolerance that are not numbers); the rest is a picture
// file, decoded at the scale the settings allow. Whatever is fitted has the size it should have
// and 15-bit colour.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/picture_fit.h"

namespace {

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    size -= sizeof value;
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  imaging::FitSettings s;
  // Small targets mostly, so that the fits stay quick; now and then any number.
  const auto side = [&] {
    const std::int32_t raw = Take<std::int32_t>(data, size);
    return (raw & 0x10000) != 0 ? raw : raw % 300;
  };
  s.width = side();
  s.height = side();
  const std::uint8_t choices = Take<std::uint8_t>(data, size);
  s.mode = static_cast<imaging::FitMode>(choices & 3);
  s.resampling = static_cast<imaging::Resampling>((choices >> 2) & 1);
  s.dither = static_cast<imaging::DitherKind>((choices >> 3) & 3);
  if ((choices & 0x20) != 0) {
    imaging::ColourKey key;
    key.colour = Take<std::uint32_t>(data, size);
    key.tolerance = Take<double>(data, size);
    key.connected = (choices & 0x40) != 0;
    key.x = Take<double>(data, size);
    key.y = Take<double>(data, size);
    s.key = key;
  }
  s.strength = Take<std::int8_t>(data, size);
  s.fill = Take<std::uint32_t>(data, size);
  s.focus_x = Take<double>(data, size);
  s.focus_y = Take<double>(data, size);
  s.zoom = Take<double>(data, size);
  const std::vector<std::uint8_t> bytes(data, data + size);
  imaging::DecodedForFit decoded = imaging::DecodeForFit(bytes, 64ull * 1024 * 1024, &s);
  if (!decoded.picture) return 0;
  const int w = decoded.picture->width, h = decoded.picture->height;
  const imaging::FitSource source(std::move(*decoded.picture), s.key);
  const imaging::Image fitted = source.Fit(s);
  if (fitted.Empty()) return 0;
  const auto [fw, fh] = imaging::FittedSize(w, h, s);
  if (fitted.width != fw || fitted.height != fh) std::abort();
  for (const imaging::Rgb p : fitted.pixels) {
    if (p & ~0xF8F8F8u) std::abort();
  }
  return 0;
}
