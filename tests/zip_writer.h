// Builds ZIP archives for the tests with minizip's zip interface.
#pragma once

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

struct ZipEntry {
  std::string name;
  std::string data;
  bool utf8_name = false;
  // Deflated by default; any other method is written as it is, with `data` as its compressed
  // bytes and their own CRC and size, and the method number patched into the headers (minizip
  // itself writes only stored and deflated entries).
  int method = Z_DEFLATED;
};

// Sets the method of every entry of the archive at `path` as `entries` give it, in the local
// headers and in the central directory; entries lie in order and without data descriptors.
inline bool PatchMethods(const std::string& path, const std::vector<ZipEntry>& entries) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (file == nullptr) return false;
  std::vector<unsigned char> zip;
  for (int c; (c = std::fgetc(file)) != EOF;) zip.push_back(static_cast<unsigned char>(c));
  const auto u16 = [&](std::size_t at) {
    return std::size_t{zip[at]} | std::size_t{zip[at + 1]} << 8;
  };
  const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::size_t local = 0;
  std::size_t central = u32(zip.size() - 22 + 16);
  for (const ZipEntry& e : entries) {
    zip[local + 8] = zip[central + 10] = static_cast<unsigned char>(e.method);
    zip[local + 9] = zip[central + 11] = static_cast<unsigned char>(e.method >> 8);
    local += 30 + u16(local + 26) + u16(local + 28) + u32(local + 18);
    central += 46 + u16(central + 28) + u16(central + 30) + u16(central + 32);
  }
  std::rewind(file);
  const bool ok = std::fwrite(zip.data(), 1, zip.size(), file) == zip.size();
  return std::fclose(file) == 0 && ok;
}

inline bool WriteZip(const std::string& path, const std::vector<ZipEntry>& entries) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  for (const ZipEntry& e : entries) {
    zip_fileinfo info{};
    const unsigned long flags = e.utf8_name ? (1ul << 11) : 0;
    const bool raw = e.method != Z_DEFLATED;
    const int method = raw ? 0 : Z_DEFLATED;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size()));
    if (zipOpenNewFileInZip4_64(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                6, raw ? 1 : 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                nullptr, 0, 0, flags, 0) != ZIP_OK ||
        zipWriteInFileInZip(zip, e.data.data(), static_cast<unsigned>(e.data.size())) != ZIP_OK ||
        (raw ? zipCloseFileInZipRaw64(zip, e.data.size(), crc) : zipCloseFileInZip(zip)) !=
            ZIP_OK) {
      zipClose(zip, nullptr);
      return false;
    }
  }
  if (zipClose(zip, nullptr) != ZIP_OK) return false;
  const bool other_methods = std::any_of(entries.begin(), entries.end(), [](const ZipEntry& e) {
    return e.method != 0 && e.method != Z_DEFLATED;
  });
  return !other_methods || PatchMethods(path, entries);
}

}  // namespace testing_support
