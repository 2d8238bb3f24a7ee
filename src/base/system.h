// The running program's surroundings: the local time, the environment, where the user's own files
// live, the command line and the standard streams. One interface with a POSIX and a Win32
// implementation.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// The local date and time now.
std::tm LocalTimeNow();

// The value of the environment variable `name` as UTF-8; none when it is not set.
std::optional<std::string> EnvironmentValue(std::string_view name);

// The folder where the user's own files of the program `program` live: %APPDATA%/`program` on
// Windows; $XDG_CONFIG_HOME/`program` in lower case elsewhere, ~/.config/... when that is not set.
// "" when the environment names no such place. Nothing is created.
std::string PerUserFolder(std::string_view program);

// The program's arguments as UTF-8, its own name first: `argv` on POSIX systems; on Windows, where
// `argv` holds the ANSI code page's version of each argument, read from the wide command line.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Sets the standard streams up for the bytes the program writes: on Windows in binary mode, so
// that lines end in LF as elsewhere. Nothing to do elsewhere.
void PrepareStandardStreams();

}  // namespace base
