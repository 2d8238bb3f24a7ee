// The uisettings.ini reader. It runs two passes over the same lines: one for the skin information
// and integer fields, one for colours. The passes know different sets of section headers, and the
// differences are part of the format that existing skins rely on: for the first pass the
// [SkinInfo] section runs on through [global settings]; the colour pass knows only the five
// headers that hold colours, so a colour key keeps counting for the last of those five.
#include "skin/settings_reader.h"

#include <array>
#include <optional>
#include <string>

#include "base/code_page.h"
#include "skin/skin_colour.h"

namespace skin {
namespace {

constexpr char ToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// True when `key` equals `name` with its spaces removed, upper-cased.
bool NormalisedEquals(std::string_view key, std::string_view name) {
  std::size_t i = 0;
  for (char c : name) {
    if (c == ' ') continue;
    if (i >= key.size() || key[i] != ToUpper(c)) return false;
    ++i;
  }
  return i == key.size();
}

// One line as the passes compare it: the key part (before the first "=", spaces removed,
// upper-cased) and the value part (between the first and the second "=").
struct Line {
  std::string key;
  std::string_view value;

  void Set(std::string_view text) {
    key.clear();
    const std::size_t eq = text.find('=');
    for (char c : text.substr(0, eq)) {
      if (c != ' ') key += ToUpper(c);
    }
    if (eq == std::string_view::npos) {
      value = {};
    } else {
      value = text.substr(eq + 1);
      value = value.substr(0, value.find('='));
    }
  }

  bool IsKey(std::string_view name) const { return NormalisedEquals(key, name); }

