// Where the program finds its language files and keeps its settings file.
#pragma once

#include <string>

namespace i18n {

struct DataFolders {
  std::string language_folder;  // holds t_chinese.ini, ..., other.ini
  std::string settings_file;    // .../settings/settings.ini
  std::string user_guide;       // the HTML user guide, "" when none is found
};

// What the decision depends on, passed in so that it can be tested without the machine's state.
struct DataFolderInputs {
  std::string executable_dir;    // the folder of the running program
  bool executable_dir_writable;  // whether the program may write there
  // Where this user's own files of the program live (base::PerUserFolder), may be empty.
  std::string user_folder;
  std::string installed_languages;  // the install prefix's share/skinsmith/language
  std::string source_languages;     // the source tree's language/ (builds run from the tree)
  // The same folder relative to the installed program's folder ("../share/skinsmith/language"),
  // for an install tree moved to another prefix (cmake --install --prefix, a package root).
  std::string installed_languages_from_program;
  // The user guide: in the install prefix's documentation folder, relative to the program's
  // folder (as above), and in the source tree's docs/.
  std::string installed_guide;
  std::string installed_guide_from_program;
  std::string source_guide;
};

// Portable mode: when the program's own folder holds language/ and can be written, languages and
// settings/ live there. Otherwise settings go to the user folder's settings/ (on Linux
// ~/.config/skinsmith, on Windows %APPDATA%\Skinsmith), and languages come from the user folder's
// language/ when it exists, else from the install tree the program sits in, else from the install
// prefix it was built for, else from the source tree.
DataFolders ResolveDataFolders(const DataFolderInputs& inputs, bool (*is_dir)(const std::string&));

// The user guide (user-guide.html): beside the program (a portable copy), in the install tree the
// program sits in, in the install prefix it was built for, or in the source tree; "" when
// `is_file` finds none of them.
std::string FindUserGuide(const DataFolderInputs& inputs, bool (*is_file)(const std::string&));

// ResolveDataFolders and FindUserGuide for the running program in `executable_dir`, from the
// environment.
DataFolders ResolveDataFolders(const std::string& executable_dir);

}  // namespace i18n
