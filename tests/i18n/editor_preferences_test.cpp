// The editor preferences file: its bytes, its reading rules, paths that fight the INI syntax, and
// the order and length of the recent skins.
#include "i18n/editor_preferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "test_support.h"

namespace i18n {
namespace {

namespace fs = std::filesystem;

TEST(EditorPreferences, MissingFileGivesDefaultsAndSaveWritesTheFileBesideTheSettings) {
  testing_support::TempDir dir;
  const std::string file =
      EditorPreferencesFile((dir.path() / "a" / "settings" / "settings.ini").string());
  EXPECT_EQ(file, (dir.path() / "a" / "settings" / "editor.ini").string());
  EXPECT_EQ(LoadEditorPreferences(file), EditorPreferences());
  EXPECT_TRUE(EditorPreferences().follow_changes) << "on until switched off";

  const EditorPreferences preferences{false, {"/skins/blue/", "/dl/red.zip"}};
  ASSERT_TRUE(SaveEditorPreferences(file, preferences)) << "the folders are made";
  EXPECT_EQ(testing_support::ReadFileText(file),
            "\xEF\xBB\xBF\r\n[editor]\r\nFollowChanges = 0\r\n[recent]\r\n"
            "Skin1 = /skins/blue/\r\nSkin2 = /dl/red.zip\r\n");
  EXPECT_EQ(LoadEditorPreferences(file), preferences);
}

TEST(EditorPreferences, ReadingRules) {
  testing_support::TempDir dir;
  const fs::path file = dir.path() / "editor.ini";
  std::ofstream(file, std::ios::binary)
      << "[RECENT]\nskin2 = /b/\nSkin1=/a/\nSkin3=\nSkin4=/a/\nSkin5=/100%zz\nSkin9=/nine/\n"
         "[Editor]\nfollowchanges=7\n";
  const EditorPreferences read = LoadEditorPreferences(file.string());
  EXPECT_TRUE(read.follow_changes);
  // By key number, not by line; empty values and repeats passed over; a "%" without two
  // hexadecimal digits kept; no ninth entry.
  EXPECT_EQ(read.recent, (std::vector<std::string>{"/a/", "/b/", "/100%zz"}));

  std::ofstream(file, std::ios::binary) << "[editor]\nFollowChanges = 0 \n";
  EXPECT_FALSE(LoadEditorPreferences(file.string()).follow_changes);
}

TEST(EditorPreferences, AnyPathSurvivesTheFile) {
  testing_support::TempDir dir;
  const std::string file = (dir.path() / "editor.ini").string();
  const std::vector<std::string> paths{"/skins/new\nline/", "/skins/100%/", " /lead",
                                       "/trail.zip ",       "/tab\t.zip\t", "/a=b;c[d]/",
                                       "/\xFF\xFE/",        "/日本/",       "/cr\r.zip"};
  const EditorPreferences saved{true, paths};
  ASSERT_TRUE(SaveEditorPreferences(file, saved));
  const std::string text = testing_support::ReadFileText(file);
  EXPECT_NE(text.find("Skin1 = /skins/new%0Aline/\r\n"), std::string::npos);
  EXPECT_NE(text.find("Skin2 = /skins/100%25/\r\n"), std::string::npos);
  EXPECT_NE(text.find("Skin5 = /tab%09.zip%09\r\n"), std::string::npos);
  EXPECT_EQ(LoadEditorPreferences(file).recent.size(), 8u) << "written as eight at most";
  EXPECT_EQ(LoadEditorPreferences(file).recent,
            std::vector<std::string>(paths.begin(), paths.begin() + 8));
}

TEST(RecentSkins, MostRecentFirstWithoutRepeatsAndAtMostEight) {
  std::vector<std::string> recent;
  for (int n = 1; n <= 10; ++n) RememberRecentSkin(recent, "/s" + std::to_string(n) + "/");
  EXPECT_EQ(recent, (std::vector<std::string>{"/s10/", "/s9/", "/s8/", "/s7/", "/s6/", "/s5/",
                                              "/s4/", "/s3/"}));
  RememberRecentSkin(recent, "/s5/");
  EXPECT_EQ(recent.front(), "/s5/");
  EXPECT_EQ(recent.size(), 8u);
  EXPECT_EQ(std::count(recent.begin(), recent.end(), "/s5/"), 1);
  ForgetRecentSkin(recent, "/s9/");
  ForgetRecentSkin(recent, "/never/");
  EXPECT_EQ(recent,
            (std::vector<std::string>{"/s5/", "/s10/", "/s8/", "/s7/", "/s6/", "/s4/", "/s3/"}));
}

}  // namespace
}  // namespace i18n
