// The editor preferences file: its bytes, its reading rules, and paths that fight the INI syntax.
#include "i18n/editor_preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <utility>

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

  // The preview's colours: written only when the console's are shown; an unknown view is the
  // stored colours.
  EditorPreferences console;
  console.preview_colours = PreviewColours::kOriginal;
  ASSERT_TRUE(SaveEditorPreferences(file, console));
  EXPECT_EQ(testing_support::ReadFileText(file),
            "\xEF\xBB\xBF\r\n[editor]\r\nFollowChanges = 1\r\nPreviewColours = 2\r\n[recent]\r\n");
  EXPECT_EQ(LoadEditorPreferences(file), console);
  for (const char* value : {"1", "0", "3", "-1", "x"}) {
    std::ofstream(file, std::ios::binary) << "[editor]\nPreviewColours=" << value << "\n";
    EXPECT_EQ(LoadEditorPreferences(file).preview_colours,
              value[0] == '1' ? PreviewColours::kConsole : PreviewColours::kStored)
        << value;
  }
  std::vector<std::string> recent{"/ok/"};
  RememberRecentSkin(recent, std::string("x.zip\0/other", 13));
  EXPECT_EQ(recent, std::vector<std::string>{"/ok/"}) << "nor is one remembered";
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

TEST(EditorPreferences, ScreenshotScaleRoundTripsAndOnlyOneToThreeIsTaken) {
  testing_support::TempDir dir;
  const std::string file = (dir.path() / "editor.ini").string();
  EditorPreferences preferences;
  preferences.screenshot_scale = 3;
  ASSERT_TRUE(SaveEditorPreferences(file, preferences));
  EXPECT_NE(
      testing_support::ReadFileText(file).find("FollowChanges = 1\r\nScreenshotScale = 3\r\n"),
      std::string::npos);
  EXPECT_EQ(LoadEditorPreferences(file), preferences);
  for (const auto& [value, scale] :
       std::initializer_list<std::pair<const char*, int>>{{"2", 2},
                                                          {"1", 1},
                                                          {"0", 1},
                                                          {"4", 1},
                                                          {"-2", 1},
                                                          {"2x", 1},
                                                          {"", 1},
                                                          {"99999999", 1}}) {
    std::ofstream(file, std::ios::binary) << "[editor]\nScreenshotScale=" << value << "\n";
    EXPECT_EQ(LoadEditorPreferences(file).screenshot_scale, scale) << value;
  }
}

TEST(EditorPreferences, WindowPlaceRoundTripsAndOnlyPlainNumbersInRangeAreTaken) {
  testing_support::TempDir dir;
  const std::string file = (dir.path() / "editor.ini").string();
  EditorPreferences preferences;
  preferences.window = WindowPlace{-1920, 40, 1200, 900, true, 520};
  ASSERT_TRUE(SaveEditorPreferences(file, preferences));
  EXPECT_NE(testing_support::ReadFileText(file).find(
                "[window]\r\nX = -1920\r\nY = 40\r\nWidth = 1200\r\nHeight = 900\r\n"
                "Maximised = 1\r\nPanelWidth = 520\r\n"),
            std::string::npos);
  EXPECT_EQ(LoadEditorPreferences(file), preferences);

  const auto read = [&](const std::string& lines) {
    std::ofstream(file, std::ios::binary) << "[window]\n" << lines;
    return LoadEditorPreferences(file).window;
  };
  const std::string place = "X=10\nY=20\nWidth=800\nHeight=600\n";
  EXPECT_EQ(read(place), (WindowPlace{10, 20, 800, 600, false, 0}));
  // Any one of the four missing, empty, not a plain number or out of range drops the place.
  for (const char* bad : {"Width=0", "Width=-800", "Width=20001", "Height=99999999999999999999",
                          "X=100001", "Y=-100001", "X=1e3", "X=0x10", "Width=800px", "Width=+800",
                          "Width=", "Y=--1", "Height=1 000", "X=\xEF\xBC\x91"}) {
    const std::string key = std::string(bad).substr(0, std::string(bad).find('='));
    std::string lines;
    for (const char* line : {"X=10", "Y=20", "Width=800", "Height=600"}) {
      lines += std::string(line).starts_with(key + "=") ? std::string(bad) : std::string(line);
      lines += "\n";
    }
    EXPECT_EQ(read(lines), std::nullopt) << bad;
  }
  EXPECT_EQ(read("X=10\nY=20\nWidth=800\n"), std::nullopt);
  // The optional two read as off and 0 when they are not what they should be.
  EXPECT_EQ(read(place + "Maximised=2\nPanelWidth=-5\n"), (WindowPlace{10, 20, 800, 600}));
  EXPECT_EQ(read(place + "Maximised=1\nPanelWidth=999999\n"),
            (WindowPlace{10, 20, 800, 600, true, 0}));
}

}  // namespace
}  // namespace i18n
