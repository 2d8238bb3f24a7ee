// The skin writer.
#include "skin/skin_saver.h"

#include <cstdio>

#include "imaging/bmp16.h"
#include "imaging/file_io.h"
#include "skin/folder_path.h"
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

  std::string out;
  out.reserve(6000 + doc.info.Title.size() + doc.info.Author.size() + doc.info.eMail.size() +
              doc.info.Url.size());
  out.append("[SkinInfo]").append(kCrLf);
  AppendLine(out, "Title", EncodeAnsi(doc.info.Title, options.code_page));
  AppendLine(out, "Author", EncodeAnsi(doc.info.Author, options.code_page));
  AppendLine(out, "eMail", EncodeAnsi(doc.info.eMail, options.code_page));
  AppendLine(out, "Url", EncodeAnsi(doc.info.Url, options.code_page));
  AppendLine(out, "LastUpdate", EncodeAnsi(doc.info.LastUpdate, options.code_page));
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
  const std::vector<std::uint8_t> bytes = imaging::EncodeBmp16(image);
  if (imaging::WriteFileAtomically(path, bytes)) return true;
  feedback.ShowError(ComposeFileMessage(path, FileProblem::kNotSaved, texts));
  return false;
}

void SaveSkin(SkinDocument& doc, const std::string& folder, const SaveOptions& options,
              Feedback& feedback) {
  const std::string base = FolderWithSeparator(folder);

  const std::string settings_path = base + "uisettings.ini";
  const SkinInfo before = doc.info;
  const std::string text = BuildSkinSettingsText(doc, options);
  if (!imaging::WriteFileAtomically(
          settings_path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
    doc.info = before;
    feedback.ShowError(ComposeFileMessage(settings_path, FileProblem::kNotSaved, options.texts));
  }

  int step = 0;
  for (std::size_t s = 0; s < kSlotCount; ++s) {
    if (s == kMainSlotCount) {
      feedback.SetProgress(++step);
      // Whether icon/ exists already or cannot be made is not reported: each icon then fails.
      imaging::MakeFolder(base + "icon");
    }
    feedback.SetProgress(++step);
    WriteSkinBitmap(doc.slots[s], base + std::string(kSlots[s].file), options.texts, feedback);
  }
  feedback.SetProgress(0);
}

}  // namespace skin
