// skinsmith-cli with paths the system refuses, and outputs that are no regular file: every command
// ends with a message and status 2.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

using testing_support::RunCli;

// Each command line with every path it takes, one at a time, put in by {}: the other paths,
// {skin} and {out}, are usable, so that the command gets as far as the refused one.
constexpr const char* kCommands[] = {
    "defaults {}",
    "convert {} {out}",
    "convert {}.zip {out}",
    "convert {skin} {}",
    "import {} {out}/x.bmp",
    "import {skin}/btn.bmp {}",
    "render {} --screen 0 -o {out}/x.png",
    "render --default --all -o {}",
    "export {} {out}/x.zip",
    "export --default {}",
};

std::string Replace(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size()) {
    text.replace(at, what.size(), with);
  }
  return text;
}

TEST(CliPaths, APathTooLongForTheSystemIsAMessageAndStatusTwo) {
  testing_support::TempDir dir;
  const std::string skin = (dir.path() / "skin").string();
  const std::string out = (dir.path() / "out").string();
  ASSERT_EQ(RunCli("defaults " + skin).status, 0);
  ASSERT_EQ(RunCli("defaults " + out).status, 0);
  std::string nested;
  while (nested.size() < 5000) nested += "d/";
  // One name longer than a name may be, and a path of short names longer than a path may be.
  for (const std::string& name : {std::string(5000, 'x'), nested}) {
    const std::string refused = dir.folder() + name;
    for (const char* command : kCommands) {
      const std::string args =
          Replace(Replace(Replace(command, "{}", refused), "{skin}", skin), "{out}", out);
      SCOPED_TRACE(std::string(command) + " with " + name.substr(0, 4) + "...");
      const testing_support::CliRun run = RunCli(args);
      EXPECT_EQ(run.status, 2);
      EXPECT_FALSE(run.err.empty());
      EXPECT_EQ(run.err.find("terminate"), std::string::npos) << run.err.substr(0, 200);
    }
  }
}

// Each command with its output put in by {}, and whether that output is a file (a folder there is
// refused) or a skin folder.
constexpr std::pair<const char*, bool> kOutputs[] = {
    {"import {skin}/btn.bmp {}", true},
    {"render --default --screen 0 -o {}", true},
    {"render --default --all -o {}", true},
    {"export --default {}", true},
    {"defaults {}", false},
    {"convert {skin} {}", false},
};

// An output that exists as a folder, or as a named pipe, is left as it is: the command says so and
// writes nothing in its place.
TEST(CliPaths, AnOutputThatIsNoRegularFileIsLeftAloneWithAMessage) {
  testing_support::TempDir dir;
  const std::string skin = (dir.path() / "skin").string();
  ASSERT_EQ(RunCli("defaults " + skin).status, 0);
  const auto refuse = [&](const std::string& out, bool files_only) {
    for (const auto& [command, file] : kOutputs) {
      if (files_only && !file) continue;
      SCOPED_TRACE(command);
      const testing_support::CliRun run =
          RunCli(Replace(Replace(command, "{}", out), "{skin}", skin));
      EXPECT_EQ(run.status, 2);
      EXPECT_NE(run.err.find(out), std::string::npos) << run.err;
    }
  };
  const std::filesystem::path folder = dir.path() / "folder";
  std::filesystem::create_directory(folder);
  refuse(folder.string(), true);
  EXPECT_TRUE(std::filesystem::is_empty(folder));

  SKINSMITH_SKIP_ON_WINDOWS("named pipes do not live in folders");
#ifndef _WIN32
  const std::filesystem::path pipe = dir.path() / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  refuse(pipe.string(), false);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
#endif
}

}  // namespace
