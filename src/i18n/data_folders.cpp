// Data folder resolution.
#include "i18n/data_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "base/file_io.h"

namespace i18n {
namespace {

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

DataFolders ResolveDataFolders(const DataFolderInputs& in, bool (*is_dir)(const std::string&)) {
  const std::string portable_languages = Join(in.executable_dir, "language");
  if (!in.executable_dir.empty() && in.executable_dir_writable && is_dir(portable_languages)) {
    return {portable_languages, Join(Join(in.executable_dir, "settings"), "settings.ini"), ""};
  }
  const std::string config =
      !in.xdg_config_home.empty() ? in.xdg_config_home : Join(in.home, ".config");
  const std::string user = Join(config, "skinsmith");
  DataFolders folders;
  folders.settings_file = Join(Join(user, "settings"), "settings.ini");
  const std::string beside_program =
      in.installed_languages_from_program.empty() || in.executable_dir.empty()
          ? std::string()
          : Join(in.executable_dir, in.installed_languages_from_program);
  for (const std::string& candidate :
       {Join(user, "language"), beside_program, in.installed_languages, in.source_languages}) {
    if (!candidate.empty() && is_dir(candidate)) {
      folders.language_folder = candidate;
      break;
    }
  }
  return folders;
}

std::string FindUserGuide(const DataFolderInputs& in, bool (*is_file)(const std::string&)) {
  const bool beside = !in.executable_dir.empty();
  for (const std::string& candidate :
       {beside ? Join(in.executable_dir, "user-guide.html") : std::string(),
        beside && !in.installed_guide_from_program.empty()
            ? Join(in.executable_dir, in.installed_guide_from_program)
            : std::string(),
        in.installed_guide, in.source_guide}) {
    if (!candidate.empty() && is_file(candidate)) return candidate;
  }
  return {};
}

DataFolders ResolveDataFolders(const std::string& executable_dir) {
  DataFolderInputs in;
  in.executable_dir = executable_dir;
  in.executable_dir_writable =
      !executable_dir.empty() && ::access(executable_dir.c_str(), W_OK) == 0;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  in.xdg_config_home = xdg != nullptr ? xdg : "";
  in.home = home != nullptr ? home : "";
#ifdef SKINSMITH_INSTALLED_LANGUAGES
  in.installed_languages = SKINSMITH_INSTALLED_LANGUAGES;
#endif
#ifdef SKINSMITH_INSTALLED_LANGUAGES_FROM_PROGRAM
  in.installed_languages_from_program = SKINSMITH_INSTALLED_LANGUAGES_FROM_PROGRAM;
#endif
#ifdef SKINSMITH_SOURCE_LANGUAGES
  in.source_languages = SKINSMITH_SOURCE_LANGUAGES;
#endif
#ifdef SKINSMITH_INSTALLED_GUIDE
  in.installed_guide = SKINSMITH_INSTALLED_GUIDE;
  in.installed_guide_from_program = SKINSMITH_INSTALLED_GUIDE_FROM_PROGRAM;
  in.source_guide = SKINSMITH_SOURCE_GUIDE;
#endif
  DataFolders folders = ResolveDataFolders(in, IsDirectory);
  folders.user_guide = FindUserGuide(in, base::IsRegularFile);
  // Nothing is created here: SaveProgramSettings makes the settings folder when it first writes.
  return folders;
}

}  // namespace i18n
