// skinsmith-cli convert and import.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "imaging/bmp16.h"
#include "imaging/dither.h"
#include "imaging/jpeg_writer.h"
#include "imaging/png_codec.h"
#include "test_support.h"
#include "zip_writer.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CliRun;
using testing_support::RunCli;

TEST(CliConvert, FolderAndArchiveGiveTheSameSkin) {
  testing_support::TempDir dir;
  const fs::path original = dir.path() / "original";
  ASSERT_EQ(RunCli("defaults " + original.string()).status, 0);
  std::ofstream(original / "uisettings.ini", std::ios::app) << "[big clock]\r\nx=12\r\n";

  std::vector<testing_support::ZipEntry> entries;
  for (const auto& entry : fs::recursive_directory_iterator(original)) {
    if (!entry.is_regular_file()) continue;
    entries.push_back({"skin/" + fs::relative(entry.path(), original).string(),
                       testing_support::ReadFileText(entry.path())});
  }
  ASSERT_TRUE(testing_support::WriteZip((dir.path() / "skin.ZIP").string(), entries));

  EXPECT_EQ(RunCli("convert " + original.string() + " " + (dir.path() / "a").string()).status, 0);
  EXPECT_EQ(
      RunCli("convert " + (dir.path() / "skin.ZIP").string() + " " + (dir.path() / "b").string())
          .status,
      0);
  for (const char* file : {"btn.bmp", "icon/nds.bmp", "upper_screen.bmp"}) {
    EXPECT_EQ(testing_support::ReadFileText(dir.path() / "a" / file),
              testing_support::ReadFileText(original / file))
        << file;
    EXPECT_EQ(testing_support::ReadFileText(dir.path() / "b" / file),
              testing_support::ReadFileText(original / file))
        << file;
  }
  EXPECT_NE(testing_support::ReadFileText(dir.path() / "b/uisettings.ini")
                .find("[big clock]\r\nx=12\r\n"),
            std::string::npos);
}

