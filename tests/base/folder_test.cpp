// Writing, replacing and removing files by name inside an opened folder, and never through a
// symbolic link found there.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "test_support.h"

namespace base {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileText;
using testing_support::TempDir;

const std::vector<std::uint8_t> kBytes{'n', 'e', 'w'};

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(outside_.path() / "target") << "theirs";
    fs::create_directory(outside_.path() / "sub");
  }
  TempDir dir_, outside_;
};

// A link where the file goes is replaced by the file, whichever way the write names it; what the
// link named stays as it was.
TEST_F(FolderTest, AWriteReplacesALinkAndNeverWritesThroughIt) {
  const std::vector<std::function<bool(const std::string&)>> writes{
      [&](const std::string& name) {
        return Folder::Open(dir_.path().string()).WriteFileAtomically(name, kBytes);
      },
      [&](const std::string& name) { return WriteFileAtomically(dir_.folder() + name, kBytes); }};
  for (const auto& write : writes) {
    fs::create_symlink(outside_.path() / "target", dir_.path() / "file");
    fs::create_symlink(outside_.path() / "missing", dir_.path() / "dangling");
    for (const char* name : {"file", "dangling"}) {
      EXPECT_TRUE(write(name)) << name;
      EXPECT_FALSE(fs::is_symlink(dir_.path() / name)) << name;
      EXPECT_EQ(ReadFileText(dir_.path() / name), "new") << name;
    }
    EXPECT_EQ(Names(outside_.path()), (std::vector<std::string>{"sub", "target"}));
    EXPECT_EQ(ReadFileText(outside_.path() / "target"), "theirs");
    fs::remove(dir_.path() / "file");
    fs::remove(dir_.path() / "dangling");
  }
}

// Only a single name is taken: nothing is made in the folder, beside it or below it otherwise.
TEST_F(FolderTest, RefusesNamesThatAreNotASingleName) {
  fs::create_directory(dir_.path() / "in");
  const Folder folder = Folder::Open((dir_.path() / "in").string());
  ASSERT_TRUE(folder.is_open());
  for (const std::string& name :
       {std::string(), std::string("."), std::string(".."), std::string("a/b"), std::string("../x"),
        std::string("/tmp"), std::string("a\0b", 3)}) {
    EXPECT_FALSE(folder.WriteFileAtomically(name, kBytes)) << name;
    EXPECT_FALSE(folder.OpenSub(name, true).is_open()) << name;
  }
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"in"}));
  EXPECT_TRUE(fs::is_empty(dir_.path() / "in"));
}

TEST_F(FolderTest, OpensOrMakesASubFolderButNotALinkOrAFile) {
  const Folder folder = Folder::Open(dir_.folder());
  fs::create_directory_symlink(outside_.path() / "sub", dir_.path() / "link");
  fs::create_directory_symlink(outside_.path() / "none", dir_.path() / "dangling");
  std::ofstream(dir_.path() / "file") << "x";
  for (const char* name : {"link", "dangling", "file"}) {
    const Folder sub = folder.OpenSub(name, true);
    EXPECT_FALSE(sub.is_open()) << name;
    EXPECT_FALSE(sub.WriteFileAtomically("f", kBytes)) << name;
  }
  EXPECT_FALSE(folder.OpenSub("made", false).is_open());
  EXPECT_FALSE(fs::exists(dir_.path() / "made"));
  EXPECT_TRUE(folder.OpenSub("made", true).WriteFileAtomically("f", kBytes));
  EXPECT_TRUE(folder.OpenSub("made", false).WriteFileAtomically("g", kBytes));
  EXPECT_EQ(Names(dir_.path() / "made"), (std::vector<std::string>{"f", "g"}));
  EXPECT_TRUE(fs::is_empty(outside_.path() / "sub"));
  EXPECT_FALSE(fs::exists(outside_.path() / "none"));
}

// A folder that cannot be opened writes nothing and removes nothing, and no temporary stays.
TEST_F(FolderTest, AFolderThatIsNotOpenDoesNothing) {
  std::ofstream(dir_.path() / "file") << "x";
  for (const std::string& path : {dir_.folder() + "missing", dir_.folder() + "file"}) {
    const Folder folder = Folder::Open(path);
    EXPECT_FALSE(folder.is_open()) << path;
    EXPECT_FALSE(folder.WriteFileAtomically("f", kBytes)) << path;
    EXPECT_FALSE(WriteFileAtomically(path + "/f", kBytes)) << path;
  }
  fs::create_directories(dir_.path() / "full" / "f" / "keep");
  EXPECT_FALSE(Folder::Open(dir_.folder() + "full").WriteFileAtomically("f", kBytes));
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"file", "full"}));
  EXPECT_EQ(Names(dir_.path() / "full"), (std::vector<std::string>{"f"}));
}

// Only regular files are leftovers: a link of a leftover's name goes nowhere, nor what it names.
TEST_F(FolderTest, RemovesOnlyRegularLeftovers) {
  std::ofstream(dir_.path() / ".f.skinsmith-aaaaaa") << "partial";
  fs::create_symlink(outside_.path() / "target", dir_.path() / ".f.skinsmith-bbbbbb");
  fs::create_directory(dir_.path() / ".f.skinsmith-cccccc");
  fs::create_directory_symlink(outside_.path() / "sub", dir_.path() / "link");
  std::ofstream(outside_.path() / "sub" / ".f.skinsmith-dddddd") << "theirs";
  const Folder folder = Folder::Open(dir_.folder());
  folder.RemoveLeftoverTemporaries(std::vector<std::string>{"f"});
  folder.OpenSub("link", false).RemoveLeftoverTemporaries(std::vector<std::string>{"f"});
  EXPECT_EQ(Names(dir_.path()),
            (std::vector<std::string>{".f.skinsmith-bbbbbb", ".f.skinsmith-cccccc", "link"}));
  EXPECT_EQ(ReadFileText(outside_.path() / "target"), "theirs");
  EXPECT_TRUE(fs::exists(outside_.path() / "sub" / ".f.skinsmith-dddddd"));
}

// A written file has the permissions of any new file, 0666 less the umask, as a save by another
// program would give it.
TEST_F(FolderTest, ANewFileTakesItsModeFromTheUmask) {
  const Folder folder = Folder::Open(dir_.folder());
  for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0}}) {
    const mode_t old_mask = ::umask(mask);
    const bool written = folder.WriteFileAtomically("f", kBytes);
    ::umask(old_mask);
    ASSERT_TRUE(written);
    struct stat st {};
    ASSERT_EQ(::stat((dir_.path() / "f").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
  }
}

}  // namespace
}  // namespace base
