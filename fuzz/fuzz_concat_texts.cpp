// fuzz_concat_texts: the first byte picks the number of parts (its low three
// bits modulo 6: 0 to 5) and which of them are absent (bits 3 to 7, one per
// part); the rest of the input, split at NUL bytes, gives the parts' bytes in
// order (parts beyond the data are empty). Checked: the result is present, its
// bytes are exactly the present parts one after another and a NUL,
// TextLength and CompareTexts agree with that, it is the one new live text,
// and releasing it leaves none.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/text.h"
#include "fuzz/fuzz_check.h"

using fuzz::Hex;
using tarnolux::Text;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t count = (data[0] & 7) % 6;
  const unsigned absent_mask = data[0] >> 3;

  std::vector<std::string> pieces(count);
  const char* rest = reinterpret_cast<const char*>(data + 1);
  size_t left = size - 1;
  for (std::string& piece : pieces) {
    const size_t length = strnlen(rest, left);
    piece.assign(rest, length);
    const size_t used = length < left ? length + 1 : length;
    rest += used;
    left -= used;
  }

  std::vector<Text> parts;
  std::string expected;
  for (size_t i = 0; i < count; ++i) {
    if ((absent_mask >> i) & 1) {
      parts.push_back(nullptr);
    } else {
      parts.push_back(pieces[i].c_str());
      expected += pieces[i];
    }
  }

  const int64_t live = tarnolux::LiveTextCount();
  Text result = tarnolux::ConcatTexts(parts);
  FUZZ_REQUIRE(result != nullptr, "ConcatTexts of %zu parts is absent", count);
  FUZZ_REQUIRE(tarnolux::LiveTextCount() == live + 1, "ConcatTexts made %lld texts",
               static_cast<long long>(tarnolux::LiveTextCount() - live));
  // The bytes themselves, NUL included, read only within the expected block,
  // so that a short block shows as an AddressSanitizer report.
  FUZZ_REQUIRE(std::memcmp(result, expected.c_str(), expected.size() + 1) == 0,
               "ConcatTexts gives \"%s\", expected \"%s\"", Hex(result).c_str(),
               Hex(expected).c_str());
  FUZZ_REQUIRE(tarnolux::TextLength(result) == expected.size(), "TextLength %u, expected %zu",
               tarnolux::TextLength(result), expected.size());
  FUZZ_REQUIRE(tarnolux::CompareTexts(result, expected.c_str()) == 0,
               "CompareTexts of \"%s\" with itself is not 0", Hex(expected).c_str());
  tarnolux::ReleaseText(result);
  FUZZ_REQUIRE(tarnolux::LiveTextCount() == live, "the released result stays live");
  return 0;
}
