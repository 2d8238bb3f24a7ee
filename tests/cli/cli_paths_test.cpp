// skinsmith-cli with paths the system refuses: every command ends with a message and status 2.
#include <gtest/gtest.h>

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

}  // namespace
