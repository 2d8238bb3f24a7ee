// Data folder resolution.
#include "i18n/data_folders.h"

#include "base/file_io.h"
#include "base/paths.h"
#include "base/system.h"

namespace i18n {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return base::JoinPath(folder, name);
}

}  // namespace

DataFolders ResolveDataFolders(const DataFolderInputs& in, bool (*is_dir)(const std::string&)) {
  const std::string portable_languages = Join(in.executable_dir, "language");
  if (!in.executable_dir.empty() && in.executable_dir_writable && is_dir(portable_languages)) {
    return {portable_languages, Join(Join(in.executable_dir, "settings"), "settings.ini"), ""};
  }
  const std::string& user = in.user_folder;
  DataFolders folders;
  // Without a user folder the settings are not kept: a bare name would land in the working folder.
  if (!user.empty()) folders.settings_file = Join(Join(user, "settings"), "settings.ini");
  const std::string beside_program =
      in.installed_languages_from_program.empty() || in.executable_dir.empty()
          ? std::string()
          : Join(in.executable_dir, in.installed_languages_from_program);
  for (const std::string& candidate :
       {user.empty() ? std::string() : Join(user, "language"), beside_program,
        in.installed_languages, in.source_languages}) {
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
  in.executable_dir_writable = base::CanWriteInFolder(executable_dir);
  in.user_folder = base::PerUserFolder("Skinsmith");
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
  DataFolders folders = ResolveDataFolders(in, base::IsFolder);
  folders.user_guide = FindUserGuide(in, base::IsRegularFile);
  // Nothing is created here: SaveProgramSettings makes the settings folder when it first writes.
  return folders;
}

}  // namespace i18n