TEST(CliConvert, MissingSettingsSavesNothing) {
  testing_support::TempDir dir;
  const CliRun run = RunCli("convert " + dir.path().string() + " " + (dir.path() / "out").string());
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(run.err.empty());
  EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST(CliImport, WritesASixteenBitBmpOrFails) {
  testing_support::TempDir dir;
  const imaging::Image picture = testing_support::PhotoLikePicture(24, 16);
  const std::vector<std::uint8_t> png = imaging::EncodePng(picture);
  std::ofstream(dir.path() / "in.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), png.size());
  const std::string io = (dir.path() / "in.png").string() + " " + (dir.path() / "out.bmp").string();
  const auto written = [&] {
    const std::string bytes = testing_support::ReadFileText(dir.path() / "out.bmp");
    auto image =
        imaging::DecodeBmp16({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    return image ? *image : imaging::Image();
  };
  // At its own size the picture is reduced exactly as the editor's import reduces it.
  ASSERT_EQ(RunCli("import " + io).status, 0);
  imaging::Image classic = picture;
  imaging::DitherToRgb555(classic);
  EXPECT_EQ(written(), classic);
  // Fitted to a size, it is reduced to the console's levels unless told otherwise.
  ASSERT_EQ(RunCli("import " + io + " --size 12x8 --dither serpentine").status, 0);
  const auto serpentine = written();
  ASSERT_EQ(RunCli("import " + io + " --size 12x8").status, 0);
  EXPECT_EQ(written(), serpentine);
  ASSERT_EQ(RunCli("import " + io + " --size 12x8 --dither fs").status, 0);
  EXPECT_NE(written(), serpentine);

  const CliRun missing = RunCli("import " + (dir.path() / "nope.png").string() + " " +
                                (dir.path() / "x.bmp").string());
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, (dir.path() / "nope.png").string() + " : File not found.\n");
}

TEST(CliImport, FitsToASlotsSizeOrRefusesOptionsItCannotUse) {
  testing_support::TempDir dir;
  imaging::Image picture(8, 4, imaging::MakeRgb(64, 128, 192));
  const std::vector<std::uint8_t> png = imaging::EncodePng(picture);
  std::ofstream(dir.path() / "in.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), png.size());
  const std::string io = (dir.path() / "in.png").string() + " " + (dir.path() / "out.bmp").string();
  const auto written = [&] {
    const std::string bytes = testing_support::ReadFileText(dir.path() / "out.bmp");
    return imaging::DecodeBmp16(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  };
  // The nds icon's expected size, the picture in its middle and key green above and below.
  ASSERT_EQ(
      RunCli("import " + io + " --size nds --fit contain --resample nearest --dither none").status,
      0);
  auto image = written();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->height, 32);
  EXPECT_EQ(image->At(0, 0), imaging::kKeyColour);
  EXPECT_EQ(image->At(16, 16), imaging::MakeRgb(64, 128, 192));
  // A screen background is drawn without a key: contain fills around the picture with black.
  ASSERT_EQ(RunCli("import " + io + " --size upper_screen --fit contain --dither none").status, 0);
  image = written();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 256);
  EXPECT_EQ(image->At(0, 0), 0u);
  EXPECT_EQ(image->At(128, 96), imaging::MakeRgb(64, 128, 192));
  ASSERT_EQ(RunCli("import " + io +
                   " --size 3x5 --focus 0,1 --dither ordered --strength 50 --key 0x102030")
                .status,
            0);
  EXPECT_EQ(written()->width, 3);
  for (const char* wrong :
       {"--size 0x5", "--size upper", "--fit cover", "--focus 0.5", "--size 2x2 --focus 2,0",
        "--dither fancy", "--strength 101", "--key green", "--resample nearest", "extra"}) {
    EXPECT_EQ(RunCli("import " + io + " " + wrong).status, 2) << wrong;
  }
}

// A JPEG whose data ends before its picture does is refused as a file of unknown format, and no
// bitmap is written.
TEST(CliImport, BrokenJpegsAreRefusedAndNothingIsWritten) {
  testing_support::TempDir dir;
  const imaging::Image photo = testing_support::PhotoLikePicture(160, 120);
  const std::vector<std::uint8_t> baseline = testing_support::WriteTestJpeg(photo, false);
  const std::vector<std::uint8_t> progressive = testing_support::WriteTestJpeg(photo, true);
  std::vector<std::uint8_t> declaring = testing_support::WriteTestJpeg(imaging::Image(8, 8), false);
  for (std::size_t i = 0; i + 9 < declaring.size(); ++i) {
    if (declaring[i] == 0xFF && declaring[i + 1] == 0xC0) {
      declaring[i + 5] = 0x10;  // 4096 rows
      declaring[i + 7] = 0x40;  // 16384 columns
      declaring[i + 6] = declaring[i + 8] = 0;
      break;
    }
  }
  const std::size_t in_first_scan = testing_support::ScanStart(progressive, 0) + 30;
  const std::pair<const char*, std::vector<std::uint8_t>> kBroken[] = {
      {"half.jpg", {baseline.begin(), baseline.begin() + baseline.size() / 2}},
      {"first_scan.jpg", {progressive.begin(), progressive.begin() + in_first_scan}},
      {"declaring.jpg", declaring}};
  for (const auto& [name, bytes] : kBroken) {
    const fs::path in = dir.path() / name;
    std::ofstream(in, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    for (const char* options : {"", " --size upper_screen"}) {
      const CliRun run =
          RunCli("import " + in.string() + " " + (dir.path() / "out.bmp").string() + options);
      EXPECT_EQ(run.status, 2) << name << options;
      EXPECT_EQ(run.err, in.string() + ": Unknown or unsupported image format.\n") << name;
      EXPECT_FALSE(fs::exists(dir.path() / "out.bmp")) << name << options;
    }
  }
}

// Names from an archive reach the terminal with their control characters spelt out: an entry
// name cannot clear the screen, retitle the window or hide the messages after it.
TEST(CliConvert, ControlCharactersInNamesArePrintedEscaped) {
  testing_support::TempDir dir;
  const std::string root =
      "evil\x1b]0;owned\x07\x1b[2J\xc2\x9b"
      "31m/";
  ASSERT_TRUE(testing_support::WriteZip((dir.path() / "evil.zip").string(),
                                        {{root + "uisettings.ini", "[end]\r\n", true}}));
  const CliRun run =
      RunCli("convert " + (dir.path() / "evil.zip").string() + " " + (dir.path() / "out").string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
  EXPECT_EQ(run.err.find('\x07'), std::string::npos);
  EXPECT_EQ(run.err.find("\xc2\x9b"), std::string::npos);
  EXPECT_NE(
      run.err.find("evil\\x1b]0;owned\\x07\\x1b[2J\\xc2\\x9b31m\\active.bmp : File not found."),
      std::string::npos)
      << run.err;
}

}  // namespace
