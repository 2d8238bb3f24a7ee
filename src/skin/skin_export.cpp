// The skin exporter: the skin folder and its preview packed into one ZIP archive with minizip.
#include "skin/skin_export.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "base/code_page.h"
#include "base/file_io.h"
#include "base/paths.h"
#include "imaging/bmp16.h"
#include "imaging/png_codec.h"
#include "skin/settings_reader.h"

namespace skin {
namespace {

constexpr std::size_t kMaxFolderNameBytes = 64;

void TrimBlanksAndDots(std::string& name) {
  const std::size_t first = name.find_first_not_of(" .");
  if (first == std::string::npos) {
    name.clear();
    return;
  }
  name.erase(name.find_last_not_of(" .") + 1);
  name.erase(0, first);
}

// The name upper-cased as a case-insensitive file system compares it: ASCII letters, and the
// four other characters whose case partners are ASCII letters (dotted I, dotless i, long s and
// the Kelvin sign) taken as those letters.
std::string FoldCase(std::string_view name) {
  std::string folded;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const std::string_view rest = name.substr(i);
    if (rest.starts_with("\xC4\xB0") || rest.starts_with("\xC4\xB1")) {
      folded += 'I';
      ++i;
    } else if (rest.starts_with("\xC5\xBF")) {
      folded += 'S';
      ++i;
    } else if (rest.starts_with("\xE2\x84\xAA")) {
      folded += 'K';
      i += 2;
    } else {
      folded += static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    }
  }
  return folded;
}

std::string CleanFolderName(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = base::Utf8CharLength(text.substr(i));
      if (length == 0) {
        name += '_';
        ++i;
      } else {
        name.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    const bool forbidden = c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr;
    name += forbidden ? '_' : static_cast<char>(c);
    ++i;
  }
  TrimBlanksAndDots(name);
  if (name.size() > kMaxFolderNameBytes) {
    std::size_t cut = kMaxFolderNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.erase(cut);
    TrimBlanksAndDots(name);
  }
  // A device name, or the name of the preview beside the folder in any letter case, gets "_" after
  // its first part, before the blanks and the dot that follow it.
  std::size_t base_end = std::min(name.find('.'), name.size());
  while (base_end > 0 && name[base_end - 1] == ' ') --base_end;
  if (base::IsDeviceName(std::string_view(name).substr(0, base_end)) ||
      FoldCase(name) == FoldCase(kPreviewEntry)) {
    name.insert(base_end, "_");
  }
  return name;
}

// The archive's file name without its folder and without a ".zip" ending in any letter case.
std::string_view ArchiveStem(std::string_view zip_path) {
  std::string_view name = base::FileNameOf(zip_path);
  if (base::HasExtension(name, ".zip")) name.remove_suffix(4);
  return name;
}

// An archive growing in memory behind minizip's file interface. minizip writes each entry's
// header and data and then seeks back to fill in its sizes and CRC, so writes may land anywhere.
struct MemoryFile {
  std::vector<std::uint8_t> bytes;
  std::uint64_t position = 0;
  bool failed = false;
};

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
  auto& file = *static_cast<MemoryFile*>(stream);
  if (file.position >= file.bytes.size()) return 0;
  const std::uint64_t n = std::min<std::uint64_t>(size, file.bytes.size() - file.position);
  std::memcpy(buffer, file.bytes.data() + file.position, n);
  file.position += n;
  return static_cast<uLong>(n);
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf stream, const void* buffer, uLong size) {
  auto& file = *static_cast<MemoryFile*>(stream);
  try {
    if (file.position + size > file.bytes.size()) file.bytes.resize(file.position + size);
  } catch (const std::bad_alloc&) {
    file.failed = true;
    return 0;
  }
  std::memcpy(file.bytes.data() + file.position, buffer, size);
  file.position += size;
  return size;
}

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) {
  return static_cast<MemoryFile*>(stream)->position;
}

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto& file = *static_cast<MemoryFile*>(stream);
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      file.position = offset;
      return 0;
    case ZLIB_FILEFUNC_SEEK_CUR:
      file.position += offset;
      return 0;
    case ZLIB_FILEFUNC_SEEK_END:
      file.position = file.bytes.size() + offset;
      return 0;
    default:
      return -1;
  }
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }

int ZCALLBACK MemoryError(voidpf, voidpf stream) {
  return static_cast<MemoryFile*>(stream)->failed ? 1 : 0;
}

