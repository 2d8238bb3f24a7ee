// Image: an in-memory picture of 32-bit pixels, and the packed colour form shared by the whole
// program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace imaging {

// A colour packed as red + green * 256 + blue * 65536 (red in the lowest byte). The top byte is
// zero for skin colours; images may use it as an alpha channel. In memory the bytes are R, G, B, A,
// which is the byte order of PNG's RGBA and of QImage::Format_RGBA8888.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
  return static_cast<Rgb>(red & 0xFF) | static_cast<Rgb>(green & 0xFF) << 8 |
         static_cast<Rgb>(blue & 0xFF) << 16;
}
constexpr int RedOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

// `count` pixels as R, G, B bytes, their top bytes dropped. `out` may lie over `in` itself: each
// pixel is read before its bytes are written, and those end no further on than the pixel did.
inline void PackRgb(const Rgb* in, std::size_t count, std::uint8_t* out) {
  for (std::size_t i = 0; i < count; ++i, out += 3) {
    const Rgb p = in[i];
    out[0] = static_cast<std::uint8_t>(RedOf(p));
    out[1] = static_cast<std::uint8_t>(GreenOf(p));
    out[2] = static_cast<std::uint8_t>(BlueOf(p));
  }
}

// `count` R, G, B byte triples as pixels, each with the top byte of `top`.
inline void UnpackRgb(const std::uint8_t* in, std::size_t count, Rgb* out, Rgb top = 0) {
  for (std::size_t i = 0; i < count; ++i, in += 3) out[i] = MakeRgb(in[0], in[1], in[2]) | top;
}

// A width x height picture stored row by row from the top. An empty image (0 x 0) is a valid
// value: it stands for "no picture".
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  Image() = default;
  Image(int w, int h, Rgb fill = 0)
      : width(w),
        height(h),
        pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

  bool Empty() const { return width <= 0 || height <= 0; }
  Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

  friend bool operator==(const Image&, const Image&) = default;
};

// A picture held by value whose copies share one image that nothing changes in place: assigning a
// new picture replaces the shared one. The editor's history keeps earlier states of a skin this
// way without copying their pictures.
class SharedImage {
 public:
  SharedImage() : image_(Empty()) {}
  SharedImage(Image image)  // NOLINT: a picture is stored by giving it
      : image_(std::make_shared<const Image>(std::move(image))) {}

  const Image& operator*() const { return *image_; }
  const Image* operator->() const { return image_.get(); }
  operator const Image&() const { return *image_; }  // NOLINT: reads see the image

  // Whether both hold the very same image, not merely equal ones.
  bool SameAs(const SharedImage& other) const { return image_ == other.image_; }

  // What tells the image again without keeping it alive: once no SharedImage holds it, no
  // SharedImage is the same as it.
  using Witness = std::weak_ptr<const Image>;
  Witness witness() const { return image_; }
  bool SameAs(const Witness& witness) const {
    return !witness.expired() && !witness.owner_before(image_) && !image_.owner_before(witness);
  }

  friend bool operator==(const SharedImage& a, const SharedImage& b) {
    return a.SameAs(b) || *a == *b;
  }

 private:
  static const std::shared_ptr<const Image>& Empty() {
    static const std::shared_ptr<const Image> empty = std::make_shared<const Image>();
    return empty;
  }

  std::shared_ptr<const Image> image_;
};

}  // namespace imaging
