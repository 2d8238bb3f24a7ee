// Skin loading. Folder pictures go through LoadSkinBitmap and are dithered; archive pictures are
// decoded as they are, so a 24-bit picture from an archive keeps its exact colours until it is
// saved.
#include "skin/skin_loader.h"

#include <unzip.h>

#include <algorithm>
#include <vector>

#include "imaging/bmp16.h"
#include "imaging/dither.h"
#include "imaging/file_io.h"
#include "imaging/image_decoder.h"
#include "skin/code_page.h"
#include "skin/folder_path.h"
#include "skin/settings_reader.h"

namespace skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The direct route for the skins' own 16-bit BMPs, the general decoder for everything else.
// `dither` reduces a generally decoded picture to 15-bit colour.
std::optional<imaging::Image> DecodePicture(const Bytes& bytes, bool dither) {
  if (imaging::IsBmp16(bytes)) {
    if (std::optional<imaging::Image> direct = imaging::DecodeBmp16(bytes)) return direct;
  }
  std::optional<imaging::Image> image = imaging::DecodeImage(bytes);
  if (image && dither) imaging::DitherToRgb555(*image);
  return image;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// One picture load from a file. `keep_on_failure`: whether an undecodable file leaves the slot's
// picture in place (an import) or empties the slot (a skin load).
bool LoadFile(SkinDocument& doc, SlotId slot, const std::string& path, const MessageTexts& texts,
              Feedback& feedback, bool keep_on_failure) {
  imaging::ReadResult file = imaging::ReadWholeFile(path, kMaxPictureFileBytes);
  if (file.status == imaging::ReadStatus::kCannotOpen) {
    feedback.ShowError(ComposeFileMessage(path, FileProblem::kNotFound, texts));
    return false;
  }
  std::optional<imaging::Image> image;
  if (file.status == imaging::ReadStatus::kOk) image = DecodePicture(file.bytes, true);
  if (!image) {
    if (!keep_on_failure) doc.Slot(slot) = imaging::Image();
    feedback.ShowError(ComposeFileMessage(path, FileProblem::kUnknownFormat, texts));
    return false;
  }
  doc.Slot(slot) = std::move(*image);
  return true;
}

// An open archive with its entries listed once, in archive order.
class Archive {
 public:
  struct Entry {
    std::string name;  // converted to UTF-8, "\" between folders
    std::uint64_t size = 0;
    unz64_file_pos position{};
  };

  explicit Archive(const std::string& path) : file_(unzOpen64(path.c_str())) {
    if (file_ == nullptr) return;
    for (int r = unzGoToFirstFile(file_); r == UNZ_OK; r = unzGoToNextFile(file_)) {
      unz_file_info64 info{};
      char name[1024];
      if (unzGetCurrentFileInfo64(file_, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
          UNZ_OK) {
        break;
      }
      Entry entry;
      const std::string raw(name, std::min<std::size_t>(info.size_filename, sizeof name - 1));
      // Bit 11 of the general-purpose flags marks UTF-8 names; older archives use the DOS page.
      entry.name = (info.flag & (1u << 11)) ? raw : DecodeAnsi(raw, 437);
      std::replace(entry.name.begin(), entry.name.end(), '/', '\\');
      entry.size = info.uncompressed_size;
      unzGetFilePos64(file_, &entry.position);
      entries_.push_back(std::move(entry));
    }
  }
  ~Archive() {
    if (file_ != nullptr) unzClose(file_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool Open() const { return file_ != nullptr; }
  const std::vector<Entry>& entries() const { return entries_; }

  // The entry's data, or nothing when it is larger than `max_bytes`, fails to inflate, is longer
  // or shorter than it claims, or fails its CRC check.
  std::optional<Bytes> Extract(const Entry& entry, std::uint64_t max_bytes) {
    if (entry.size > max_bytes) return std::nullopt;
    unz64_file_pos position = entry.position;
    if (unzGoToFilePos64(file_, &position) != UNZ_OK) return std::nullopt;
    if (unzOpenCurrentFile(file_) != UNZ_OK) return std::nullopt;
    Bytes bytes(static_cast<std::size_t>(entry.size));
    std::size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
      const unsigned chunk =
          static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      const int n = unzReadCurrentFile(file_, bytes.data() + done, chunk);
      if (n <= 0) {
        ok = false;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    std::uint8_t extra;
    if (ok && unzReadCurrentFile(file_, &extra, 1) != 0) ok = false;
    if (unzCloseCurrentFile(file_) != UNZ_OK) ok = false;  // UNZ_CRCERROR among others
    if (!ok) return std::nullopt;
    return bytes;
  }

 private:
  unzFile file_;
  std::vector<Entry> entries_;
};

std::string FilePart(const std::string& name) {
  const std::size_t cut = name.find_last_of("\\/");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

// Loads one slot from the archive entry whose whole name matches `wanted` without regard to case.
void LoadZipBitmap(SkinDocument& doc, SlotId slot, const std::string& wanted, Archive& archive,
                   const MessageTexts& texts, Feedback& feedback) {
  const std::string key = Upper(wanted);
  const auto& entries = archive.entries();
  const auto entry = std::find_if(entries.begin(), entries.end(),
                                  [&](const Archive::Entry& e) { return Upper(e.name) == key; });
  if (entry == entries.end()) {
    feedback.ShowError(ComposeFileMessage(wanted, FileProblem::kNotFound, texts));
    return;
  }
  std::optional<imaging::Image> image;
  if (std::optional<Bytes> bytes = archive.Extract(*entry, kMaxPictureFileBytes)) {
    image = DecodePicture(*bytes, false);
  }
  if (!image) {
    doc.Slot(slot) = imaging::Image();
    feedback.ShowError(ComposeFileMessage(wanted, FileProblem::kUnknownFormat, texts));
    return;
  }
  doc.Slot(slot) = std::move(*image);
}

}  // namespace

bool LoadSkinBitmap(SkinDocument& doc, SlotId slot, const std::string& path,
                    const MessageTexts& texts, Feedback& feedback) {
  return LoadFile(doc, slot, path, texts, feedback, false);
}

bool ImportSkinImage(SkinDocument& doc, SlotId slot, const std::string& path,
                     const MessageTexts& texts, Feedback& feedback) {
  return LoadFile(doc, slot, path, texts, feedback, true);
}

std::string ProposedImportName(const std::string& last_path, SlotId slot) {
  return FolderWithSeparator(last_path) + std::string(Info(slot).BaseName()) + ".bmp";
}

bool OpenSkinFolder(SkinDocument& doc, const std::string& folder, const LoadOptions& options,
                    Feedback& feedback) {
  const std::string base = FolderWithSeparator(folder);
  const imaging::ReadResult settings =
      imaging::ReadWholeFile(base + "uisettings.ini", kMaxSettingsFileBytes);
  if (settings.status != imaging::ReadStatus::kOk) {
    feedback.ShowError(options.texts.no_skin_settings);
    return false;
  }
  ReadSkinSettings(settings.bytes, doc, options.code_page);
  for (std::size_t s = 0; s < kSlotCount; ++s) {
    feedback.SetProgress(static_cast<int>(s) + 1);
    LoadSkinBitmap(doc, static_cast<SlotId>(s), base + std::string(kSlots[s].file), options.texts,
                   feedback);
  }
  feedback.SetProgress(0);
  return true;
}

bool OpenSkinZip(SkinDocument& doc, const std::string& zip_path, const LoadOptions& options,
                 Feedback& feedback) {
  Archive archive(zip_path);
  const auto& entries = archive.entries();
  const auto settings = std::find_if(entries.begin(), entries.end(), [](const Archive::Entry& e) {
    return Upper(FilePart(e.name)) == "UISETTINGS.INI";
  });
  std::optional<Bytes> bytes;
  if (settings != entries.end()) bytes = archive.Extract(*settings, kMaxSettingsFileBytes);
  if (!bytes) {
    feedback.ShowError(options.texts.no_skin_settings);
    return false;
  }
  const std::string root =
      settings->name.substr(0, settings->name.size() - FilePart(settings->name).size());
  ReadSkinSettings(*bytes, doc, options.code_page);
  for (std::size_t s = 0; s < kSlotCount; ++s) {
    feedback.SetProgress(static_cast<int>(s) + 1);
    std::string name(kSlots[s].file);
    std::replace(name.begin(), name.end(), '/', '\\');
    LoadZipBitmap(doc, static_cast<SlotId>(s), root + name, archive, options.texts, feedback);
  }
  feedback.SetProgress(0);
  return true;
}

}  // namespace skin
