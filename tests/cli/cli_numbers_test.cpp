// skinsmith-cli's numbers: decimal digits, leading zeros meaning nothing, any other form refused.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "imaging/bmp16.h"
#include "imaging/png_codec.h"
#include "test_support.h"

namespace {

using testing_support::RunCli;

struct Case {
  const char* args;  // the options of an import of a 6 x 6 picture
  int status;
  int width = 0;  // of the written bitmap, when it is written
  int height = 0;
};

constexpr Case kImports[] = {
    {"--size 010x012", 0, 10, 12},  // not octal 8 x 10
    {"--size 0010x9", 0, 10, 9},
    {"--size 0x10x8", 2},  // neither hexadecimal nor "0 by 10x8"
    {"--size 1e1x8", 2},
    {"--size +5x5", 2},
    {"--size ' 5x5'", 2},
    {"--size 5x5.0", 2},
    {"--size 4097x1", 2},
    {"--strength 0144", 2},  // 144, above 100; not octal 100
    {"--strength 0100", 0, 6, 6},
    {"--strength 0x10", 2},
    {"--key 0x00FF00", 0, 6, 6},  // colours are written in hexadecimal
    {"--key 0xGG0000", 2},
    {"--key 0x1000000", 2},
    // A key's tolerance is an OKLab distance up to 0.5, its place two fractions; both need a key.
    {"--key 0x0 --key-tolerance 0.05 --key-at 0,1", 0, 6, 6},
    {"--key 0x0 --key-tolerance .5", 0, 6, 6},
    {"--key-tolerance 0.1", 2},
    {"--key 0x0 --key-tolerance 0.51", 2},
    {"--key 0x0 --key-tolerance nan", 2},
    {"--key 0x0 --key-tolerance -0.1", 2},
    {"--key 0x0 --key-at 1.5,0", 2},
    {"--key-at 0,0", 2},
};

TEST(CliNumbers, AreDecimalWithLeadingZerosAndAnythingElseIsRefused) {
  testing_support::TempDir dir;
  const std::vector<std::uint8_t> png = imaging::EncodePng(imaging::Image(6, 6));
  std::ofstream(dir.path() / "in.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  const std::string out = (dir.path() / "out.bmp").string();
  for (const Case& c : kImports) {
    std::filesystem::remove(out);
    EXPECT_EQ(
        RunCli("import " + (dir.path() / "in.png").string() + " " + out + " " + c.args).status,
        c.status)
        << c.args;
    if (c.status != 0) continue;
    const std::string bytes = testing_support::ReadFileText(out);
    const imaging::Decoded written =
        imaging::DecodeBmp16({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(written) << c.args;
    EXPECT_EQ(written->width, c.width) << c.args;
    EXPECT_EQ(written->height, c.height) << c.args;
  }

  // Render's screen, canvas point and zoom read the same way: screen 010 is screen 10.
  const auto which = [](const std::string& args) {
    return testing_support::RunCommand(std::string(SKINSMITH_CLI) + " render --default " + args)
        .err;
  };
  EXPECT_EQ(which("--screen 010 --which 0100,0200"), which("--screen 10 --which 100,200"));
  for (const char* refused : {"--screen 0x1 --which 1,1", "--screen 1 --which 0x10,1",
                              "--screen 1 -o {} --zoom 0x1p1", "--screen 1 -o {} --zoom 2e0"}) {
    std::string args = refused;
    if (const auto at = args.find("{}"); at != std::string::npos) {
      args.replace(at, 2, (dir.path() / "x.png").string());
    }
    EXPECT_EQ(RunCli("render --default " + args).status, 2) << refused;
  }
  EXPECT_EQ(RunCli("render --default --screen 1 --zoom 01.5 -o " + (dir.path() / "x.png").string())
                .status,
            0);
}

}  // namespace
