// Taking paths apart and putting them together, and the program's surroundings.
#include "base/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/system.h"
#include "test_support.h"

namespace base {
namespace {

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

struct PathCase {
  std::string_view path, name, folder, without_separator;
  bool windows_only = false;  // "\" separates only on Windows
};

TEST(Paths, NameAndFolder) {
  const PathCase cases[] = {
      {"a/b.zip", "b.zip", "a/", "a/b.zip"},
      {"a/b/", "b", "a/", "a/b"},
      {"a//b//", "b", "a//", "a//b"},
      {"/a", "a", "/", "/a"},
      {"/", "", "/", "/"},
      {"name", "name", "", "name"},
      {"", "", "", ""},
      {"C:/Users/Zoë/スキン/", "スキン", "C:/Users/Zoë/", "C:/Users/Zoë/スキン"},
      {"C:\\skins\\a.zip", "a.zip", "C:\\skins\\", "C:\\skins\\a.zip", true},
      {"C:\\", "", "C:\\", "C:\\", true},
      {"C:/x\\", "x", "C:/", "C:/x", true},
  };
  for (const PathCase& c : cases) {
    if (c.windows_only && !kWindows) continue;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(WithoutTrailingSeparator(std::string(c.path)), c.without_separator) << c.path;
  }
  // Elsewhere a "\" is a character of a name like any other.
  if (!kWindows) {
    EXPECT_EQ(FileNameOf("a/b\\c"), "b\\c");
  }
}

TEST(Paths, JoiningAndSeparators) {
  EXPECT_EQ(JoinPath("a", "b"), "a/b");
  EXPECT_EQ(JoinPath("a/", "b"), "a/b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_EQ(FolderWithSeparator("a"), "a/");
  EXPECT_EQ(FolderWithSeparator("a//"), "a/");
  EXPECT_EQ(FolderWithSeparator(""), "");
  EXPECT_EQ(FolderWithSeparator("/"), "/");
  EXPECT_TRUE(HasExtension("a/B.ZIP", ".zip"));
  EXPECT_TRUE(HasExtension(".zip", ".zip"));
  EXPECT_FALSE(HasExtension("a.zip/b", ".zip"));
  EXPECT_FALSE(HasExtension("zip", ".zip"));
}

TEST(Paths, DeviceNames) {
  for (std::string_view name : {"CON", "nul", "Com1", "LPT9", "COM\xC2\xB9", "conin$", "NUL.txt",
                                "con .bmp", "aux.tar.gz"}) {
    EXPECT_TRUE(NamesDevice(name)) << name;
  }
  for (std::string_view name : {"CONSOLE", "COM", "COM10", "xNUL", "nul_", ".nul", "LPT"}) {
    EXPECT_FALSE(NamesDevice(name)) << name;
  }
}

// Sources near a skin folder are written relative to it, and read back to the same path; anything
// that climbs further, or leaves the computer, is refused.
TEST(Paths, NearRelativePathsAndBack) {
  // An absolute path begins with a drive on Windows.
  const std::string r = kWindows ? "C:" : "";
  struct Case {
    std::string folder, path, relative;
    bool windows_only = false;
  } const cases[] = {
      {r + "/a/skin/", r + "/a/skin/p.png", "p.png"},
      {r + "/a/skin", r + "/a/skin/photos/p.png", "photos/p.png"},
      {r + "/a/skin/", r + "/a/photos/p.png", "../photos/p.png"},
      {r + "/a/skin/", r + "/a/skin2/p.png", "../skin2/p.png"},
      {r + "/a/skin/", r + "/b/p.png", ""},
      {r + "/a/skin/", r + "/a/skin", ""},
      {r + "/a/skin/", r + "/a/skin/../p.png", ""},
      {r + "/a/skin/", "photos/p.png", ""},
      {"//server/skin/", "//server/skin/p.png", ""},
      {r + "/", r + "/p.png", "p.png"},
      {"C:\\Skins\\Mine\\", "c:/skins/photos/p.png", "../photos/p.png", true},
      {"C:\\Skins\\Mine\\", "D:\\Skins\\p.png", "", true},
  };
  for (const Case& c : cases) {
    if (c.windows_only && !kWindows) continue;
    EXPECT_EQ(NearRelativePath(c.folder, c.path), c.relative) << c.folder << " " << c.path;
  }
  EXPECT_EQ(ResolveNearPath(r + "/a/skin/", "photos/p.png"), r + "/a/skin/photos/p.png");
  EXPECT_EQ(ResolveNearPath(r + "/a/skin", "./photos//p.png"), r + "/a/skin/photos/p.png");
  EXPECT_EQ(ResolveNearPath(r + "/a/skin/", "../photos/p.png"), r + "/a/photos/p.png");
  EXPECT_EQ(ResolveNearPath(r + "/skin/", "../p.png"), r + "/p.png");
  for (std::string_view refused : std::initializer_list<std::string_view>{
           "", "/etc/passwd", "//server/p.png", "../../p.png", "a/../../p.png", "a/../p.png", "..",
           "./..", std::string_view("a\0b", 3)}) {
    EXPECT_EQ(ResolveNearPath(r + "/a/skin/", refused), std::nullopt) << refused;
  }
  EXPECT_EQ(ResolveNearPath(r + "/", "../p.png"), std::nullopt);
  EXPECT_EQ(ResolveNearPath("skin/", "p.png"), std::nullopt);
  if (kWindows) {
    EXPECT_EQ(ResolveNearPath("C:\\Skins\\Mine", "..\\p.png"), "C:\\Skins\\p.png");
    for (std::string_view refused : std::initializer_list<std::string_view>{
             "C:p.png", "\\\\?\\C:\\p.png", "p.png:stream", "\\p.png"})
      EXPECT_EQ(ResolveNearPath("C:/Skins/Mine/", refused), std::nullopt) << refused;
  }
  EXPECT_TRUE(IsAbsolutePath(kWindows ? "C:/a" : "/a"));
  EXPECT_FALSE(IsAbsolutePath("a/b"));
  EXPECT_EQ(IsAbsolutePath("/a"), !kWindows);  // on Windows the current drive's
  EXPECT_TRUE(IsNetworkPath("//server/share"));
  EXPECT_EQ(IsNetworkPath("\\\\server\\share"), kWindows);
}

TEST(Paths, Utf8SurvivesTheWayThroughStdFilesystem) {
  const std::string path = "Zoë/スキン/uisettings.ini";
  EXPECT_EQ(Utf8Path(FsPath(path)), path);
  EXPECT_TRUE(FsPath(path).filename() == std::filesystem::path(u8"uisettings.ini"));
  EXPECT_EQ(Utf8Path(FsPath("Zoë/スキン").filename()), "スキン");
}

TEST(System, PerUserFolderFollowsTheSystemsRules) {
#ifdef _WIN32
  const testing_support::ScopedEnvironment environment{{"APPDATA", "C:\\Users\\Zoë\\AppData"}};
  EXPECT_EQ(PerUserFolder("Skinsmith"), "C:\\Users\\Zoë\\AppData\\Skinsmith");
#else
  {
    const testing_support::ScopedEnvironment environment{{"XDG_CONFIG_HOME", "/xdg"},
                                                         {"HOME", "/home/u"}};
    EXPECT_EQ(PerUserFolder("Skinsmith"), "/xdg/skinsmith");
  }
  {
    const testing_support::ScopedEnvironment environment{{"XDG_CONFIG_HOME", ""},
                                                         {"HOME", "/home/u"}};
    EXPECT_EQ(PerUserFolder("Skinsmith"), "/home/u/.config/skinsmith");
  }
  const testing_support::ScopedEnvironment environment{{"XDG_CONFIG_HOME", ""}, {"HOME", ""}};
  EXPECT_EQ(PerUserFolder("Skinsmith"), "") << "nowhere rather than the working folder";
#endif
}

TEST(System, EnvironmentValuesAreUtf8) {
  const testing_support::ScopedEnvironment environment{{"SKINSMITH_TEST_VALUE", "Zoë スキン"}};
  EXPECT_EQ(EnvironmentValue("SKINSMITH_TEST_VALUE"), "Zoë スキン");
  EXPECT_EQ(EnvironmentValue("SKINSMITH_TEST_UNSET"), std::nullopt);
}

}  // namespace
}  // namespace base
