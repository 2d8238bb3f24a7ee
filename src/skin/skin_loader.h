// Loading skins from folders and ZIP archives, and single pictures into slots.
#pragma once

#include <string>

#include "skin/code_page.h"
#include "skin/feedback.h"
#include "skin/messages.h"
#include "skin/skin_document.h"

namespace skin {

struct LoadOptions {
  int code_page = kDefaultCodePage;  // of the texts in uisettings.ini
  MessageTexts texts;
};

// Files above these sizes are not read: real settings files are about 5 kB, real pictures at most
// a few hundred kB.
inline constexpr std::uint64_t kMaxSettingsFileBytes = 1024 * 1024;
inline constexpr std::uint64_t kMaxPictureFileBytes = 64 * 1024 * 1024;

// Loads the picture file at `path` into `slot` as a skin load does. A 16-bit uncompressed BMP is
// taken without loss; any other BMP, PNG or JPEG is decoded and reduced to 15-bit colour by
// error diffusion. A file that cannot be opened gives "path : <not found>" and leaves the slot as
// it was; one that does not decode gives "path: <unknown format>" and leaves the slot empty.
// True when the slot took the picture.
bool LoadSkinBitmap(SkinDocument& doc, SlotId slot, const std::string& path,
                    const MessageTexts& texts, Feedback& feedback);

// Imports the picture file at `path` into `slot` at the user's request: as LoadSkinBitmap, except
// that a file that does not decode leaves the slot's picture as it was.
bool ImportSkinImage(SkinDocument& doc, SlotId slot, const std::string& path,
                     const MessageTexts& texts, Feedback& feedback);

// The file name the import chooser proposes for `slot`: the last used folder followed by the
// slot's base name and ".bmp" (an icon is proposed in the folder itself, not in icon/), or the bare
// name when there is no last used folder.
std::string ProposedImportName(const std::string& last_path, SlotId slot);

// Opens the skin folder `folder`: reads its uisettings.ini onto `doc`, then the 53 pictures in slot
// order with progress 1 to 53 and then 0, one message for each picture that is missing or does not
// decode. When uisettings.ini cannot be read (missing, or above 1 MiB) shows the no-skin message
// alone, changes nothing and returns false.
bool OpenSkinFolder(SkinDocument& doc, const std::string& folder, const LoadOptions& options,
                    Feedback& feedback);

// Opens the skin held in the ZIP archive at `zip_path`. The skin's root is the folder of the first
// entry named uisettings.ini (any letter case, at any depth); pictures are looked for under it with
// "\" between folders and without regard to letter case. Entries are read into memory only. A
// picture is taken as it is, without dithering. Messages as OpenSkinFolder, naming entries with
// their root ("myskin\icon\cheat.bmp"). Returns false, with the no-skin message and nothing
// changed, when the archive cannot be opened or holds no settings entry.
bool OpenSkinZip(SkinDocument& doc, const std::string& zip_path, const LoadOptions& options,
                 Feedback& feedback);

}  // namespace skin
