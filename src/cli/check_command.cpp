// skinsmith-cli check: the skin check, one finding per line or as JSON.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "i18n/ui_texts.h"
#include "session/skin_check.h"

namespace cli {
namespace {

// `text` as a JSON string, quotes included. Bytes from 0x80 up pass as they are: the texts are
// UTF-8.
std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

template <typename T>
std::string JsonOrNull(const std::optional<T>& value) {
  return value ? JsonString(*value) : "null";
}

std::string Message(const session::Finding& f, const i18n::UiTexts& texts) {
  const std::vector<std::string> formatted = session::MessageArgs(f, 0);
  const std::vector<std::string_view> args(formatted.begin(), formatted.end());
  return i18n::FormatText(texts.Text(f.message_key), args);
}

// The quick fix of `f` as the edit the editor's Check tab makes: {"text": ..., "fields": {"x":
// 224}} for fields (named within the finding's section), "colour": "#rrggbb" for a colour,
// "picture": slot for a picture to fit again; null when there is none.
std::string JsonFix(const skin::SkinDocument& doc, const session::Finding& f,
                    const i18n::UiTexts& texts) {
  const std::optional<session::QuickFix> fix = session::QuickFixOf(doc, f);
  if (!fix) return "null";
  std::string out = "{\"text\": " + JsonString(texts.Text(session::FixTextKey(f.fix)));
  if (!fix->fields.empty()) {
    out += ", \"fields\": {";
    for (std::size_t i = 0; i < fix->fields.size(); ++i) {
      if (i > 0) out += ", ";
      out += JsonString(skin::Info(fix->fields[i].field).name) + ": " +
             std::to_string(fix->fields[i].value);
    }
    out += "}";
  }
  if (fix->colour) {
    char code[8];
    std::snprintf(code, sizeof code, "#%06x",
                  static_cast<unsigned>(fix->colour->second & 0xFFFFFF));
    out += ", \"colour\": " + JsonString(code);
  }
  if (fix->fit_picture)
    out += ", \"picture\": " + JsonString(skin::Info(*fix->fit_picture).BaseName());
  return out + "}";
}

std::optional<std::string_view> ColourName(const session::Finding& f) {
  if (!f.colour) return std::nullopt;
  return skin::Info(*f.colour).key;
}
std::optional<std::string_view> SlotName(const session::Finding& f) {
  if (!f.slot) return std::nullopt;
  return skin::Info(*f.slot).BaseName();
}
std::optional<std::string_view> SectionName(const session::Finding& f) {
  if (!f.section) return std::nullopt;
  return skin::Info(*f.section).name;
}
std::optional<std::string_view> FieldName(const session::Finding& f) {
  if (!f.field) return std::nullopt;
  return skin::Info(*f.field).name;
}

// "error legibility screen 5 [start menu] popMenuTextColor: <message>"
std::string Line(const session::Finding& f, const i18n::UiTexts& texts) {
  std::string line = std::string(session::SeverityName(f.severity)) + " " +
                     std::string(session::CodeName(f.code)) +
                     (f.screens.count() == 1 ? " screen " : " screens ") +
                     session::FormatScreens(f.screens);
  if (const auto section = SectionName(f)) line += " [" + std::string(*section) + "]";
  for (const auto& name : {ColourName(f), SlotName(f), FieldName(f)}) {
    if (name) line += " " + std::string(*name);
  }
  return line + ": " + Message(f, texts);
}

std::string Json(const skin::SkinDocument& doc, const std::vector<session::Finding>& findings,
                 const i18n::UiTexts& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const session::Finding& f = findings[i];
    std::string screens;
    for (int s = 0; s < preview::kScreenCount; ++s) {
      if (!f.screens.test(static_cast<std::size_t>(s))) continue;
      if (!screens.empty()) screens += ", ";
      screens += std::to_string(s);
    }
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"severity\": " + JsonString(session::SeverityName(f.severity)) +
           ", \"code\": " + JsonString(session::CodeName(f.code)) + ", \"screens\": [" + screens +
           "], \"colour\": " + JsonOrNull(ColourName(f)) +
           ", \"slot\": " + JsonOrNull(SlotName(f)) +
           ", \"section\": " + JsonOrNull(SectionName(f)) +
           ", \"field\": " + JsonOrNull(FieldName(f)) + ", \"rect\": [" + std::to_string(f.rect.x) +
           ", " + std::to_string(f.rect.y) + ", " + std::to_string(f.rect.width) + ", " +
           std::to_string(f.rect.height) + "], \"message\": " + JsonString(Message(f, texts)) +
           ", \"fix\": " + JsonFix(doc, f, texts) + "}";
  }
  return out + (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int RunCheck(const Arguments& args) {
  std::string skin_path;
  bool use_default = false, json = false;
  for (const std::string& a : args) {
    if (a == "--default") {
      use_default = true;
    } else if (a == "--json") {
      json = true;
    } else if (!a.starts_with("-") && skin_path.empty()) {
      skin_path = a;
    } else {
      return UsageError("check: unexpected argument '" + a + "'");
    }
  }
  if (use_default == !skin_path.empty()) return UsageError("check takes a skin or --default");

  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  StderrFeedback feedback;
  if (!use_default && !OpenSkinOnto(doc, skin_path, feedback)) return kExitFailed;
  const std::vector<session::Finding> findings = session::CheckSkin(doc);
  const i18n::UiTexts texts;
  if (json) {
    std::fputs(Json(doc, findings, texts).c_str(), stdout);
  } else {
    for (const session::Finding& f : findings) {
      std::printf("%s\n", TerminalSafe(Line(f, texts)).c_str());
    }
  }
  return findings.empty() ? kExitOk : kExitMessages;
}

}  // namespace cli
