// skinsmith-cli: the headless companion of the editor. It runs the editor's own core operations on
// skins and pictures from the command line.
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"
#include "base/paths.h"
#include "base/system.h"
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
    {"import",
     "import IMAGE OUT.bmp [--size WxH|SLOT] [--fit cover|contain|stretch|keep]\n"
     "        [--focus FX,FY] [--resample smooth|nearest] [--dither fs|serpentine|ordered|none]\n"
     "        [--strength 0-100] [--key 0xRRGGBB [--key-tolerance D] [--key-at FX,FY]]\n"
     "                               convert a BMP, PNG or JPEG into a 16-bit skin BMP, fitted\n"
     "                               to a size (a slot's name: its expected size); the key\n"
     "                               takes colours within OKLab distance D (0 to 0.5), only\n"
     "                               those connected to the point FX,FY with --key-at",
     RunImport},
    {"render",
     "render SKIN|--default --screen N|--all -o OUT.png [--zoom Z] [--background 0xRRGGBB]\n"
     "        [--colours stored|console|original]\n"
     "                               draw the preview of a skin into a PNG; its screens as the\n"
     "                               pictures hold them, or as the console shows them\n"
     "  skinsmith-cli render SKIN|--default --screen N --which X,Y\n"
     "                               name what drew canvas pixel (X, Y) at zoom 1",
     RunRender},
    {"export",
     "export SKIN|--default OUT.zip\n"
     "                               pack a skin into a ZIP archive to share, with preview.png",
     RunExport},
    {"check",
     "check SKIN|--default [--json]\n"
     "                               list what will look wrong on the console; exit 1 if anything",
     RunCheck},
};

void PrintUsage() {
  std::fputs("usage: skinsmith-cli COMMAND ARGS...\n", stderr);
  for (const Command& command : kCommands) {
    std::fprintf(stderr, "  skinsmith-cli %.*s\n", static_cast<int>(command.usage.size()),
                 command.usage.data());
  }
}

}  // namespace

std::string TerminalSafe(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  auto escape = [&](unsigned char b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 15];
  };
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    // A well-formed UTF-8 sequence of a printable character passes; C0 and C1 controls, DEL and
    // stray bytes, which a terminal may take for the start of an escape sequence, are spelt out.
    // The C1 controls, U+0080 to U+009F, are the sequences C2 80 to C2 9F.
    const std::size_t n = base::Utf8CharLength(text.substr(i));
    const bool printable = n > 1 && !(b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0);
    if (printable) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      escape(b);
      ++i;
    }
  }
  return out;
}

void StderrFeedback::ShowError(const std::string& text) {
  ++messages_;
  std::fprintf(stderr, "%s\n", TerminalSafe(text).c_str());
}

skin::MessageTexts BuiltInMessageTexts() {
  const i18n::UiTexts texts;
  return skin::MakeMessageTexts([&](std::string_view key) { return texts.Text(key); });
}

bool ParseNumber(std::string_view text, long min, long max, long& out) {
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, out);
  return !text.empty() && error == std::errc() && stop == end && out >= min && out <= max;
}

bool ParseColour(std::string_view text, imaging::Rgb& out) {
  long value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + 2, end, value, 16);
    if (error != std::errc() || stop != end || value < 0 || value > 0xFFFFFF) return false;
  } else if (!ParseNumber(text, 0, 0xFFFFFF, value)) {
    return false;
  }
  // The option is written red first, as on the web; the program holds red in the low byte.
  out = imaging::MakeRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  return true;
}

bool ParseDecimal(std::string_view text, float& out) {
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, out, std::chars_format::fixed);
  return !text.empty() && error == std::errc() && stop == end;
}

int UsageError(const std::string& text) {
  std::fprintf(stderr, "skinsmith-cli: %s\n", TerminalSafe(text).c_str());
  PrintUsage();
  return kExitFailed;
}

}  // namespace cli

int main(int argc, char** argv) {
  base::PrepareStandardStreams();
  const std::vector<std::string> arguments = base::CommandLineArguments(argc, argv);
  if (arguments.size() < 2) return cli::UsageError("no command given");
  const std::string& name = arguments[1];
  for (const cli::Command& command : cli::kCommands) {
    if (command.name != name) continue;
    try {
      return command.run(cli::Arguments(arguments.begin() + 2, arguments.end()));
    } catch (const std::bad_alloc&) {
      // The core reports allocation failures in loading, importing and saving itself; this is
      // for whatever else runs out of memory.
      std::fprintf(stderr, "%s\n",
                   cli::BuiltInMessageTexts().Of(skin::FileProblem::kOutOfMemory).c_str());
      return cli::kExitFailed;
    } catch (const std::filesystem::filesystem_error& e) {
      // The commands look at paths through the error_code forms; this is for a path the system
      // refuses (too long, a loop of links) somewhere they did not foresee.
      std::fprintf(stderr, "%s: %s\n", cli::TerminalSafe(base::Utf8Path(e.path1())).c_str(),
                   cli::TerminalSafe(e.code().message()).c_str());
      return cli::kExitFailed;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "skinsmith-cli: %s\n", cli::TerminalSafe(e.what()).c_str());
      return cli::kExitFailed;
    }
  }
  return cli::UsageError("unknown command '" + std::string(name) + "'");
}
