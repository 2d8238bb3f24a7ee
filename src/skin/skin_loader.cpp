// Skin loading. Folder pictures go through LoadSkinBitmap and are dithered; archive pictures are
// decoded as they are, so a 24-bit picture from an archive keeps its exact colours until it is
// saved. Every picture is decoded within what the skin's memory budget leaves, and a failed
// allocation is reported like any other problem of a file.
#include "skin/skin_loader.h"

#include <unzip.h>

#include <algorithm>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "base/code_page.h"
#include "base/file_io.h"
#include "base/paths.h"
#include "imaging/dither.h"
#include "imaging/jpeg_codec.h"
#include "skin/settings_reader.h"

namespace skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Why a picture was not taken. A picture over the budget is the skin's pictures together on a
// skin load, and the one picture on an import (`import`), whatever the others leave for it.
FileProblem ProblemOf(imaging::DecodeError error, bool import) {
  switch (error) {
    case imaging::DecodeError::kTooLarge:
      return FileProblem::kTooLarge;
    case imaging::DecodeError::kOverBudget:
      return import ? FileProblem::kPictureOverBudget : FileProblem::kOverBudget;
    case imaging::DecodeError::kUnknownFormat:
      break;
  }
  return FileProblem::kUnknownFormat;
}

// The picture of a file (imaging::DecodeForFit: the skins' own 16-bit BMPs by their direct route);
// `dither` reduces any other picture to 15-bit colour.
imaging::Decoded DecodePicture(const Bytes& bytes, bool dither, std::uint64_t budget) {
  imaging::DecodedForFit decoded = imaging::DecodeForFit(bytes, budget);
  if (decoded.picture && dither && !decoded.fifteen_bit) imaging::DitherToRgb555(*decoded.picture);
  return std::move(decoded.picture);
}

char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), UpperChar);
  return text;
}

// The slot's picture, or why there is none.
struct Taken {
  std::optional<imaging::Image> image;
  FileProblem problem = FileProblem::kUnknownFormat;
};

Taken Refused(FileProblem problem) { return {std::nullopt, problem}; }

// Decodes `bytes` into `slot`'s picture within the budget. On a skin load (`release_first`) the
// slot's old picture is given up first, so that it does not count beside its replacement and the
// slot is left empty when the new picture cannot be taken; otherwise it is an import.
Taken TakeBytes(SkinDocument& doc, SlotId slot, const Bytes& bytes, bool dither, bool release_first,
                std::uint64_t budget) {
  if (release_first) doc.SetSlot(slot, imaging::Image());
  imaging::Decoded image = DecodePicture(bytes, dither, PictureBudgetFor(doc, slot, budget));
  if (!image) return Refused(ProblemOf(image.error(), !release_first));
  return {std::move(*image), FileProblem::kUnknownFormat};
}

Taken TakeFile(SkinDocument& doc, SlotId slot, const std::string& path, bool release_first,
               std::uint64_t budget) {
  const base::ReadResult file = base::ReadWholeFile(path, kMaxPictureFileBytes);
  if (const std::optional<FileProblem> problem = skin::ProblemOf(file.status)) {
    return Refused(*problem);
  }
  return TakeBytes(doc, slot, file.bytes, true, release_first, budget);
}

// Puts what was taken into the slot, or reports why nothing was. On a skin load
// (`empty_on_failure`) a file that was there but could not be taken leaves the slot empty; a
// missing file always leaves the slot as it was.
bool Place(SkinDocument& doc, SlotId slot, Taken taken, const std::string& name,
           bool empty_on_failure, const MessageTexts& texts, Feedback& feedback) {
  if (!taken.image) {
    if (empty_on_failure && taken.problem != FileProblem::kNotFound) {
      doc.SetSlot(slot, imaging::Image());
    }
    feedback.ShowError(ComposeFileMessage(name, taken.problem, texts));
    return false;
  }
  doc.SetSlot(slot, std::move(*taken.image));
  return true;
}

// One picture load from a file: for a skin load, or for an import (`import`), which keeps the
// slot's picture when the file cannot be taken.
bool LoadFile(SkinDocument& doc, SlotId slot, const std::string& path, const MessageTexts& texts,
              Feedback& feedback, bool import, std::uint64_t budget) {
  Taken taken;
  try {
    taken = TakeFile(doc, slot, path, !import, budget);
  } catch (const std::bad_alloc&) {
    taken = Refused(FileProblem::kOutOfMemory);
  }
  return Place(doc, slot, std::move(taken), path, !import, texts, feedback);
}

