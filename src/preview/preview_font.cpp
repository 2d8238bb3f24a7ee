// Text drawing through FreeType. The face is opened once per process from the compiled-in font
// file, and each glyph is rendered once and kept: a redraw only copies pixels.
#include "preview/preview_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "assets/embedded.h"

namespace preview {
namespace {

struct Glyph {
  int advance = 0;
  int left = 0;  // from the pen position
  int top = 0;   // from the cell's top
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> ink;  // width x height, 1 where the glyph paints
};

class Font {
 public:
  Font() {
    const auto data = assets::FindEmbeddedFile("quillmark.ttf");
    if (FT_Init_FreeType(&library_) != 0) return;
    if (FT_New_Memory_Face(library_, data.data(), static_cast<FT_Long>(data.size()), 0, &face_) !=
        0) {
      face_ = nullptr;
      return;
    }
    FT_Set_Pixel_Sizes(face_, 0, 8);
    ascent_ = static_cast<int>(face_->size->metrics.ascender >> 6);
  }
  ~Font() {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const Glyph& Get(char32_t code) {
    const auto found = cache_.find(code);
    if (found != cache_.end()) return found->second;
    Glyph& glyph = cache_[code];
    if (face_ == nullptr ||
        FT_Load_Char(face_, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_NO_HINTING) != 0) {
      return glyph;
    }
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = static_cast<int>(slot->advance.x >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = ascent_ - slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.ink.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    for (int y = 0; y < glyph.height; ++y) {
      const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
      for (int x = 0; x < glyph.width; ++x) {
        glyph.ink[static_cast<std::size_t>(y) * glyph.width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
      }
    }
    return glyph;
  }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  int ascent_ = 0;
  std::unordered_map<char32_t, Glyph> cache_;
};

Font& ThePreviewFont() {
  static Font font;
  return font;
}

// Decodes UTF-8; a malformed byte stands for itself (as Latin-1).
std::u32string Decode(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int n = c < 0x80             ? 1
                  : (c & 0xE0) == 0xC0 ? 2
                  : (c & 0xF0) == 0xE0 ? 3
                  : (c & 0xF8) == 0xF0 ? 4
                                       : 0;
    if (n <= 1 || i + n > text.size()) {
      out += static_cast<char32_t>(c);
      ++i;
      continue;
    }
    char32_t code = c & (0x7F >> n);
    bool ok = true;
    for (int k = 1; k < n; ++k) {
      const auto d = static_cast<unsigned char>(text[i + k]);
      ok = ok && (d & 0xC0) == 0x80;
      code = (code << 6) | (d & 0x3F);
    }
    if (!ok) {
      out += static_cast<char32_t>(c);
      ++i;
      continue;
    }
    out += code;
    i += n;
  }
  return out;
}

int Width(const std::u32string& text) {
  int width = 0;
  for (char32_t c : text) width += ThePreviewFont().Get(c).advance;
  return width;
}

std::string Encode(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

int TextWidth(std::string_view text) { return Width(Decode(text)); }

namespace {

// DrawText for a target that records (kRecording) or not.
template <bool kRecording>
void DrawGlyphs(const Target& target, Coord x, Coord y, std::string_view text, Ink ink) {
  imaging::Image& image = target.image();
  const Source tag = target.Tag(SourceKind::kText, ink.key);
  // The box of the glyphs' ink, listed when recording.
  Coord left = 0, top = 0, right = 0, bottom = 0;
  bool inked = false;
  Coord pen = x;
  for (char32_t c : Decode(text)) {
    const Glyph& glyph = ThePreviewFont().Get(c);
    if (kRecording && glyph.width > 0 && glyph.height > 0) {
      const Coord gx = pen + glyph.left, gy = y + glyph.top;
      left = inked ? std::min(left, gx) : gx;
      top = inked ? std::min(top, gy) : gy;
      right = inked ? std::max(right, gx + glyph.width) : gx + glyph.width;
      bottom = inked ? std::max(bottom, gy + glyph.height) : gy + glyph.height;
      inked = true;
    }
    for (int j = 0; j < glyph.height; ++j) {
      const Coord ty = y + glyph.top + j;
      if (ty < 0 || ty >= image.height) continue;
      Source* record = kRecording ? target.RecordRow(ty) : nullptr;
      for (int i = 0; i < glyph.width; ++i) {
        const Coord tx = pen + glyph.left + i;
        if (tx < 0 || tx >= image.width ||
            !glyph.ink[static_cast<std::size_t>(j) * glyph.width + i])
          continue;
        image.At(static_cast<int>(tx), static_cast<int>(ty)) = ink.rgb;
        if (kRecording) record[tx] = tag;
      }
    }
    pen += glyph.advance;
  }
  if (kRecording) {
    if (!inked) left = right = x, top = bottom = y;
    target.Log({tag, left, top, right - left, bottom - top, 0, 0, true, false, ink.rgb});
  }
}

}  // namespace

void DrawText(const Target& target, Coord x, Coord y, std::string_view text, Ink ink) {
  if (target.Recording()) {
    DrawGlyphs<true>(target, x, y, text, ink);
  } else {
    DrawGlyphs<false>(target, x, y, text, ink);
  }
}

std::string FitText(std::string_view text, Coord limit) {
  std::u32string chars = Decode(text);
  if (chars.empty()) return {};
  chars.pop_back();
  while (!chars.empty() && Width(chars) >= limit) chars.pop_back();
  return Encode(chars);
}

}  // namespace preview
