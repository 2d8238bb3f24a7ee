// The editor preferences file: its bytes, its reading rules, and paths that fight the INI syntax.
#include "i18n/editor_preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_support.h"

namespace i18n {
namespace {

TEST(EditorPreferences, BytesAndReadingRules) {
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

  // By key number, not by line; empty values and repeats passed over; a "%" without two
  // hexadecimal digits kept; no ninth entry; any number but 0 switches on.
  std::ofstream(file, std::ios::binary)
      << "[RECENT]\nskin2 = /b/\nSkin1=/a/\nSkin3=\nSkin4=/a/\nSkin5=/100%zz\nSkin9=/nine/\n"
         "[Editor]\nfollowchanges=7\n";
  EXPECT_EQ(LoadEditorPreferences(file), (EditorPreferences{true, {"/a/", "/b/", "/100%zz"}}));

  // A NUL would cut the path where it is opened: such an entry is passed over.
  std::ofstream(file, std::ios::binary)
      << "[recent]\nSkin1=x.zip%00/other\nSkin2=/ok/\nSkin3=%00\nSkin4=/nul/%00\n";
  EXPECT_EQ(LoadEditorPreferences(file).recent, std::vector<std::string>{"/ok/"});
}

TEST(EditorPreferences, AnyPathSurvivesTheFile) {
  testing_support::TempDir dir;
  const std::string file = (dir.path() / "editor.ini").string();
  const std::vector<std::string> paths{"/skins/new\nline/", "/skins/100%/", " /lead", "/trail.zip ",
                                       "/a=b;c[d]/",        "/\xFF\xFE/",   "/日本/", "/tab\t.zip"};
  ASSERT_TRUE(SaveEditorPreferences(file, {true, paths}));
  const std::string text = testing_support::ReadFileText(file);
  EXPECT_NE(text.find("Skin1 = /skins/new%0Aline/\r\n"), std::string::npos);
  EXPECT_NE(text.find("Skin2 = /skins/100%25/\r\n"), std::string::npos);
  EXPECT_NE(text.find("Skin4 = /trail.zip%20\r\n"), std::string::npos);
  EXPECT_EQ(LoadEditorPreferences(file).recent, paths);
}

}  // namespace
}  // namespace i18n
