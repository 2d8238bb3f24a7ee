// Writing a skin folder: uisettings.ini and the 53 pictures as 16-bit BMP files.
#pragma once

#include <bitset>
#include <ctime>
#include <new>
#include <optional>
#include <string>

#include "base/code_page.h"
#include "skin/feedback.h"
#include "skin/messages.h"
#include "skin/settings_reader.h"
#include "skin/skin_document.h"

namespace skin {

// The four information texts a save may give the skin in place of the document's own (the editor
// types them into the document as they are edited and passes none).
struct EditedInfo {
  std::string Title;
  std::string Author;
  std::string eMail;
  std::string Url;
};

struct SaveOptions {
  int code_page = base::kDefaultCodePage;
  std::string last_update;  // the LastUpdate stamp, FormatLastUpdate of the time of saving
  std::optional<EditedInfo> edited_info;  // copied into the document before the text is built
  MessageTexts texts;
};

// "yyyy/mm/dd-hh:ii:ss" with two-digit month, day, hour (00-23), minute and second.
std::string FormatLastUpdate(const std::tm& local_time);

// FormatLastUpdate of the current local time.
std::string CurrentLastUpdate();

// Copies the edited information texts into `doc`, sets LastUpdate, and returns the complete
// uisettings.ini: [SkinInfo], [global settings], the 34 element sections and [end], every line
// ended by CR LF, texts encoded in the options' code page (a character it cannot hold becomes "?").
std::string BuildSkinSettingsText(SkinDocument& doc, const SaveOptions& options);

// The settings step that a save and an export share: builds the text (BuildSkinSettingsText, so the
// document's information texts and LastUpdate change) and hands it to `write`, a function of the
// text that returns whether it was written and may throw std::bad_alloc. A text longer than
// kMaxSettingsFileBytes, which no reader would open again, is not handed on. Returns nothing once
// the text is written, otherwise the problem: kSettingsTooLong, kNotSaved when `write` returned
// false, or kOutOfMemory when an allocation failed; the document's information texts are then put
// back as they were.
template <typename Write>
std::optional<FileProblem> WriteSkinSettingsText(SkinDocument& doc, const SaveOptions& options,
                                                 Write write) {
  const SkinInfo before = doc.info;
  FileProblem problem = FileProblem::kNotSaved;
  try {
    const std::string text = BuildSkinSettingsText(doc, options);
    if (text.size() > kMaxSettingsFileBytes) {
      problem = FileProblem::kSettingsTooLong;
    } else if (write(text)) {
      return std::nullopt;
    }
  } catch (const std::bad_alloc&) {
    problem = FileProblem::kOutOfMemory;
  }
  doc.info = before;
  return problem;
}

// Writes `image` as a 16-bit BMP to `path`, replacing the file only once the new one is complete.
// On failure shows "path: <file not saved>" (or the out-of-memory text) and returns false.
bool WriteSkinBitmap(const imaging::Image& image, const std::string& path,
                     const MessageTexts& texts, Feedback& feedback);

// Saves the whole skin into `folder` (created by the caller; a missing trailing separator is
// added): uisettings.ini, the 42 main pictures, the icon/ folder and its 11 icons, with progress 1
// to 54 and then 0. Each file that cannot be written is reported and the save goes on. A settings
// text longer than kMaxSettingsFileBytes, which no reader would open again, is not written and is
// reported. When uisettings.ini is not written the document's information texts stay as they
// were. Temporary files that an earlier, killed save left in the folder and in icon/ are removed
// before their files are written. Nothing is written or removed through a symbolic link inside
// the folder: a file that is a link is replaced by the file, and an icon/ that is a link is left
// alone and its 11 icons are reported as not saved. `folder` itself may be reached through links.
// Returns the number of files written, 0 to 54; `saved`, when given, tells which: bit 0 for
// uisettings.ini, bit 1 + s for the picture of slot s.
using SavedFiles = std::bitset<1 + kSlotCount>;
int SaveSkin(SkinDocument& doc, const std::string& folder, const SaveOptions& options,
             Feedback& feedback, SavedFiles* saved = nullptr);

}  // namespace skin
