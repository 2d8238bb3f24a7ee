// POSIX implementation of the program's surroundings.
#include <cstdlib>

#include "base/paths.h"
#include "base/system.h"

namespace base {

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::optional<std::string> EnvironmentValue(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string PerUserFolder(std::string_view program) {
  std::string name(program);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  const std::string xdg = EnvironmentValue("XDG_CONFIG_HOME").value_or("");
  if (!xdg.empty()) return JoinPath(xdg, name);
  const std::string home = EnvironmentValue("HOME").value_or("");
  if (home.empty()) return {};
  return JoinPath(JoinPath(home, ".config"), name);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void PrepareStandardStreams() {}

}  // namespace base
