// The skin check: draws the fourteen menu states with the record of what drew each pixel and
// reports what will look wrong on the console (texts that cannot be read, highlights that cannot
// be seen, pictures of the wrong size or with stray key green, elements off the screen, values the
// editor cannot show), with the quick fixes that go with them.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "imaging/image.h"
#include "preview/preview.h"
#include "skin/skin_document.h"
#include "skin/skin_tables.h"

namespace session {

enum class Severity { kError, kWarning };

enum class CheckCode {
  kLegibility,           // a text's contrast with what lies beneath it is too low
  kIndistinctHighlight,  // a highlight colour looks like the colour it replaces
  kPictureSize,          // a picture of another size than its slot's leaves a gap or is cut
  kEmptyPicture,         // a screen draws a slot that holds no picture
  kKeyColour,            // key green in a picture that is drawn without a key
  kOffScreen,            // an element is drawn, but no pixel of it shows on any screen
  kOutOfRange,           // a value the editor's gadget cannot show
};

// "error", "warning"; "legibility", "indistinct-highlight", "picture-size", "empty-picture",
// "key-colour", "off-screen", "out-of-range".
std::string_view SeverityName(Severity severity);
std::string_view CodeName(CheckCode code);

// A rectangle on the unscaled preview canvas (266 x 490): the upper screen starts at (5, 5), the
// lower at (5, 293). Inside one screen; width and height 0 when there is no place to show.
struct CanvasRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

// Legibility thresholds, WCAG 2 contrast ratios.
inline constexpr double kIllegibleContrast = 1.5;   // below: error
inline constexpr double kHardToReadContrast = 3.0;  // below: warning
inline constexpr double kLegibleContrast = 4.5;     // what NearestLegibleColour reaches
inline constexpr double kIndistinctContrast = 1.2;  // highlight against the colour it replaces

// A set of menu states, 0 to 13.
using ScreenSet = std::bitset<preview::kScreenCount>;

// One argument of a finding's message: a text as it is, or menu states, which each front end
// numbers as its own screens are numbered.
using MessageArg = std::variant<std::string, ScreenSet>;

// What the quick fix of a finding does.
enum class FixKind {
  kNone,
  kLegibleColour,  // the text's colour becomes the nearest legible one
  kShownValue,  // the field takes the nearest value its gadget shows (and the element draws whole)
  kWholePlace,  // the element moves to the nearest place where it is drawn whole
  kFitPicture,  // the picture is fitted again to the size of its place (the import studio)
};

// One thing the check found. What it concerns (colour key, slot, section, field) is set where it
// applies; the message is a language key with the arguments for its %1, %2, ...
struct Finding {
  Severity severity = Severity::kWarning;
  CheckCode code = CheckCode::kLegibility;
  ScreenSet screens;  // the menu states where it shows
  std::optional<skin::ColourId> colour;
  std::optional<skin::SlotId> slot;
  std::optional<skin::SectionId> section;
  std::optional<skin::FieldId> field;
  CanvasRect rect;  // where to look, on the first of `screens`
  std::string message_key;
  std::vector<MessageArg> message_args;
  FixKind fix = FixKind::kNone;

  friend bool operator==(const Finding&, const Finding&) = default;
};

// The arguments of `finding`'s message as texts, menu states numbered from `first_screen_number`
// (the CLI counts from 0, the editor's screen buttons from 1).
std::vector<std::string> MessageArgs(const Finding& finding, int first_screen_number);

// The language key of the quick-fix button of `fix`; "" for kNone.
std::string_view FixTextKey(FixKind fix);

// One field and the value it takes.
struct FieldValue {
  skin::FieldId field;
  std::int32_t value;
  friend bool operator==(const FieldValue&, const FieldValue&) = default;
};

// A finding's quick fix as the edit it makes: fields set together, a colour set, or a slot whose
// picture the front end fits again to its place through its import (which needs the user).
struct QuickFix {
  std::vector<FieldValue> fields;
  std::optional<std::pair<skin::ColourId, imaging::Rgb>> colour;
  std::optional<skin::SlotId> fit_picture;
  std::optional<skin::SectionId> moves;  // set when `fields` move an element as a whole
  friend bool operator==(const QuickFix&, const QuickFix&) = default;
};

// The quick fix of `finding` on `doc`, worked out now (it may draw the screens a few times);
// none when the finding has no fix or no edit would mend it.
std::optional<QuickFix> QuickFixOf(const skin::SkinDocument& doc, const Finding& finding);

// The value of a position field ("x" or "y" of an element section) nearest to its current value,
// inside the range its gadget shows, at which every drawing the section places on the screens
// that draw it lies wholly on the screen. None for other fields, for an element drawn nowhere,
// and when no such value exists. Draws the screens a few times at most.
std::optional<std::int32_t> NearestWholeValue(const skin::SkinDocument& doc, skin::FieldId field);

// Checks `doc` on all fourteen menu states. Findings come errors first, then by code and by first
// screen; a text colour's findings on several screens are one finding. The work is bounded by the
// screens' size whatever the document holds.
//
// `legibility`: for each text drawn, the contrast ratio between its colour and each pixel that
// touches its visible glyphs (the eight neighbours of every glyph pixel that the text did not
// paint, as the finished screen shows them), as the console's screens show both: at the later
// models' full-scale levels and on the original model's screen (ScreenContrast). The text's
// contrast on each is the 10th percentile of those ratios, so a stray pixel of a picture does not
// decide, but a tenth of the outline that fades does; the worse of the two decides. Error below
// 1.5:1, warning below 3:1. A text that reads (3:1 or more) on the later models everywhere it
// fails is named with the original model (LANG_CHECK_LEGIBILITY_ORIGINAL$).
std::vector<Finding> CheckSkin(const skin::SkinDocument& doc);

// Whether some menu state draws `slot`'s picture without a key, so that key green shows as green:
// the screen backgrounds and a few bars.
bool DrawnWithoutKey(skin::SlotId slot);

// The 15-bit colour (channels multiples of 8) nearest to the current colour of `colour` in OKLab
// whose contrast with what lies beneath the texts of that colour, measured as CheckSkin measures
// it (on both screen models), reaches 4.5:1 on every screen where the key is drawn: the current
// colour when it already does. None when no text of that colour shows on any screen, or when no
// colour reaches 4.5:1 everywhere. Tries all 32768 colours against a few thousand pixels at most.
std::optional<imaging::Rgb> NearestLegibleColour(const skin::SkinDocument& doc,
                                                 skin::ColourId colour);

// The WCAG 2 contrast ratio of two colours, 1 to 21.
double ContrastRatio(imaging::Rgb a, imaging::Rgb b);

// The contrast of two stored colours (channels c x 8) as the console's screens show them, by
// which the check judges texts: the lower of their WCAG 2 ratios at the later models' full-scale
// levels and on the original model's screen (preview::ShownColour).
double ScreenContrast(imaging::Rgb a, imaging::Rgb b);

// The distance of two colours in OKLab.
double OklabDistance(imaging::Rgb a, imaging::Rgb b);

// The screens as a short list: "5", "0, 2-13"; numbered from `first_number` (the editor's screen
// buttons count from 1).
std::string FormatScreens(const std::bitset<preview::kScreenCount>& screens, int first_number = 0);

}  // namespace session
