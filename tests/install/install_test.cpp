// The install tree: cmake --install into a temporary prefix puts the programs, the language files,
// the manual pages, the desktop entry, the AppStream metadata and the icons where desktops and the
// programs look for them, and the desktop files pass the freedesktop validators.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "imaging/png_codec.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileText;
using testing_support::RunProgram;

constexpr const char* kAppId = "org.example.skinsmith";

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

class InstallTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new testing_support::TempDir;
    const testing_support::CliRun run =
        RunProgram(SKINSMITH_CMAKE, std::string("--install ") + SKINSMITH_BUILD_DIR + " --prefix " +
                                        prefix_->path().string());
    install_status_ = run.status;
    install_errors_ = run.err;
  }
  static void TearDownTestSuite() { delete prefix_; }
  void SetUp() override { ASSERT_EQ(install_status_, 0) << install_errors_; }

  static fs::path Installed(const std::string& relative) { return prefix_->path() / relative; }

  static inline testing_support::TempDir* prefix_ = nullptr;
  static inline int install_status_ = -1;
  static inline std::string install_errors_;
};

bool IsExecutable(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IXOTH) != 0;
}

TEST_F(InstallTree, ProgramsLanguagesAndManualPages) {
  EXPECT_TRUE(IsExecutable(Installed("bin/skinsmith-cli")));
  if (SKINSMITH_HAS_EDITOR) {
    EXPECT_TRUE(IsExecutable(Installed("bin/skinsmith")));
  }

  int languages = 0;
  for (const auto& file : fs::directory_iterator(fs::path(SKINSMITH_SOURCE_DIR) / "language")) {
    ++languages;
    EXPECT_EQ(ReadFileText(Installed("share/skinsmith/language") / file.path().filename()),
              ReadFileText(file.path()))
        << file.path().filename();
  }
  EXPECT_EQ(languages, 9);

  // The user guide that the editor's information box opens, with its pictures.
  if (SKINSMITH_HAS_EDITOR) {
    const fs::path guide = Installed("share/doc/skinsmith/user-guide.html");
    EXPECT_EQ(ReadFileText(guide),
              ReadFileText(fs::path(SKINSMITH_SOURCE_DIR) / "docs" / "user-guide.html"));
    const std::string html = ReadFileText(guide);
    for (std::size_t at = html.find("<img src=\""); at != std::string::npos;
         at = html.find("<img src=\"", at + 1)) {
      const std::size_t start = at + 10;
      const std::string picture = html.substr(start, html.find('"', start) - start);
      EXPECT_TRUE(fs::is_regular_file(guide.parent_path() / picture)) << picture;
    }
  }

  for (const char* page : {"skinsmith-cli.1.gz", "skinsmith.1.gz"}) {
    if (!SKINSMITH_HAS_EDITOR && std::string(page) == "skinsmith.1.gz") continue;
    const std::string gz = ReadFileText(Installed("share/man/man1") / page);
    ASSERT_GT(gz.size(), 10u) << page;
    EXPECT_EQ(gz.substr(0, 2), "\x1f\x8b") << page;
    EXPECT_EQ(gz.substr(4, 4), std::string(4, '\0')) << page << ": no time stamp in the header";
  }

  // The installed command-line tool runs from the prefix.
  const fs::path archive = prefix_->path() / "default.zip";
  EXPECT_EQ(
      RunProgram(Installed("bin/skinsmith-cli").string(), "export --default " + archive.string())
          .status,
      0);
  EXPECT_TRUE(fs::is_regular_file(archive));
}

// The key=value lines of the desktop entry's [Desktop Entry] group.
std::map<std::string, std::string> DesktopKeys(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return keys;
}

TEST_F(InstallTree, DesktopEntryMetadataAndIconsNameEachOther) {
  if (!SKINSMITH_HAS_EDITOR) GTEST_SKIP() << "the editor is not built";
  const std::string desktop_file = std::string(kAppId) + ".desktop";
  const std::map<std::string, std::string> entry =
      DesktopKeys(ReadFileText(Installed("share/applications") / desktop_file));
  EXPECT_EQ(entry.at("Exec"), "skinsmith %f") << "one file or folder, as the editor takes it";
  EXPECT_EQ(entry.at("Icon"), kAppId);
  EXPECT_NE(entry.at("MimeType").find("application/zip;"), std::string::npos);
  EXPECT_EQ(entry.at("Type"), "Application");

  const std::string metainfo =
      ReadFileText(Installed("share/metainfo") / (std::string(kAppId) + ".metainfo.xml"));
  EXPECT_NE(metainfo.find("<id>" + std::string(kAppId) + "</id>"), std::string::npos);
  EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">" + desktop_file + "</launchable>"),
            std::string::npos);
  EXPECT_NE(metainfo.find("<screenshot type=\"default\">"), std::string::npos);
  EXPECT_NE(metainfo.find("<image>https://"), std::string::npos);

  const fs::path icons = Installed("share/icons/hicolor");
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const imaging::Decoded icon =
        testing_support::ReadPicture(icons / name / "apps" / (std::string(kAppId) + ".png"));
    ASSERT_TRUE(icon) << name;
    EXPECT_EQ(icon->width, size);
    EXPECT_EQ(icon->height, size);
  }
  const std::string svg =
      ReadFileText(icons / "scalable" / "apps" / (std::string(kAppId) + ".svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
}

TEST_F(InstallTree, DesktopEntryAndMetadataPassTheValidators) {
  if (!SKINSMITH_HAS_EDITOR) GTEST_SKIP() << "the editor is not built";
  bool validated = false;
  if (OnPath("desktop-file-validate")) {
    const testing_support::CliRun run = testing_support::RunCommand(
        "desktop-file-validate " +
        (Installed("share/applications") / (std::string(kAppId) + ".desktop")).string() + " 2>&1");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "") << "not even a hint";
    validated = true;
  }
  if (OnPath("appstreamcli")) {
    const testing_support::CliRun run = testing_support::RunCommand(
        "appstreamcli validate --no-net " +
        (Installed("share/metainfo") / (std::string(kAppId) + ".metainfo.xml")).string() + " 2>&1");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Validation was successful."), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("infos:"), std::string::npos) << run.err;
    validated = true;
  }
  if (!validated) GTEST_SKIP() << "desktop-file-validate and appstreamcli are not installed";
}

}  // namespace
