// fuzz_convert_weight: the input up to its first NUL is the length text, the
// bytes after that NUL up to the next one the unit-weight text. Checked:
//   - the tonnes text is "【 " + FormatNumber(RoundToPlaces(T, 2)) + " 】吨" and
//     the kilograms text "【 " + FormatNumber(RoundToPlaces(P, 2)) + " 】KG",
//     where P = L * U and T = P / 1000 are formed here, each in the x87
//     extended format and then stored as a double, from L and U as ParseNumber
//     reads the two texts;
//   - an empty text and an absent one give the same results;
//   - both results are fresh texts, and once they are released no text made
//     on the way is left live.
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "core/convert_weight.h"
#include "core/format_number.h"
#include "core/parse_number.h"
#include "core/round_to_places.h"
#include "core/text.h"
#include "fuzz/fuzz_check.h"

namespace {

using fuzz::Hex;
using tarnolux::Text;

// The frames written out byte by byte, so that a changed constant in the core
// shows here too: "【 ", " 】吨", " 】KG".
constexpr char kOpening[] = "\xA1\xBE\x20";
constexpr char kTonnesClosing[] = "\x20\xA1\xBF\xB6\xD6";
constexpr char kKilogramsClosing[] = "\x20\xA1\xBF\x4B\x47";

std::string NumberText(double value) {
  Text text = tarnolux::FormatNumber(tarnolux::RoundToPlaces(value, 2));
  std::string copy = text;
  tarnolux::ReleaseText(text);
  return copy;
}

// Runs ConvertWeight, checks that the results are two live texts and that
// releasing them leaves nothing live, and returns copies of them.
std::pair<std::string, std::string> Convert(Text length, Text unitWeight) {
  const int64_t live = tarnolux::LiveTextCount();
  const tarnolux::WeightTexts result = tarnolux::ConvertWeight(length, unitWeight);
  FUZZ_REQUIRE(
      result.tonnes != nullptr && result.kilograms != nullptr && result.tonnes != result.kilograms,
      "ConvertWeight returned an absent or shared text");
  FUZZ_REQUIRE(tarnolux::LiveTextCount() == live + 2, "ConvertWeight left %lld texts live",
               static_cast<long long>(tarnolux::LiveTextCount() - live));
  std::pair<std::string, std::string> copies(result.tonnes, result.kilograms);
  tarnolux::ReleaseText(result.tonnes);
  tarnolux::ReleaseText(result.kilograms);
  FUZZ_REQUIRE(tarnolux::LiveTextCount() == live, "released results of ConvertWeight stay live");
  return copies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const size_t length_size = strnlen(bytes, size);
  const std::string length(bytes, length_size);
  std::string unit_weight;
  if (length_size < size) {
    const char* rest = bytes + length_size + 1;
    unit_weight.assign(rest, strnlen(rest, size - length_size - 1));
  }

  const auto [tonnes, kilograms] = Convert(length.c_str(), unit_weight.c_str());

  const double l = tarnolux::ParseNumber(length.c_str());
  const double u = tarnolux::ParseNumber(unit_weight.c_str());
  const double p = static_cast<double>(static_cast<long double>(l) * u);
  const double t = static_cast<double>(static_cast<long double>(p) / 1000.0L);
  const std::string expected_tonnes = kOpening + NumberText(t) + kTonnesClosing;
  const std::string expected_kilograms = kOpening + NumberText(p) + kKilogramsClosing;
  FUZZ_REQUIRE(tonnes == expected_tonnes && kilograms == expected_kilograms,
               "\"%s\" m at \"%s\" kg/m gives \"%s\", \"%s\"; expected \"%s\", \"%s\" "
               "(L = %a, U = %a, P = %a, T = %a)",
               Hex(length).c_str(), Hex(unit_weight).c_str(), Hex(tonnes).c_str(),
               Hex(kilograms).c_str(), Hex(expected_tonnes).c_str(),
               Hex(expected_kilograms).c_str(), l, u, p, t);

  if (length.empty() || unit_weight.empty()) {
    const auto absent = Convert(length.empty() ? nullptr : length.c_str(),
                                unit_weight.empty() ? nullptr : unit_weight.c_str());
    FUZZ_REQUIRE(absent.first == tonnes && absent.second == kilograms,
                 "an absent text gives \"%s\", \"%s\"; the empty one \"%s\", \"%s\"",
                 Hex(absent.first).c_str(), Hex(absent.second).c_str(), Hex(tonnes).c_str(),
                 Hex(kilograms).c_str());
  }
  return 0;
}