std::string_view FilePart(std::string_view name) {
  const std::size_t cut = name.find_last_of("\\/");
  return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperChar(x) == UpperChar(y);
         });
}

// The names the skin's files have in an archive, without their folders.
constexpr std::string_view kSettingsFile = "uisettings.ini";

// True when an entry whose name ends in `file_part` (as stored, before any conversion) can be the
// settings file or one of the slots' pictures. Those names are ASCII, which the DOS page and UTF-8
// both keep as they are, so the stored bytes can be compared.
bool CanBeSkinFile(std::string_view file_part) {
  return SameIgnoringCase(file_part, kSettingsFile) ||
         std::any_of(kSlots.begin(), kSlots.end(), [&](const SlotInfo& slot) {
           return SameIgnoringCase(file_part, FilePart(slot.file));
         });
}

// The archive file as minizip reads it: through base::InputFile, which opens only regular files
// (a named pipe would make the ZIP reader wait for ever) and takes UTF-8 paths on every system.
struct ArchiveFile {
  base::InputFile file;
  std::uint64_t position = 0;
  bool failed = false;
};

voidpf ZCALLBACK OpenArchiveFile(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadArchiveFile(voidpf, voidpf stream, void* buffer, uLong size) {
  auto& f = *static_cast<ArchiveFile*>(stream);
  const std::int64_t n = f.file.ReadAt(f.position, buffer, size);
  if (n < 0) {
    f.failed = true;
    return 0;
  }
  f.position += static_cast<std::uint64_t>(n);
  return static_cast<uLong>(n);
}

uLong ZCALLBACK WriteArchiveFile(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellArchiveFile(voidpf, voidpf stream) {
  return static_cast<ArchiveFile*>(stream)->position;
}

long ZCALLBACK SeekArchiveFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto& f = *static_cast<ArchiveFile*>(stream);
  // Offsets from the current place or the end may be negative: unsigned arithmetic wraps them.
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      f.position = offset;
      return 0;
    case ZLIB_FILEFUNC_SEEK_CUR:
      f.position += offset;
      return 0;
    case ZLIB_FILEFUNC_SEEK_END:
      f.position = f.file.size() + offset;
      return 0;
    default:
      return -1;
  }
}

int ZCALLBACK CloseArchiveFile(voidpf, voidpf) { return 0; }

int ZCALLBACK ArchiveFileError(voidpf, voidpf stream) {
  return static_cast<ArchiveFile*>(stream)->failed ? 1 : 0;
}

// An open archive with the entries that can belong to a skin listed once, in archive order. A
// pack of thousands of files costs only its skin files: the others are not kept, and the names
// that are kept are stored once, as the archive holds them, in one block.
class Archive {
 public:
  struct Entry {
    std::uint32_t name_at = 0;  // in names_
    std::uint16_t name_size = 0;
    bool utf8 = false;      // bit 11 of the general-purpose flags; otherwise the DOS page
    bool supported = true;  // stored or deflated, the two methods the ZIP reader inflates
    std::uint64_t size = 0;
    unz64_file_pos position{};
  };

  explicit Archive(const std::string& path)
      : input_(std::make_unique<ArchiveFile>(ArchiveFile{base::InputFile::Open(path)})) {
    if (!input_->file.is_open()) return;
    zlib_filefunc64_def io{OpenArchiveFile, ReadArchiveFile,  WriteArchiveFile, TellArchiveFile,
                           SeekArchiveFile, CloseArchiveFile, ArchiveFileError, input_.get()};
    file_.reset(unzOpen2_64(path.c_str(), &io));
    if (file_ == nullptr) return;
    // Counted first and then stored, so that the listing takes what it keeps and no more.
    std::size_t count = 0;
    std::size_t name_bytes = 0;
    ListSkinEntries([&](std::string_view raw, const unz_file_info64&) {
      ++count;
      name_bytes += raw.size();
    });
    entries_.reserve(count);
    names_.reserve(name_bytes);
    ListSkinEntries([&](std::string_view raw, const unz_file_info64& info) {
      if (entries_.size() == count || names_.size() + raw.size() > name_bytes) return;
      Entry entry;
      entry.name_at = static_cast<std::uint32_t>(names_.size());
      entry.name_size = static_cast<std::uint16_t>(raw.size());
      entry.utf8 = (info.flag & (1u << 11)) != 0;
      entry.supported = info.compression_method == 0 || info.compression_method == Z_DEFLATED;
      entry.size = info.uncompressed_size;
      unzGetFilePos64(file_.get(), &entry.position);
      names_.append(raw);
      entries_.push_back(entry);
    });
  }

