// skinsmith-cli: the headless companion of the editor. It runs the editor's own core operations on
// skins and pictures from the command line.
#include <cstdio>
#include <string_view>

#include "cli/cli.h"
#include "i18n/ui_texts.h"

namespace cli {
namespace {

struct Command {
  std::string_view name;
  std::string_view usage;
  int (*run)(const Arguments&);
};

constexpr Command kCommands[] = {
    {"defaults", "defaults OUTDIR              save the built-in default skin into OUTDIR",
     RunDefaults},
    {"convert", "convert SKIN OUTDIR           open a skin folder or .zip and save it into OUTDIR",
     RunConvert},
    {"import", "import IMAGE OUT.bmp         convert a BMP, PNG or JPEG into a 16-bit skin BMP",
     RunImport},
    {"render",
     "render SKIN|--default --screen N|--all -o OUT.png [--zoom Z] [--background 0xRRGGBB]\n"
     "                               draw the preview of a skin into a PNG",
     RunRender},
    {"export",
     "export SKIN|--default OUT.zip\n"
     "                               pack a skin into a ZIP archive to share, with preview.png",
     RunExport},
};

void PrintUsage() {
  std::fputs("usage: skinsmith-cli COMMAND ARGS...\n", stderr);
  for (const Command& command : kCommands) {
    std::fprintf(stderr, "  skinsmith-cli %.*s\n", static_cast<int>(command.usage.size()),
                 command.usage.data());
  }
}

}  // namespace

void StderrFeedback::ShowError(const std::string& text) {
  ++messages_;
  std::fprintf(stderr, "%s\n", text.c_str());
}

skin::MessageTexts BuiltInMessageTexts() {
  const i18n::UiTexts texts;
  skin::MessageTexts messages;
  messages.file_not_found = texts.Text("LANG_FILE_NOTFOUND$");
  messages.file_unknown = texts.Text("LANG_FILE_UNKNOWN$");
  messages.file_not_saved = texts.Text("LANG_FILE_NOTSAVE$");
  messages.no_skin_settings = i18n::NoSkinSettingsText();
  return messages;
}

int UsageError(const std::string& text) {
  std::fprintf(stderr, "skinsmith-cli: %s\n", text.c_str());
  PrintUsage();
  return kExitFailed;
}

}  // namespace cli

int main(int argc, char** argv) {
  if (argc < 2) return cli::UsageError("no command given");
  const std::string_view name = argv[1];
  for (const cli::Command& command : cli::kCommands) {
    if (command.name == name) return command.run(cli::Arguments(argv + 2, argv + argc));
  }
  return cli::UsageError("unknown command '" + std::string(name) + "'");
}
