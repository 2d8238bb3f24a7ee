// Texts that the program holds scrambled: the literal is turned into scrambled bytes at compile
// time, so the plain text never appears in the binary, also an optimised one, and is restored on
// demand.
//
//   constexpr auto kName = SKINSMITH_SCRAMBLED("Skinsmith");
//   std::string name = kName.Unscramble();
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace assets {

constexpr unsigned char ScrambleKey(std::size_t i) {
  return static_cast<unsigned char>(0xA5 ^ (i * 29 + 7));
}

template <std::size_t N>  // N counts the literal's terminating zero, which is not kept
class ScrambledText {
 public:
  consteval explicit ScrambledText(const char (&text)[N]) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
      bytes_[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ ScrambleKey(i));
    }
  }

  std::string Unscramble() const {
    // The optimiser knows the scrambled bytes and the key, and would fold the loop into the plain
    // literal; reading the bytes through a pointer it cannot follow keeps them opaque to it.
    const char* bytes = bytes_.data();
    asm("" : "+r"(bytes));
    std::string text(N - 1, '\0');
    for (std::size_t i = 0; i + 1 < N; ++i) {
      text[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ ScrambleKey(i));
    }
    return text;
  }

 private:
  std::array<char, N - 1 == 0 ? 1 : N - 1> bytes_{};
};

}  // namespace assets

#define SKINSMITH_SCRAMBLED(literal) (::assets::ScrambledText<sizeof(literal)>(literal))