// The entries' date and time: the LastUpdate stamp "yyyy/mm/dd-hh:ii:ss", or the earliest time a
// ZIP archive can hold when the stamp cannot be read or lies outside 1980 to 2107.
zip_fileinfo EntryInfo(const std::string& last_update) {
  zip_fileinfo info{};
  info.tmz_date = {0, 0, 0, 1, 0, 1980};
  unsigned year, month, day, hour, minute, second;
  if (std::sscanf(last_update.c_str(), "%4u/%2u/%2u-%2u:%2u:%2u", &year, &month, &day, &hour,
                  &minute, &second) == 6 &&
      year >= 1980 && year <= 2107 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
      hour < 24 && minute < 60 && second < 60) {
    info.tmz_date = {second, minute, hour, day, month - 1, year};
  }
  return info;
}

bool AddEntry(zipFile zip, const std::string& name, std::span<const std::uint8_t> data,
              const zip_fileinfo& info) {
  // Bit 11 of the general-purpose flags marks a UTF-8 name; without it readers take the DOS page.
  const bool utf8 = std::any_of(name.begin(), name.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (zipOpenNewFileInZip4_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_BEST_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                              nullptr, 0, 0, utf8 ? 1u << 11 : 0u, 0) != ZIP_OK) {
    return false;
  }
  bool ok = true;
  for (std::size_t done = 0; ok && done < data.size();) {
    const unsigned chunk =
        static_cast<unsigned>(std::min<std::size_t>(data.size() - done, 1 << 24));
    ok = zipWriteInFileInZip(zip, data.data() + done, chunk) == ZIP_OK;
    done += chunk;
  }
  return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

}  // namespace

std::string SkinFolderName(std::string_view title, std::string_view fallback) {
  std::string name = CleanFolderName(title);
  if (name.empty()) name = CleanFolderName(fallback);
  return name.empty() ? "skin" : name;
}

namespace {

// Builds the archive in `file`; false when an entry could not be added.
bool BuildArchive(const SkinDocument& doc, const std::string& zip_path, const std::string& text,
                  const imaging::Image& preview, MemoryFile& file, Feedback& feedback) {
  const std::string folder = SkinFolderName(doc.info.Title, ArchiveStem(zip_path)) + "/";
  const zip_fileinfo info = EntryInfo(doc.info.LastUpdate);
  zlib_filefunc64_def io{OpenMemory, ReadMemory,  WriteMemory, TellMemory,
                         SeekMemory, CloseMemory, MemoryError, &file};
  zipFile zip = zipOpen2_64(zip_path.c_str(), APPEND_STATUS_CREATE, nullptr, &io);
  if (zip == nullptr) return false;
  // The archive is closed however this ends, also when an allocation fails on the way.
  std::unique_ptr<void, void (*)(void*)> closer(zip, [](void* z) { zipClose(z, nullptr); });
  bool ok = AddEntry(zip, folder + "uisettings.ini",
                     {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, info);
  for (std::size_t s = 0; ok && s < kSlotCount; ++s) {
    feedback.SetProgress(static_cast<int>(s) + 1);
    ok = AddEntry(zip, folder + std::string(kSlots[s].file), imaging::EncodeBmp16(doc.slots[s]),
                  info);
  }
  const std::vector<std::uint8_t> png =
      ok ? imaging::EncodePng(preview) : std::vector<std::uint8_t>();
  ok = ok && !png.empty() && AddEntry(zip, std::string(kPreviewEntry), png, info);
  closer.release();
  return zipClose(zip, nullptr) == ZIP_OK && ok && !file.failed;
}

}  // namespace

bool ExportSkinZip(SkinDocument& doc, const std::string& zip_path, const imaging::Image& preview,
                   const SaveOptions& options, Feedback& feedback) {
  const std::optional<FileProblem> problem =
      WriteSkinSettingsText(doc, options, [&](const std::string& text) {
        MemoryFile file;
        const bool built = BuildArchive(doc, zip_path, text, preview, file, feedback);
        // minizip saw only a failed write; what failed was growing the archive in memory.
        if (file.failed) throw std::bad_alloc();
        return built && base::WriteFileAtomically(zip_path, file.bytes);
      });
  feedback.SetProgress(0);
  if (problem) feedback.ShowError(ComposeFileMessage(zip_path, *problem, options.texts));
  return !problem;
}

}  // namespace skin