  const std::vector<Entry>& entries() const { return entries_; }

  // The entry's name as the archive stores it.
  std::string_view StoredName(const Entry& entry) const {
    return std::string_view(names_).substr(entry.name_at, entry.name_size);
  }

  // True when the entry's name, without its folders, is `file_part` in any letter case; compared
  // as stored, before the name is converted.
  bool HasFilePart(const Entry& entry, std::string_view file_part) const {
    return SameIgnoringCase(FilePart(StoredName(entry)), file_part);
  }

  // The entry's name converted to UTF-8, with "\" between folders.
  std::string Name(const Entry& entry) const {
    const std::string_view raw = StoredName(entry);
    std::string name = entry.utf8 ? std::string(raw) : base::DecodeAnsi(raw, 437);
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
  }

  // The entry's data, or nothing when it is larger than `max_bytes` (checked before anything is
  // inflated), is compressed with a method the reader does not know (it would hand out the raw
  // bytes), fails to inflate, is longer or shorter than it claims, or fails its CRC check.
  std::optional<Bytes> Extract(const Entry& entry, std::uint64_t max_bytes) {
    if (entry.size > max_bytes || !entry.supported) return std::nullopt;
    unz64_file_pos position = entry.position;
    if (unzGoToFilePos64(file_.get(), &position) != UNZ_OK) return std::nullopt;
    if (unzOpenCurrentFile(file_.get()) != UNZ_OK) return std::nullopt;
    Bytes bytes(static_cast<std::size_t>(entry.size));
    std::size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
      const unsigned chunk =
          static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      const int n = unzReadCurrentFile(file_.get(), bytes.data() + done, chunk);
      if (n <= 0) {
        ok = false;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    std::uint8_t extra;
    if (ok && unzReadCurrentFile(file_.get(), &extra, 1) != 0) ok = false;
    if (unzCloseCurrentFile(file_.get()) != UNZ_OK) ok = false;  // UNZ_CRCERROR among others
    if (!ok) return std::nullopt;
    return bytes;
  }

 private:
  // Calls `take` with the stored name and the information of each of the first kMaxArchiveEntries
  // entries that can be a skin's file, in archive order, the archive positioned on it.
  template <typename Take>
  void ListSkinEntries(Take take) {
    std::size_t looked_at = 0;
    for (int r = unzGoToFirstFile(file_.get()); r == UNZ_OK && looked_at < kMaxArchiveEntries;
         r = unzGoToNextFile(file_.get()), ++looked_at) {
      unz_file_info64 info{};
      char name[1024];
      if (unzGetCurrentFileInfo64(file_.get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
          UNZ_OK) {
        break;
      }
      const std::string_view raw(name, std::min<std::size_t>(info.size_filename, sizeof name - 1));
      if (CanBeSkinFile(FilePart(raw))) take(raw, info);
    }
  }

  struct Closer {
    void operator()(unzFile file) const { unzClose(file); }
  };
  std::unique_ptr<ArchiveFile> input_;  // declared first: the reader below reads through it
  // Owned so that the archive is closed also when listing its entries runs out of memory.
  std::unique_ptr<std::remove_pointer_t<unzFile>, Closer> file_;
  std::vector<Entry> entries_;
  std::string names_;
};

Taken TakeEntry(SkinDocument& doc, SlotId slot, const Archive::Entry& entry, Archive& archive,
                std::uint64_t budget) {
  if (entry.size > kMaxPictureFileBytes) return Refused(FileProblem::kTooLarge);
  if (!entry.supported) return Refused(FileProblem::kUnsupportedCompression);
  const std::optional<Bytes> bytes = archive.Extract(entry, kMaxPictureFileBytes);
  if (!bytes) return Refused(FileProblem::kUnknownFormat);
  return TakeBytes(doc, slot, *bytes, false, true, budget);
}

// Loads one slot from the archive entry whose whole name matches `wanted` without regard to case.
void LoadZipBitmap(SkinDocument& doc, SlotId slot, const std::string& wanted, Archive& archive,
                   const LoadOptions& options, Feedback& feedback) {
  const std::string key = Upper(wanted);
  const std::string_view file_part = FilePart(wanted);
  const auto& entries = archive.entries();
  const auto entry = std::find_if(entries.begin(), entries.end(), [&](const Archive::Entry& e) {
    return archive.HasFilePart(e, file_part) && Upper(archive.Name(e)) == key;
  });
  Taken taken = Refused(FileProblem::kNotFound);
  if (entry != entries.end()) {
    try {
      taken = TakeEntry(doc, slot, *entry, archive, options.picture_budget);
    } catch (const std::bad_alloc&) {
      taken = Refused(FileProblem::kOutOfMemory);
    }
  }
  Place(doc, slot, std::move(taken), wanted, true, options.texts, feedback);
}

// Runs a whole load; an allocation failure outside the pictures' own handling ends it with a
// message instead of ending the program.
template <typename Load>
bool GuardedLoad(Feedback& feedback, const MessageTexts& texts, Load load) {
  try {
    return load();
  } catch (const std::bad_alloc&) {
    feedback.SetProgress(0);
    feedback.ShowError(texts.Of(FileProblem::kOutOfMemory));
    return false;
  }
}

}  // namespace

std::uint64_t PictureBudgetFor(const SkinDocument& doc, SlotId slot, std::uint64_t budget) {
  std::uint64_t used = 0;
  for (std::size_t s = 0; s < kSlotCount; ++s) {
    if (s != Index(slot)) used += doc.slots[s]->pixels.size() * imaging::kBytesPerPixel;
  }
  return used >= budget ? 0 : budget - used;
}

bool LoadSkinBitmap(SkinDocument& doc, SlotId slot, const std::string& path,
                    const MessageTexts& texts, Feedback& feedback, std::uint64_t budget) {
  return LoadFile(doc, slot, path, texts, feedback, false, budget);
}

bool ImportSkinImage(SkinDocument& doc, SlotId slot, const std::string& path,
                     const MessageTexts& texts, Feedback& feedback, std::uint64_t budget) {
  return LoadFile(doc, slot, path, texts, feedback, true, budget);
}

std::optional<imaging::DecodedForFit> ReadPictureForFit(const std::string& path,
                                                        const imaging::FitSettings* settings,
                                                        const MessageTexts& texts,
                                                        Feedback& feedback, std::uint64_t budget) {
  imaging::FitPlanFor plan;
  if (settings != nullptr) plan = [settings](int, int) { return *settings; };
  return ReadPictureForFit(path, plan, false, texts, feedback, budget);
}

std::optional<imaging::DecodedForFit> ReadPictureForFit(const std::string& path,
                                                        const imaging::FitPlanFor& plan, bool keep,
                                                        const MessageTexts& texts,
                                                        Feedback& feedback, std::uint64_t budget) {
  FileProblem problem = FileProblem::kOutOfMemory;
  try {
    // A JPEG that need not be kept is decoded as it is read: a large photo's file is never held
    // beside its picture (and a progressive one's coefficients).
    if (!keep) {
      base::ReadStatus status = base::ReadStatus::kOk;
      const base::InputFile input = base::InputFile::Open(path, &status);
      std::uint8_t head[3] = {};
      if (input.is_open() && input.size() <= kMaxPictureFileBytes &&
          input.ReadAt(0, head, sizeof head) == 3 && imaging::IsJpeg(head)) {
        std::uint64_t at = 0;
        imaging::DecodedForFit decoded = imaging::DecodeJpegForFit(
            [&](std::uint8_t* buffer, std::size_t size) {
              // Never past the size the file had when opened, as a whole read takes it.
              const std::int64_t n = input.ReadAt(
                  at, buffer,
                  static_cast<std::size_t>(std::min<std::uint64_t>(size, input.size() - at)));
              if (n > 0) at += static_cast<std::uint64_t>(n);
              return n;
            },
            budget, plan);
        if (decoded.picture) return decoded;
        problem = ProblemOf(decoded.picture.error(), true);
        feedback.ShowError(ComposeFileMessage(path, problem, texts));
        return std::nullopt;
      }
    }
    const base::ReadResult file = base::ReadWholeFile(path, kMaxPictureFileBytes);
    if (const std::optional<FileProblem> unread = skin::ProblemOf(file.status)) {
      problem = *unread;
    } else {
      imaging::DecodedForFit decoded = imaging::DecodeForFit(file.bytes, budget, plan, keep);
      if (decoded.picture) return decoded;
      problem = ProblemOf(decoded.picture.error(), true);
    }
  } catch (const std::bad_alloc&) {
  }
  feedback.ShowError(ComposeFileMessage(path, problem, texts));
  return std::nullopt;
}

std::optional<imaging::Image> ReadFittedPicture(const std::string& path,
                                                const imaging::FitSettings& settings, bool shrink,
                                                const MessageTexts& texts, Feedback& feedback,
                                                std::uint64_t budget) {
  std::optional<imaging::DecodedForFit> decoded =
      ReadPictureForFit(path, shrink ? &settings : nullptr, texts, feedback,
                        imaging::FitPictureBudget(budget, settings));
  if (!decoded) return std::nullopt;
  try {
    return imaging::FitSource(std::move(*decoded->picture), settings.key).Fit(settings);
  } catch (const std::bad_alloc&) {
    feedback.ShowError(ComposeFileMessage(path, FileProblem::kOutOfMemory, texts));
    return std::nullopt;
  }
}

std::string ProposedImportName(const std::string& last_path, SlotId slot) {
  return base::FolderWithSeparator(last_path) + std::string(Info(slot).BaseName()) + ".bmp";
}

std::string NewSkinFolderStart(const std::string& last_path) {
  if (last_path.empty()) return last_path;
  const std::string folder = base::FolderWithSeparator(last_path);
  if (!base::IsRegularFile(folder + "uisettings.ini")) return last_path;
  const std::string up(base::FolderOf(base::WithoutTrailingSeparator(folder)));
  return up.empty() ? last_path : up;
}

bool OpensAsArchive(const std::string& path) {
  return !path.empty() && !base::IsPathSeparator(path.back()) && !base::IsFolder(path);
}

bool LooksLikeSkin(const std::string& path) {
  return !path.empty() && (base::IsFolder(path) || base::HasExtension(path, ".zip"));
}

bool OpenSkinFolder(SkinDocument& doc, const std::string& folder, const LoadOptions& options,
                    Feedback& feedback) {
  return GuardedLoad(feedback, options.texts, [&] {
    const std::string base = base::FolderWithSeparator(folder);
    const base::ReadResult settings =
        base::ReadWholeFile(base + "uisettings.ini", kMaxSettingsFileBytes);
    if (settings.status != base::ReadStatus::kOk) {
      feedback.ShowError(ComposeFileMessage(folder, FileProblem::kNoSkin, options.texts));
      return false;
    }
    ReadSkinSettings(settings.bytes, doc, options.code_page);
    for (std::size_t s = 0; s < kSlotCount; ++s) {
      feedback.SetProgress(static_cast<int>(s) + 1);
      LoadSkinBitmap(doc, static_cast<SlotId>(s), base + std::string(kSlots[s].file), options.texts,
                     feedback, options.picture_budget);
    }
    feedback.SetProgress(0);
    return true;
  });
}

bool OpenSkinZip(SkinDocument& doc, const std::string& zip_path, const LoadOptions& options,
                 Feedback& feedback) {
  return GuardedLoad(feedback, options.texts, [&] {
    Archive archive(zip_path);
    const auto& entries = archive.entries();
    const auto settings = std::find_if(
        entries.begin(), entries.end(),
        [&](const Archive::Entry& e) { return archive.HasFilePart(e, kSettingsFile); });
    if (settings != entries.end() && !settings->supported) {
      feedback.ShowError(ComposeFileMessage(archive.Name(*settings),
                                            FileProblem::kUnsupportedCompression, options.texts));
      return false;
    }
    std::optional<Bytes> bytes;
    if (settings != entries.end()) bytes = archive.Extract(*settings, kMaxSettingsFileBytes);
    if (!bytes) {
      feedback.ShowError(ComposeFileMessage(zip_path, FileProblem::kNoSkin, options.texts));
      return false;
    }
    const std::string settings_name = archive.Name(*settings);
    const std::string root = settings_name.substr(0, settings_name.find_last_of('\\') + 1);
    ReadSkinSettings(*bytes, doc, options.code_page);
    for (std::size_t s = 0; s < kSlotCount; ++s) {
      feedback.SetProgress(static_cast<int>(s) + 1);
      std::string name(kSlots[s].file);
      std::replace(name.begin(), name.end(), '/', '\\');
      LoadZipBitmap(doc, static_cast<SlotId>(s), root + name, archive, options, feedback);
    }
    feedback.SetProgress(0);
    return true;
  });
}

}  // namespace skin
