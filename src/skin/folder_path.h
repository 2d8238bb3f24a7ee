// Skin folder paths: the operations take a folder path that ends with a separator and append the
// slot's relative file name to it.
#pragma once

#include <string>

namespace skin {

// `folder` with exactly one "/" at its end ("" stays "").
inline std::string FolderWithSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/' && folder[folder.size() - 2] == '/') {
    folder.pop_back();
  }
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace skin
