// The skin writer.
#include "skin/skin_saver.h"

#include <cstdio>
#include <new>
#include <vector>

#include "base/file_io.h"
#include "base/paths.h"
#include "base/system.h"
#include "imaging/bmp16.h"
#include "skin/settings_reader.h"
#include "skin/skin_colour.h"

namespace skin {
namespace {

constexpr std::string_view kCrLf = "\r\n";

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("=").append(value).append(kCrLf);
}

}  // namespace

std::string FormatLastUpdate(const std::tm& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d-%02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

std::string CurrentLastUpdate() { return FormatLastUpdate(base::LocalTimeNow()); }

std::string BuildSkinSettingsText(SkinDocument& doc, const SaveOptions& options) {
  if (options.edited_info) {
    doc.info.Title = options.edited_info->Title;
    doc.info.Author = options.edited_info->Author;
    doc.info.eMail = options.edited_info->eMail;
    doc.info.Url = options.edited_info->Url;
  }
  doc.info.LastUpdate = options.last_update;

  std::size_t text_bytes = 0;
  for (const InfoField& field : kInfoFields) text_bytes += (doc.info.*field.text).size();
  std::string out;
  out.reserve(6000 + text_bytes);
  out.append("[SkinInfo]").append(kCrLf);
  for (const InfoField& field : kInfoFields) {
    AppendLine(out, field.key, base::EncodeAnsi(doc.info.*field.text, options.code_page));
  }
  out.append(kCrLf);

  out.append("[global settings]").append(kCrLf);
  for (std::size_t c = 0; c < kColourCount; ++c) {
    AppendLine(out, kColours[c].key, FormatSkinColour(doc.colours[c]));
  }
  out.append(kCrLf);

  for (std::size_t f = 0; f < kFieldCount; ++f) {
    const FieldInfo& field = kFields[f];
    if (f == 0 || kFields[f - 1].section != field.section) {
      out.append("[").append(Info(field.section).name).append("]").append(kCrLf);
    }
    const std::string value = field.kind == FieldKind::kColour
                                  ? FormatSkinColour(static_cast<imaging::Rgb>(doc.fields[f]))
                                  : std::to_string(doc.fields[f]);
    AppendLine(out, field.name, value);
    if (f + 1 == kFieldCount || kFields[f + 1].section != field.section) out.append(kCrLf);
  }
  out.append("[end]").append(kCrLf);
  return out;
}

namespace {

// Encodes `image` and hands the bytes to `write`, a function of them that returns whether they were
// written; a failure is reported under `shown_path`.
template <typename Write>
bool WriteBitmapReporting(const imaging::Image& image, const std::string& shown_path,
                          const MessageTexts& texts, Feedback& feedback, Write write) {
  FileProblem problem = FileProblem::kNotSaved;
  try {
    if (write(imaging::EncodeBmp16(image))) return true;
  } catch (const std::bad_alloc&) {
    problem = FileProblem::kOutOfMemory;
  }
  feedback.ShowError(ComposeFileMessage(shown_path, problem, texts));
  return false;
}

}  // namespace

bool WriteSkinBitmap(const imaging::Image& image, const std::string& path,
                     const MessageTexts& texts, Feedback& feedback) {
  return WriteBitmapReporting(image, path, texts, feedback, [&](const auto& bytes) {
    return base::WriteFileAtomically(path, bytes);
  });
}

namespace {

// Writes uisettings.ini; on any failure the document's information texts are put back.
bool WriteSettings(SkinDocument& doc, const base::Folder& folder, const std::string& shown_folder,
                   const SaveOptions& options, Feedback& feedback) {
  const std::optional<FileProblem> problem =
      WriteSkinSettingsText(doc, options, [&](const std::string& text) {
        return folder.WriteFileAtomically(
            "uisettings.ini", {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
      });
  if (problem) {
    feedback.ShowError(
        ComposeFileMessage(shown_folder + "uisettings.ini", *problem, options.texts));
  }
  return !problem;
}

// The names of the files a save writes into the skin folder (icons = false) or into icon/, whose
// temporaries a killed save may have left there.
std::vector<std::string> SavedNames(bool icons) {
  std::vector<std::string> names;
  if (!icons) names.emplace_back("uisettings.ini");
  for (const SlotInfo& slot : kSlots) {
    if (slot.IsIcon() == icons) names.emplace_back(slot.FileName());
  }
  return names;
}

}  // namespace

int SaveSkin(SkinDocument& doc, const std::string& folder, const SaveOptions& options,
             Feedback& feedback, SavedFiles* saved) {
  const std::string shown_folder = base::FolderWithSeparator(folder);
  SavedFiles files;
  try {
    // The folder is opened once and every file is made relative to it, and to icon/ opened inside
    // it, so that a symbolic link among the skin's entries cannot lead a write elsewhere. The
    // chosen folder itself may be reached through a link.
    const base::Folder skin_folder = base::Folder::Open(shown_folder);
    base::Folder icon_folder;
    skin_folder.RemoveLeftoverTemporaries(SavedNames(false));
    files[0] = WriteSettings(doc, skin_folder, shown_folder, options, feedback);
    int step = 0;
    for (std::size_t s = 0; s < kSlotCount; ++s) {
      if (s == kMainSlotCount) {
        feedback.SetProgress(++step);
        // Whether icon/ exists already, cannot be made or is a symbolic link (which would take the
        // icons out of the skin folder) is not reported here: each icon then fails.
        icon_folder = skin_folder.OpenSub("icon", true);
        icon_folder.RemoveLeftoverTemporaries(SavedNames(true));
      }
      feedback.SetProgress(++step);
      const SlotInfo& slot = kSlots[s];
      const base::Folder& into = slot.IsIcon() ? icon_folder : skin_folder;
      if (WriteBitmapReporting(doc.slots[s], shown_folder + std::string(slot.file), options.texts,
                               feedback, [&](const auto& bytes) {
                                 return into.WriteFileAtomically(slot.FileName(), bytes);
                               })) {
        files[1 + s] = true;
      }
    }
  } catch (const std::bad_alloc&) {
    feedback.ShowError(options.texts.Of(FileProblem::kOutOfMemory));
  }
  feedback.SetProgress(0);
  if (saved != nullptr) *saved = files;
  return static_cast<int>(files.count());
}

}  // namespace skin
