// Writing, replacing and removing files by name inside an opened folder, and never through a
// symbolic link found there.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/file_io.h"
#include "base/paths.h"
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
    SKINSMITH_MAKE_LINK(outside_.path() / "target", dir_.path() / "file");
    SKINSMITH_MAKE_LINK(outside_.path() / "missing", dir_.path() / "dangling");
    for (const char* name : {"file", "dangling"}) {
      EXPECT_TRUE(write(name)) << name;
      EXPECT_FALSE(testing_support::IsLink(dir_.path() / name)) << name;
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
  SKINSMITH_MAKE_LINK(outside_.path() / "sub", dir_.path() / "link", true);
  SKINSMITH_MAKE_LINK(outside_.path() / "none", dir_.path() / "dangling", true);
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
  SKINSMITH_MAKE_LINK(outside_.path() / "target", dir_.path() / ".f.skinsmith-bbbbbb");
  fs::create_directory(dir_.path() / ".f.skinsmith-cccccc");
  SKINSMITH_MAKE_LINK(outside_.path() / "sub", dir_.path() / "link", true);
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
#ifdef _WIN32
  SKINSMITH_SKIP_ON_WINDOWS("no POSIX permission bits");
#else
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
#endif
}

// A folder whose name no ANSI code page holds opens, is written and is read like any other.
TEST_F(FolderTest, NamesOutsideTheAnsiCodePageWork) {
  const std::string folder = dir_.folder() + "Zoë スキン";
  ASSERT_TRUE(MakeFolders(folder + "/icon"));
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_TRUE(WriteFileAtomically(folder + "/icon/ü.bmp", kBytes));
  EXPECT_TRUE(Folder::Open(folder).OpenSub("icon", false).WriteFileAtomically("ß", kBytes));
  const ReadResult read = ReadWholeFile(folder + "/icon/ü.bmp", 100);
  EXPECT_EQ(read.status, ReadStatus::kOk);
  EXPECT_EQ(read.bytes, kBytes);
  EXPECT_EQ(StampOf(folder + "/icon/ß").size, kBytes.size());
  EXPECT_TRUE(fs::is_regular_file(FsPath(folder + "/icon/ß")));
}

// What tells two versions of a file apart: the same file keeps its number, a replacement by a
// rename is another file, and a write changes size or time.
TEST_F(FolderTest, StampsTellFilesApart) {
  const std::string file = dir_.folder() + "f";
  EXPECT_EQ(StampOf(file).kind, FileKind::kMissing);
  ASSERT_TRUE(WriteFileAtomically(file, kBytes));
  const FileStamp first = StampOf(file);
  EXPECT_EQ(first.kind, FileKind::kRegular);
  EXPECT_TRUE(SameFile(first, StampOf(file)));
  ASSERT_TRUE(WriteFileAtomically(file, {kBytes.data(), 2}));
  const FileStamp second = StampOf(file);
  EXPECT_FALSE(SameFile(first, second)) << "a rename over the file makes another file";
  EXPECT_EQ(second.size, 2u);
  EXPECT_EQ(StampOf(dir_.folder()).kind, FileKind::kFolder);
  EXPECT_FALSE(SameFile(StampOf(file + "x"), StampOf(file + "x"))) << "nothing is no file";
}

// An existing output that is neither a regular file nor a link is left as it is.
TEST_F(FolderTest, AWriteLeavesFoldersAndDevicesAlone) {
  fs::create_directory(dir_.path() / "sub");
  EXPECT_FALSE(WriteFileAtomically(dir_.folder() + "sub", kBytes));
  EXPECT_TRUE(fs::is_directory(dir_.path() / "sub"));
  EXPECT_FALSE(WriteFileAtomically(dir_.folder() + "sub/", kBytes)) << "a folder's name";
#ifdef _WIN32
  EXPECT_FALSE(WriteFileAtomically(dir_.folder() + "NUL", kBytes));
  EXPECT_FALSE(WriteFileAtomically(dir_.folder() + "com1.bmp", kBytes));
#else
  ASSERT_EQ(::mkfifo((dir_.path() / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(WriteFileAtomically(dir_.folder() + "pipe", kBytes));
  EXPECT_EQ(KindOf(dir_.folder() + "pipe"), FileKind::kOther);
#endif
#ifdef _WIN32
  EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"sub"}) << "no temporary is left behind";
#else
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"pipe", "sub"}));
#endif
}

// Devices are never opened for reading, whatever folder their name is given in.
TEST_F(FolderTest, OnlyRegularFilesAreRead) {
#ifdef _WIN32
  const std::vector<std::string> devices{"NUL", dir_.folder() + "CON", dir_.folder() + "com1.bmp",
                                         "\\\\.\\pipe\\skinsmith", "//./COM1"};
#else
  const std::vector<std::string> devices{"/dev/null", "/dev/zero", "/dev/tty"};
#endif
  for (const std::string& device : devices) {
    EXPECT_EQ(ReadWholeFile(device, 100).status, ReadStatus::kNotRegularFile) << device;
    EXPECT_NE(KindOf(device), FileKind::kRegular) << device;
    EXPECT_FALSE(InputFile::Open(device).is_open()) << device;
  }
  EXPECT_EQ(ReadWholeFile(dir_.folder(), 100).status, ReadStatus::kNotRegularFile);
  EXPECT_EQ(ReadWholeFile(dir_.folder() + "none", 100).status, ReadStatus::kCannotOpen);
}

// A file that another program holds open without sharing its deletion, as virus scanners and
// image viewers do on Windows, is replaced once it is let go within about a second, and the write
// fails when it is not.
TEST_F(FolderTest, AFileHeldOpenIsReplacedOnceItIsLetGo) {
#ifndef _WIN32
  GTEST_SKIP() << "only Windows keeps an open file from being replaced";
#else
  const std::string file = dir_.folder() + "held";
  ASSERT_TRUE(WriteFileAtomically(file, kBytes));
  {
    std::ifstream held(FsPath(file));  // shares reading and writing, not deletion
    EXPECT_FALSE(WriteFileAtomically(file, {kBytes.data(), 1}));
  }
  auto held = std::make_unique<std::ifstream>(FsPath(file));
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    held.reset();
  });
  EXPECT_TRUE(WriteFileAtomically(file, {kBytes.data(), 1}));
  release.join();
  EXPECT_EQ(ReadFileText(FsPath(file)), "n");
  EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"held"});
#endif
}

}  // namespace
}  // namespace base
