// The editor's own small preferences beside the program settings: whether it follows changes of
// the open skin folder on disk, the recently opened or saved skins, and where its window stood.
// They live in a file of their own (editor.ini next to settings.ini), so that settings.ini keeps
// exactly its four keys.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace i18n {

class IniFile;

inline constexpr std::size_t kMaxRecentSkins = 8;

// Where the main window stood when the editor last ended: its normal (not maximised) frame in
// desktop coordinates, whether it was maximised, and the side panel's width as the user left it
// (0: the editor chooses). The numbers are only what the file held within these bounds; whether
// they fit the desktop of this run is for the editor to judge.
struct WindowPlace {
  static constexpr int kMaxCoordinate = 100000;
  static constexpr int kMaxSize = 20000;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool maximised = false;
  int panel_width = 0;

  friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

// How the preview shows the screens' colours: as the pictures hold them, or as the console shows
// them (the later models' full-scale levels, or the original model's screen).
enum class PreviewColours { kStored = 0, kConsole = 1, kOriginal = 2 };

struct EditorPreferences {
  bool follow_changes = true;
  // Most recent first, at most kMaxRecentSkins, no two equal. A skin folder ends with "/", an
  // archive does not.
  std::vector<std::string> recent;
  std::optional<WindowPlace> window = {};
  // Screenshots are saved and copied at this many times their size, each pixel a square of pixels.
  static constexpr int kMaxScreenshotScale = 3;
  int screenshot_scale = 1;
  PreviewColours preview_colours = PreviewColours::kStored;

  friend bool operator==(const EditorPreferences&, const EditorPreferences&) = default;
};

// The preferences file that belongs beside `settings_file`: the same folder, "editor.ini".
std::string EditorPreferencesFile(const std::string& settings_file);

// Reads group [editor], key FollowChanges (a decimal number, 0 for off; missing means on) and key
// ScreenshotScale (a plain decimal number from 1 to kMaxScreenshotScale, anything else gives 1) and
// key PreviewColours (1 console levels, 2 the original model's screen; anything else the stored
// colours), group [recent], keys Skin1 to Skin8 in that order, and group [window], keys X, Y,
// Width, Height, Maximised and PanelWidth. The window's place is taken only when X, Y, Width and
// Height are all plain decimal numbers (an optional minus sign and at most six digits, nothing
// else) within
// +-WindowPlace::kMaxCoordinate for X and Y and 1 to WindowPlace::kMaxSize for the sizes;
// Maximised and PanelWidth read the same way, a value that does not gives false and 0. Empty
// values, repeated paths and paths holding a NUL (no file can be named so; the path would be cut
// there) are passed over. A missing file, or one that is not a regular file or is larger than
// kMaxIniFileBytes, gives the defaults; nothing is reported.
EditorPreferences LoadEditorPreferences(const std::string& file);

// The preferences in a parsed editor.ini, by the rules of LoadEditorPreferences.
EditorPreferences EditorPreferencesFromIni(const IniFile& ini);

// The file's exact bytes: a UTF-8 byte-order mark and CR LF, "[editor]", "FollowChanges = 1" (or
// 0), "ScreenshotScale = N" when N is not 1, "PreviewColours = 1" (or 2) unless the stored
// colours are shown, "[recent]" and "SkinN = path" for each entry, then, with a window place,
// "[window]" and "X = ", "Y = ", "Width = ", "Height = ", "Maximised = " (1 or 0) and
// "PanelWidth = " in decimal, every line ended by CR LF. In paths, "%", control characters and a
// blank or tab at either end are written as "%" and two upper-case hexadecimal digits, so that any
// path survives the INI syntax.
std::string EditorPreferencesText(const EditorPreferences& preferences);

// Writes `file` through WriteSettingsFile: its folder and all missing parents are made, and a
// failed write leaves the old file whole. False when it cannot be written; nothing is reported.
bool SaveEditorPreferences(const std::string& file, const EditorPreferences& preferences);

// Puts `path` at the head of `recent`, taking it out of where it stood, and drops what lies beyond
// kMaxRecentSkins.
void RememberRecentSkin(std::vector<std::string>& recent, const std::string& path);

// Takes `path` out of `recent`; nothing when it is not there.
void ForgetRecentSkin(std::vector<std::string>& recent, const std::string& path);

}  // namespace i18n
