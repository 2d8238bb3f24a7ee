// 15-bit colour texts of uisettings.ini.
#include "skin/skin_colour.h"

#include <array>
#include <cctype>
#include <string>

namespace skin {

imaging::Rgb ParseSkinColour(std::string_view text) {
  std::string digits;
  digits.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Only a lower-case x forms the prefix; "0X" stays and stops the hexadecimal reading below.
    if (text[i] == '0' && i + 1 < text.size() && text[i + 1] == 'x') {
      ++i;
      continue;
    }
    digits += text[i];
  }
  if (digits.size() > 4) digits.erase(0, digits.size() - 4);
  digits.insert(0, 4 - digits.size(), '0');

  unsigned value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return imaging::MakeRgb((value & 31) << 3, ((value >> 5) & 31) << 3, ((value >> 10) & 31) << 3);
}

std::string FormatSkinColour(imaging::Rgb colour) {
  const unsigned v = (imaging::RedOf(colour) >> 3) | (imaging::GreenOf(colour) >> 3) << 5 |
                     (imaging::BlueOf(colour) >> 3) << 10;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "0x0000";
  for (int i = 0; i < 4; ++i) text[5 - i] = kHex[(v >> (4 * i)) & 15];
  return text;
}

namespace {

bool AllHex(std::string_view digits) {
  for (const char c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return !digits.empty();
}

}  // namespace

std::optional<imaging::Rgb> ParseColourCode(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.starts_with('#')) {
    std::string digits(text.substr(1));
    if ((digits.size() != 3 && digits.size() != 6) || !AllHex(digits)) return std::nullopt;
    // The short form #RGB stands for #RRGGBB, as in CSS.
    if (digits.size() == 3)
      digits = {digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]};
    const unsigned value = static_cast<unsigned>(std::stoul(digits, nullptr, 16));
    // The nearest 5-bit step of each channel, shown as the skin file shows it (31 gives 248).
    const auto step = [](unsigned channel) { return (channel * 31 + 127) / 255 * 8; };
    return imaging::MakeRgb(step(value >> 16 & 0xFF), step(value >> 8 & 0xFF), step(value & 0xFF));
  }
  if (!text.starts_with("0x") && !text.starts_with("0X")) return std::nullopt;
  const std::string_view digits = text.substr(2);
  if (digits.size() > 4 || !AllHex(digits)) return std::nullopt;
  // A typed code with bit 15 set is a mistake (a BMP pixel with its top bit, a slip of a digit):
  // the file's reader ignores that bit, but what is typed must mean one colour.
  if (std::stoul(std::string(digits), nullptr, 16) > 0x7FFF) return std::nullopt;
  return ParseSkinColour("0x" + std::string(digits));
}

}  // namespace skin