  bool IsHeader(std::string_view name) const {
    return key.size() >= 2 && key.front() == '[' && key.back() == ']' &&
           NormalisedEquals(std::string_view(key).substr(1, key.size() - 2), name);
  }
};

// Calls `visit` with every line of `bytes`. CR LF, LF and a lone CR end a line; NUL bytes add
// nothing; a last line without a line end is dropped.
template <typename Visit>
void ForEachLine(std::span<const std::uint8_t> bytes, Visit visit) {
  std::string line;
  Line parsed;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint8_t b = bytes[i];
    if (b == '\r' || b == '\n') {
      parsed.Set(line);
      visit(parsed);
      line.clear();
      if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (b != 0) {
      line += static_cast<char>(b);
    }
  }
}

// Index of the first field of each section; a section's fields follow each other in the table.
constexpr std::array<std::size_t, kSectionCount> kFirstField = [] {
  std::array<std::size_t, kSectionCount> first{};
  for (std::size_t f = kFieldCount; f-- > 0;) first[Index(kFields[f].section)] = f;
  return first;
}();

constexpr std::size_t FirstField(SectionId section) { return kFirstField[Index(section)]; }

constexpr std::size_t kInfoCount = kInfoFields.size();

std::array<std::string*, kInfoCount> InfoTexts(SkinInfo& info) {
  std::array<std::string*, kInfoCount> texts{};
  for (const InfoField& field : kInfoFields) texts[Index(field.id)] = &(info.*field.text);
  return texts;
}

// The first pass's current section: none, [SkinInfo], an element section, or [end].
enum class Current { kNone, kSkinInfo, kElement, kEnd };

void ReadElementPass(std::span<const std::uint8_t> bytes, SkinDocument& doc, int code_page) {
  std::int32_t& handle_x = doc.Field(FieldId::file_handle_menu_x);
  std::int32_t& handle_y = doc.Field(FieldId::file_handle_menu_y);
  // -1 marks "not read yet": for these two the first line in the file wins.
  handle_x = -1;
  handle_y = -1;

  std::array<std::string*, kInfoCount> texts = InfoTexts(doc.info);
  // Texts set by this file hold raw code-page bytes until the end.
  std::array<bool, kInfoCount> raw{};
  // Leading spaces taken off each text so far; they are cut off once at the end, so that a long
  // run of lines costs no more than reading them.
  std::array<std::size_t, kInfoCount> stripped{};

  Current current = Current::kNone;
  SectionId section{};
  ForEachLine(bytes, [&](const Line& line) {
    if (!line.key.empty() && line.key.front() == '[') {
      if (line.IsHeader("SkinInfo")) {
        current = Current::kSkinInfo;
      } else if (line.IsHeader("end")) {
        current = Current::kEnd;
      } else {
        for (std::size_t s = 0; s < kSectionCount; ++s) {
          if (line.IsHeader(kSections[s].name)) {
            current = Current::kElement;
            section = static_cast<SectionId>(s);
            break;
          }
        }
      }
    }

    if (current == Current::kSkinInfo) {
      for (std::size_t i = 0; i < kInfoCount; ++i) {
        if (line.IsKey(kInfoFields[i].key)) {
          texts[i]->assign(line.value);
          raw[i] = true;
          stripped[i] = 0;
        }
      }
      // Every line read while [SkinInfo] is current takes one leading space off each text.
      for (std::size_t i = 0; i < kInfoCount; ++i) {
        if (stripped[i] < texts[i]->size() && (*texts[i])[stripped[i]] == ' ') ++stripped[i];
      }
    } else if (current == Current::kElement) {
      for (std::size_t f = FirstField(section); f < kFieldCount && kFields[f].section == section;
           ++f) {
        const FieldInfo& field = kFields[f];
        if (field.kind != FieldKind::kInteger || !line.IsKey(field.name)) continue;
        std::int32_t& target = doc.fields[f];
        if ((&target == &handle_x || &target == &handle_y) && target != -1) continue;
        target = ParseSkinNumber(line.value);
      }
    }
  });

  if (handle_x == -1) handle_x = 0;
  if (handle_y == -1) handle_y = 0;
  for (std::size_t i = 0; i < kInfoCount; ++i) {
    texts[i]->erase(0, stripped[i]);
    if (raw[i]) *texts[i] = base::DecodeAnsi(*texts[i], code_page);
  }
}

void ReadColourPass(std::span<const std::uint8_t> bytes, SkinDocument& doc) {
  constexpr std::array<SectionId, 4> kColourSections{SectionId::start_button, SectionId::main_list,
                                                     SectionId::folder_text, SectionId::time_text};
  enum class ColourSection { kNone, kGlobal, kElement };
  ColourSection current = ColourSection::kNone;
  SectionId section{};
  std::string value;
  ForEachLine(bytes, [&](const Line& line) {
    if (!line.key.empty() && line.key.front() == '[') {
      if (line.IsHeader("global settings")) {
        current = ColourSection::kGlobal;
      } else {
        for (SectionId s : kColourSections) {
          if (line.IsHeader(Info(s).name)) {
            current = ColourSection::kElement;
            section = s;
            break;
          }
        }
      }
    }
    if (current == ColourSection::kNone) return;

    auto parse = [&] {
      value.clear();
      for (char c : line.value) {
        if (c != ' ') value += c;
      }
      return ParseSkinColour(value);
    };
    if (current == ColourSection::kGlobal) {
      for (std::size_t c = 0; c < kColourCount; ++c) {
        if (line.IsKey(kColours[c].key)) {
          doc.colours[c] = parse();
          return;
        }
      }
    } else {
      for (std::size_t f = FirstField(section); f < kFieldCount && kFields[f].section == section;
           ++f) {
        const FieldInfo& field = kFields[f];
        if (field.kind == FieldKind::kColour && line.IsKey(field.name)) {
          doc.fields[f] = static_cast<std::int32_t>(parse());
          return;
        }
      }
    }
  });
}

}  // namespace

std::int32_t ParseSkinNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }
  std::uint32_t value = 0;  // unsigned, so that overlong numbers wrap instead of overflowing
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      break;
    }
    if (digit >= base) break;
    value = value * base + digit;
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

void ReadSkinSettings(std::span<const std::uint8_t> bytes, SkinDocument& doc, int code_page) {
  ReadElementPass(bytes, doc, code_page);
  ReadColourPass(bytes, doc);
}

}  // namespace skin
