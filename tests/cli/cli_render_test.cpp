// skinsmith-cli render: single screens, the contact sheet and bad arguments.
#include <gtest/gtest.h>

#include "imaging/png_codec.h"
#include "test_support.h"

namespace {

using testing_support::RunCli;

TEST(CliRender, ScreensSheetsZoomAndBackground) {
  testing_support::TempDir dir;
  const std::string out = (dir.path() / "s.png").string();
  ASSERT_EQ(RunCli("render --default --screen 13 -o " + out).status, 0);
  imaging::Decoded image = testing_support::ReadPicture(out);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 266);
  EXPECT_EQ(image->height, 490);

  ASSERT_EQ(
      RunCli("render --default --screen 0 --zoom 1.15 --background 0xFF0000 -o " + out).status, 0);
  image = testing_support::ReadPicture(out);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 306);
  EXPECT_EQ(image->At(0, 0), imaging::MakeRgb(255, 0, 0)) << "red first, as on the web";

  ASSERT_EQ(RunCli("render --default --all -o " + out).status, 0);
  image = testing_support::ReadPicture(out);
  ASSERT_TRUE(image);
  EXPECT_GT(image->width, 7 * 266);
}

TEST(CliRender, BadArgumentsAreUsageErrors) {
  testing_support::TempDir dir;
  const std::string out = (dir.path() / "s.png").string();
  EXPECT_EQ(RunCli("render --default --screen 14 -o " + out).status, 2);
  EXPECT_EQ(RunCli("render --default -o " + out).status, 2);
  EXPECT_EQ(RunCli("render --default --screen 1").status, 2);
  EXPECT_EQ(RunCli("render --screen 1 -o " + out).status, 2);
  EXPECT_EQ(RunCli("render " + dir.path().string() + " --screen 1 -o " + out).status, 2)
      << "a folder without uisettings.ini";
  EXPECT_EQ(
      RunCli("render --default --screen 1 -o " + (dir.path() / "no" / "s.png").string()).status, 2);
}

}  // namespace
