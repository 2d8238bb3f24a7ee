// The skin writer.
#include "skin/skin_saver.h"

#include <cstdio>
#include <new>
#include <vector>

#include "imaging/bmp16.h"
#include "base/file_io.h"
#include "skin/folder_path.h"
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

std::string CurrentLastUpdate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatLastUpdate(local);
}

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
    AppendLine(out, field.key, EncodeAnsi(doc.info.*field.text, options.code_page));
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

bool WriteSkinBitmap(const imaging::Image& image, const std::string& path,
                     const MessageTexts& texts, Feedback& feedback) {
  FileProblem problem = FileProblem::kNotSaved;
  try {
    if (base::WriteFileAtomically(path, imaging::EncodeBmp16(image))) return true;
  } catch (const std::bad_alloc&) {
    problem = FileProblem::kOutOfMemory;
  }
  feedback.ShowError(ComposeFileMessage(path, problem, texts));
  return false;
}

namespace {

// Writes uisettings.ini; on any failure the document's information texts are put back.
bool WriteSettings(SkinDocument& doc, const std::string& path, const SaveOptions& options,
                   Feedback& feedback) {
  const std::optional<FileProblem> problem =
      WriteSkinSettingsText(doc, options, [&](const std::string& text) {
        return base::WriteFileAtomically(
            path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
      });
  if (problem) feedback.ShowError(ComposeFileMessage(path, *problem, options.texts));
  return !problem;
}

// Clears away the temporary files a killed save left in the skin folder and its icon/ folder.
void RemoveLeftovers(const std::string& base) {
  std::vector<std::string> main_names{"uisettings.ini"};
  std::vector<std::string> icon_names;
  for (const SlotInfo& slot : kSlots) {
    const std::string_view file = slot.file;
    if (slot.IsIcon()) {
      icon_names.emplace_back(file.substr(file.rfind('/') + 1));
    } else {
      main_names.emplace_back(file);
    }
  }
  base::RemoveLeftoverTemporaries(base, main_names);
  base::RemoveLeftoverTemporaries(base + "icon/", icon_names);
}

}  // namespace

int SaveSkin(SkinDocument& doc, const std::string& folder, const SaveOptions& options,
             Feedback& feedback) {
  const std::string base = FolderWithSeparator(folder);
  int written = 0;
  try {
    RemoveLeftovers(base);
    written += WriteSettings(doc, base + "uisettings.ini", options, feedback) ? 1 : 0;
    int step = 0;
    for (std::size_t s = 0; s < kSlotCount; ++s) {
      if (s == kMainSlotCount) {
        feedback.SetProgress(++step);
        // Whether icon/ exists already or cannot be made is not reported: each icon then fails.
        base::MakeFolder(base + "icon");
      }
      feedback.SetProgress(++step);
      if (WriteSkinBitmap(doc.slots[s], base + std::string(kSlots[s].file), options.texts,
                          feedback)) {
        ++written;
      }
    }
  } catch (const std::bad_alloc&) {
    feedback.ShowError(options.texts.Of(FileProblem::kOutOfMemory));
  }
  feedback.SetProgress(0);
  return written;
}

}  // namespace skin
