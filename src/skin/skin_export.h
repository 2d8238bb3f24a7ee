// Exporting a skin for sharing: one ZIP archive that holds the skin folder, exactly as a save
// writes it, and a preview picture beside it.
#pragma once

#include <string>
#include <string_view>

#include "imaging/image.h"
#include "skin/feedback.h"
#include "skin/skin_document.h"
#include "skin/skin_saver.h"

namespace skin {

// The entry name of the contact sheet in an exported archive, beside the skin folder.
inline constexpr std::string_view kPreviewEntry = "preview.png";

// A folder name made from `title` that every desktop and the card accept: characters that Windows
// or FAT forbid ("\ / : * ? \" < > |" and control characters) become "_", leading and trailing
// blanks and dots go, the name is cut to 64 bytes (never inside a UTF-8 character; malformed
// UTF-8 bytes become "_"), and a Windows device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM
// and LPT with a digit or superscript digit; in any letter case, before any extension and
// blanks) or the preview's entry name in any letter case gets "_" after its first part ("CON_",
// "com1_.x", "CON_ .txt", "preview_.png"). When nothing is left, the same is done with
// `fallback`, and then "skin" is taken.
std::string SkinFolderName(std::string_view title, std::string_view fallback = {});

// Writes `doc` as a ZIP archive at `zip_path`: the folder SkinFolderName(Title, archive's name
// without ".zip") with uisettings.ini (BuildSkinSettingsText, so the document's information texts
// and LastUpdate change as a save changes them), the 42 main pictures and icon/ with the 11 icons,
// all as 16-bit BMPs, then `preview` as preview.png at the archive's top. Entries are deflated and
// dated with the LastUpdate stamp; names that are not ASCII are stored as UTF-8 and marked so.
// Progress runs 1 to 53 over the pictures, then 0. The archive is built in memory and written
// through a temporary file that is renamed over `zip_path`, so `zip_path` is either untouched or
// the complete archive. On failure shows "zip_path: <file not saved>" (the settings-too-long text
// for a settings text no reader would open, the out-of-memory text when memory ran out, also
// while the archive grew), restores the document's information texts and returns false.
bool ExportSkinZip(SkinDocument& doc, const std::string& zip_path, const imaging::Image& preview,
                   const SaveOptions& options, Feedback& feedback);

}  // namespace skin
