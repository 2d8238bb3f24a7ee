// Program files that fight back: settings.ini, editor.ini and a language file replaced by a named
// pipe, a folder, a device or a file of millions of distinct groups or keys. Each reader passes
// such a file over as a missing one, at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "i18n/editor_preferences.h"
#include "i18n/ini_file.h"
#include "i18n/program_settings.h"
#include "i18n/ui_texts.h"
#include "test_support.h"

namespace i18n {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

struct Reader {
  const char* file;
  bool (*gives_defaults)(const TempDir& dir);
};

const Reader kReaders[] = {
    {"settings.ini",
     [](const TempDir& dir) {
       return LoadProgramSettings(dir.folder() + "settings.ini") == ProgramSettings();
     }},
    {"editor.ini",
     [](const TempDir& dir) {
       return LoadEditorPreferences(dir.folder() + "editor.ini") == EditorPreferences();
     }},
    {"german.ini",
     [](const TempDir& dir) {
       UiTexts texts;
       texts.Set("LANG_OK$", "left over from the language before");
       ApplyLanguage(texts, 5, dir.folder());
       for (const TextKey& key : AllTextKeys()) {
         if (texts.Text(key.key) != BuiltInText(key.key)) return false;
       }
       return true;
     }},
};

enum class Hostile { kNamedPipe, kFolder, kDevice, kDistinctKeys, kDistinctGroups };

// Values every reader would take, then 4 MB of distinct keys in one group or of distinct groups.
void Plant(const fs::path& path, Hostile kind) {
  switch (kind) {
#ifdef _WIN32
    // Windows has neither named pipes in folders nor links that Wine can make: folders stand in.
    case Hostile::kNamedPipe:
    case Hostile::kDevice:
#else
    case Hostile::kNamedPipe:
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
      return;
    case Hostile::kDevice:
      SKINSMITH_MAKE_LINK("/dev/zero", path);
      return;
#endif
    case Hostile::kFolder:
      fs::create_directory(path);
      return;
    case Hostile::kDistinctKeys:
    case Hostile::kDistinctGroups: {
      std::string text =
          "[settings]\nLastPath=/x/\nLanguage=3\n[editor]\nFollowChanges=0\n[recent]\n"
          "Skin1=/x/\n[Menu]\nLANG_OK$=Ja\n[pad]\n";
      for (int i = 0; text.size() < 4'000'000; ++i) {
        text += (kind == Hostile::kDistinctKeys ? "k" : "[g") + std::to_string(i) +
                (kind == Hostile::kDistinctKeys ? "=v\n" : "]\n");
      }
      std::ofstream(path, std::ios::binary) << text;
      return;
    }
  }
}

class HostileProgramFile : public testing::TestWithParam<std::tuple<Reader, Hostile>> {};

TEST_P(HostileProgramFile, GivesTheDefaultsAtOnce) {
  const auto [reader, kind] = GetParam();
  TempDir dir;
  Plant(dir.path() / reader.file, kind);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(reader.gives_defaults(dir)) << reader.file;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << reader.file;
}

INSTANTIATE_TEST_SUITE_P(EachReader, HostileProgramFile,
                         testing::Combine(testing::ValuesIn(kReaders),
                                          testing::Values(Hostile::kNamedPipe, Hostile::kFolder,
                                                          Hostile::kDevice, Hostile::kDistinctKeys,
                                                          Hostile::kDistinctGroups)));

TEST(SettingsCanHold, LineEndsNulAndBlanksAtTheEnds) {
  for (const std::string_view value : {"/a/b c/", "", "/日本/", "/%0A/"}) {
    EXPECT_TRUE(SettingsCanHold(value)) << value;
  }
  for (const std::string_view value :
       {std::string_view("/a\nb/"), std::string_view("/a\rb/"), std::string_view("/a\0b/", 5),
        std::string_view(" /a/"), std::string_view("/a/\t"), std::string_view("\n")}) {
    EXPECT_FALSE(SettingsCanHold(value)) << value;
  }
}

TEST(SettingsCanHold, SaveKeepsTheLastPathTheFileHadInsteadOfOneItCannotHold) {
  TempDir dir;
  const std::string file = dir.folder() + "settings/settings.ini";
  ASSERT_TRUE(SaveProgramSettings(file, {"/new\nline/", 5, 7, 1}));
  EXPECT_EQ(testing_support::ReadFileText(file),
            "\xEF\xBB\xBF\r\n[settings]\r\nLastPath = \r\nLanguage = 5\r\nBGColor = 7\r\n"
            "SwapView = 1\r\n")
      << "no file before: no LastPath";
  ASSERT_TRUE(SaveProgramSettings(file, {"/old/", 5, 7, 1}));
  ASSERT_TRUE(SaveProgramSettings(file, {std::string("/a\0b/", 5), 2, 0, 0}));
  EXPECT_EQ(LoadProgramSettings(file), (ProgramSettings{"/old/", 2, 0, 0}));
  ASSERT_TRUE(SaveProgramSettings(file, {"/x\r/", 3, 0, 0}));
  EXPECT_EQ(LoadProgramSettings(file), (ProgramSettings{"/old/", 3, 0, 0}));
  EXPECT_EQ(ProgramSettingsText({"a\nLanguage = 9", 1, 0, 0}).find("Language = 9"),
            std::string::npos);

  std::ofstream(file, std::ios::binary)
      << std::string("[settings]\nLastPath=/a\0b/\nLanguage=4\n", 37);
  EXPECT_EQ(LoadProgramSettings(file), (ProgramSettings{"", 4, 0, 0})) << "a NUL is never read";
}

}  // namespace
}  // namespace i18n
