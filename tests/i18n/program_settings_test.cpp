// Program settings and the folders the editor keeps its data in.
#include "i18n/program_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "i18n/data_folders.h"
#include "test_support.h"

namespace i18n {
namespace {

namespace fs = std::filesystem;

TEST(ProgramSettings, MissingFileOrFolderGivesDefaultsAndSaveCreatesTheFolder) {
  testing_support::TempDir dir;
  const std::string file = (dir.path() / "settings" / "settings.ini").string();
  EXPECT_EQ(LoadProgramSettings(file), ProgramSettings());
  ProgramSettings settings{"/home/me/skins/", 4, 255, 1};
  ASSERT_TRUE(SaveProgramSettings(file, settings));
  EXPECT_EQ(testing_support::ReadFileText(file),
            "\xEF\xBB\xBF\r\n[settings]\r\nLastPath = /home/me/skins/\r\nLanguage = 4\r\n"
            "BGColor = 255\r\nSwapView = 1\r\n");
  EXPECT_EQ(LoadProgramSettings(file), settings);
}

TEST(ProgramSettings, ReadingRules) {
  testing_support::TempDir dir;
  const fs::path file = dir.path() / "settings.ini";
  std::ofstream(file, std::ios::binary)
      << "[SETTINGS]\nswapview=7\nlanguage=3abc\nLastPath = \t /tmp/x \t\nBGColor=-5\n";
  const ProgramSettings settings = LoadProgramSettings(file.string());
  EXPECT_EQ(settings.swap_view, 1);
  EXPECT_EQ(settings.language, 3);
  EXPECT_EQ(settings.last_path, "/tmp/x");
  EXPECT_EQ(ProgramSettingsText(settings).find("SwapView = 1\r\n") != std::string::npos, true);
  EXPECT_NE(ProgramSettingsText(settings).find("BGColor = -5\r\n"), std::string::npos);
}

bool FakeIsDir(const std::string& path) {
  return path == "/opt/sk/language" || path == "/usr/share/skinsmith/language" ||
         path == "/home/u/.config/skinsmith/language";
}

TEST(DataFolders, PortableModeThenUserFolder) {
  DataFolderInputs in{"/opt/sk", true, "/home/u/.config/skinsmith", "/usr/share/skinsmith/language",
                      "/src/language"};
  DataFolders portable = ResolveDataFolders(in, FakeIsDir);
  EXPECT_EQ(portable.language_folder, "/opt/sk/language");
  EXPECT_EQ(portable.settings_file, "/opt/sk/settings/settings.ini");

  in.executable_dir_writable = false;  // an install folder: nothing is written there
  DataFolders user = ResolveDataFolders(in, FakeIsDir);
  EXPECT_EQ(user.settings_file, "/home/u/.config/skinsmith/settings/settings.ini");
  EXPECT_EQ(user.language_folder, "/home/u/.config/skinsmith/language");

  in.user_folder = "/xdg/skinsmith";
  DataFolders xdg = ResolveDataFolders(in, FakeIsDir);
  EXPECT_EQ(xdg.settings_file, "/xdg/skinsmith/settings/settings.ini");
  EXPECT_EQ(xdg.language_folder, "/usr/share/skinsmith/language");

  // An install tree moved to another prefix finds the languages beside its program first.
  in.executable_dir = "/opt/moved/bin";
  in.installed_languages_from_program = "../share/skinsmith/language";
  EXPECT_EQ(ResolveDataFolders(in,
                               [](const std::string& p) {
                                 return p == "/opt/moved/bin/../share/skinsmith/language" ||
                                        p == "/usr/share/skinsmith/language";
                               })
                .language_folder,
            "/opt/moved/bin/../share/skinsmith/language");

  in.executable_dir = "/build";
  in.installed_languages.clear();
  EXPECT_EQ(ResolveDataFolders(in, [](const std::string& p) { return p == "/src/language"; })
                .language_folder,
            "/src/language");
}

TEST(DataFolders, SettingsAreSavedOnAFreshAccountWithoutAConfigFolder) {
  testing_support::TempDir home;
#ifdef _WIN32
  const std::string user = "Skinsmith";
  const testing_support::ScopedEnvironment environment{{"APPDATA", home.folder()}};
#else
  const std::string user = ".config";
  const testing_support::ScopedEnvironment environment{{"HOME", home.folder()},
                                                       {"XDG_CONFIG_HOME", ""}};
#endif
  const DataFolders folders = ResolveDataFolders("/nonexistent/bin");
  EXPECT_EQ(base::FsPath(folders.settings_file),
            home.path() / user / (user == ".config" ? "skinsmith" : "") / "settings/settings.ini");
  EXPECT_FALSE(fs::exists(home.path() / user)) << "starting creates nothing";
  EXPECT_TRUE(SaveProgramSettings(folders.settings_file, ProgramSettings{}));
  EXPECT_TRUE(fs::is_regular_file(base::FsPath(folders.settings_file)));

  // The same when the settings folder was removed while the editor ran.
  fs::remove_all(home.path() / user);
  EXPECT_TRUE(SaveProgramSettings(folders.settings_file, ProgramSettings{"/x/", 2, 0, 0}));
  EXPECT_EQ(LoadProgramSettings(folders.settings_file).language, 2);
}

}  // namespace
}  // namespace i18n
