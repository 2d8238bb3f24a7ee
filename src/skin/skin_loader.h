// Loading skins from folders and ZIP archives, and single pictures into slots.
#pragma once

#include <optional>
#include <string>

#include "base/code_page.h"
#include "imaging/picture_fit.h"
#include "skin/feedback.h"
#include "skin/messages.h"
#include "skin/settings_reader.h"
#include "skin/skin_document.h"

namespace skin {

// Picture files above this size are not read (real ones are at most a few hundred kB); nor are
// settings files above kMaxSettingsFileBytes. Archive entries are held to the same sizes before
// they are inflated.
inline constexpr std::uint64_t kMaxPictureFileBytes = 64 * 1024 * 1024;

// The memory the decoded pictures of one skin may take together. A real skin needs well under
// 1 MB; 512 MiB leaves room for any picture an author may mean, while 53 hostile pictures of the
// largest allowed size (256 MiB each) cannot exhaust the machine. A picture that would exceed it
// is refused with its own message and loading goes on.
inline constexpr std::uint64_t kPictureMemoryBudget = 512ull * 1024 * 1024;

// The bytes a new picture for `slot` may take: `budget` less what the other slots hold.
std::uint64_t PictureBudgetFor(const SkinDocument& doc, SlotId slot,
                               std::uint64_t budget = kPictureMemoryBudget);

struct LoadOptions {
  int code_page = base::kDefaultCodePage;  // of the texts in uisettings.ini
  MessageTexts texts;
  std::uint64_t picture_budget = kPictureMemoryBudget;
};

// Loads the picture file at `path` into `slot` as a skin load does. A 16-bit uncompressed BMP is
// taken without loss; any other BMP, PNG or JPEG is decoded and reduced to 15-bit colour by
// error diffusion. A file that cannot be opened or read gives "path : <not found>" and leaves the
// slot as it was; one that cannot be taken (not a regular file, not a picture, above the size
// limits or the memory budget, or out of memory) gives "path: <the problem>" and leaves the slot
// empty. True when the slot took the picture.
bool LoadSkinBitmap(SkinDocument& doc, SlotId slot, const std::string& path,
                    const MessageTexts& texts, Feedback& feedback,
                    std::uint64_t budget = kPictureMemoryBudget);

// Imports the picture file at `path` into `slot` at the user's request: as LoadSkinBitmap, except
// that a file that cannot be taken leaves the slot's picture as it was.
bool ImportSkinImage(SkinDocument& doc, SlotId slot, const std::string& path,
                     const MessageTexts& texts, Feedback& feedback,
                     std::uint64_t budget = kPictureMemoryBudget);

// Reads and decodes the picture file at `path` to be fitted into a slot (imaging::DecodeForFit:
// with `settings`, a JPEG decodes at the smaller size they allow), within `budget` bytes. A file
// that cannot be taken is reported as an import reports it, and gives nothing.
std::optional<imaging::DecodedForFit> ReadPictureForFit(
    const std::string& path, const imaging::FitSettings* settings, const MessageTexts& texts,
    Feedback& feedback, std::uint64_t budget = kPictureMemoryBudget);
// The same with the settings chosen once the picture's size is known (imaging::FitPlanFor); with
// `keep`, a JPEG decoded smaller keeps its file for a finer decoding (imaging::FitSource).
std::optional<imaging::DecodedForFit> ReadPictureForFit(
    const std::string& path, const imaging::FitPlanFor& plan, bool keep, const MessageTexts& texts,
    Feedback& feedback, std::uint64_t budget = kPictureMemoryBudget);

// ReadPictureForFit and FitSource::Fit in one: the slot's picture that `settings` make of the file
// at `path`, or nothing after a message. With `shrink`, a JPEG decodes at the smaller size the
// settings allow.
std::optional<imaging::Image> ReadFittedPicture(const std::string& path,
                                                const imaging::FitSettings& settings, bool shrink,
                                                const MessageTexts& texts, Feedback& feedback,
                                                std::uint64_t budget = kPictureMemoryBudget);

// The file name the import chooser proposes for `slot`: the last used folder followed by the
// slot's base name and ".bmp" (an icon is proposed in the folder itself, not in icon/), or the bare
// name when there is no last used folder.
std::string ProposedImportName(const std::string& last_path, SlotId slot);

// The folder a chooser for a new skin folder starts in: the last used folder, or the folder above
// it when the last used folder is itself a skin folder (it holds uisettings.ini), so that a new
// skin is not made inside another. "" stays "".
std::string NewSkinFolderStart(const std::string& last_path);

// Whether the skin at `path` is opened as a ZIP archive (OpenSkinZip) rather than as a folder
// (OpenSkinFolder): when it names no folder and is not written as one, with a trailing separator.
// A path that names nothing then fails to open with the no-skin message, either way.
bool OpensAsArchive(const std::string& path);

// Whether a path dropped on the editor is offered as a skin: a folder, or a file named ".zip" in
// any letter case. Anything else (a picture, a text) is not taken as a skin at all.
bool LooksLikeSkin(const std::string& path);

// Opens the skin folder `folder`: reads its uisettings.ini onto `doc`, then the 53 pictures in slot
// order with progress 1 to 53 and then 0, one message for each picture that is missing or does not
// decode. When uisettings.ini cannot be read (missing, not a regular file, or above 1 MiB) shows
// the no-skin message ("folder: <no skin>") alone, changes nothing and returns false. An allocation
// failure is reported as a message and ends the load; the program goes on.
bool OpenSkinFolder(SkinDocument& doc, const std::string& folder, const LoadOptions& options,
                    Feedback& feedback);

// How many entries of an archive are looked at. A skin has 54 files; a pack of many skins fits.
inline constexpr std::size_t kMaxArchiveEntries = 65536;

// Opens the skin held in the ZIP archive at `zip_path`. The skin's root is the folder of the first
// entry named uisettings.ini (any letter case, at any depth); pictures are looked for under it with
// "\" between folders and without regard to letter case. Entries are read into memory only. A
// picture is taken as it is, without dithering. Messages as OpenSkinFolder, naming entries with
// their root ("myskin\icon\cheat.bmp"); an entry compressed with a method other than stored or
// deflate is reported as unsupported. Returns false, with the no-skin message naming the archive
// and nothing changed, when the archive cannot be opened (also when it is not a regular file) or
// holds no readable settings entry, or with the unsupported-compression message naming a settings
// entry of another method. The archive's listing is read once, and keeps only the entries whose
// names can be a skin's files; only its first kMaxArchiveEntries entries are looked at.
bool OpenSkinZip(SkinDocument& doc, const std::string& zip_path, const LoadOptions& options,
                 Feedback& feedback);

}  // namespace skin
