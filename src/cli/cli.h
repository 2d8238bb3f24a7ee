// Shared pieces of skinsmith-cli's subcommands: exit status, message output and the start state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "imaging/image.h"
#include "skin/feedback.h"
#include "skin/messages.h"
#include "skin/skin_document.h"
#include "skin/skin_saver.h"

namespace cli {

// Exit status: done without a message, done but messages were shown, usage error or nothing done.
inline constexpr int kExitOk = 0;
inline constexpr int kExitMessages = 1;
inline constexpr int kExitFailed = 2;

// Prints every message as one line on stderr and counts them; progress is not shown.
class StderrFeedback : public skin::Feedback {
 public:
  void ShowError(const std::string& text) override;
  void SetProgress(int) override {}
  int messages() const { return messages_; }
  // kExitOk or kExitMessages, by whether anything was shown.
  int ExitStatus() const { return messages_ == 0 ? kExitOk : kExitMessages; }

 private:
  int messages_ = 0;
};

// The message texts in the built-in English wording, as the editor shows them in language 0.
skin::MessageTexts BuiltInMessageTexts();

// `text` made safe to print on a terminal: control characters (C0, DEL, C1) and bytes that are not
// well-formed UTF-8 are written as \xNN, so that a name from an archive cannot move the cursor,
// retitle the window or hide what follows.
std::string TerminalSafe(std::string_view text);

// A whole number written in decimal digits, from min to max. Leading zeros change nothing ("010" is
// ten); a sign other than "-", blanks, "0x" and anything after the digits make it no number.
bool ParseNumber(std::string_view text, long min, long max, long& out);
// A colour written 0xRRGGBB in hexadecimal digits, or as a decimal number.
bool ParseColour(std::string_view text, imaging::Rgb& out);
// A number written in decimal digits with an optional fraction ("2", "1.5", "0.25"), whatever the
// locale; an exponent or the hexadecimal form makes it no number.
bool ParseDecimal(std::string_view text, float& out);

// Prints "skinsmith-cli: <text>" and the usage line to stderr; returns kExitFailed.
int UsageError(const std::string& text);

using Arguments = std::vector<std::string>;

// Opens the skin folder or .zip archive at `path` onto `doc`, as the editor's open commands do.
// False when the skin's uisettings.ini could not be found.
bool OpenSkinOnto(skin::SkinDocument& doc, const std::string& path, StderrFeedback& feedback);

// What the editor's save uses: the locale's code page, the current time as LastUpdate and the
// built-in message texts.
skin::SaveOptions CliSaveOptions();

// Saves `doc` as a skin folder at `folder`, creating it when needed, as the editor's save does.
// Returns the exit status: kExitFailed when not one file could be written.
int SaveSkinInto(skin::SkinDocument& doc, const std::string& folder, StderrFeedback& feedback);

// The subcommands; each takes the arguments after its name.
int RunDefaults(const Arguments& args);
int RunConvert(const Arguments& args);
int RunImport(const Arguments& args);
int RunRender(const Arguments& args);
int RunExport(const Arguments& args);
int RunCheck(const Arguments& args);

}  // namespace cli
