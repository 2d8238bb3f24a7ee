// Builds ZIP archives for the tests with minizip's zip interface.
#pragma once

#include <zip.h>

#include <string>
#include <vector>

namespace testing_support {

struct ZipEntry {
  std::string name;
  std::string data;
  bool utf8_name = false;
};

inline bool WriteZip(const std::string& path, const std::vector<ZipEntry>& entries) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  for (const ZipEntry& e : entries) {
    zip_fileinfo info{};
    const unsigned long flags = e.utf8_name ? (1ul << 11) : 0;
    if (zipOpenNewFileInZip4_64(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                Z_DEFLATED, 6, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                nullptr, 0, 0, flags, 0) != ZIP_OK ||
        zipWriteInFileInZip(zip, e.data.data(), static_cast<unsigned>(e.data.size())) != ZIP_OK ||
        zipCloseFileInZip(zip) != ZIP_OK) {
      zipClose(zip, nullptr);
      return false;
    }
  }
  return zipClose(zip, nullptr) == ZIP_OK;
}

}  // namespace testing_support
