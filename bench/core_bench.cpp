// core_bench: the cost of one call of each numeric routine of the core beside
// the naive way of doing the same job, measured in the same run on the same
// inputs:
//
//   ours/ParseNumber            naive/ParseNumber            strtod
//   ours/RoundToPlaces          naive/RoundToPlaces          floor(x * 100 + 0.5) / 100
//   ours/FormatNumber           naive/FormatNumber           snprintf "%.13g" into a buffer,
//                                                            on weights rounded to 2 places
//   ours/FormatNumberUnrounded  naive/FormatNumberUnrounded  the same on the weights before
//                                                            rounding (up to 9 decimals)
//   ours/ConvertWeight          naive/ConvertWeight          strtod twice, multiply, divide,
//                                                            round twice, snprintf twice,
//                                                            two framed copies in malloc'd
//                                                            blocks, freed
//
// Our side includes what the program pays too: FormatNumber and ConvertWeight
// hand out texts that are released inside the timed loop.
//
// The inputs are drawn in advance with a fixed seed, so every run times the
// same calls: lengths as people type them (a few common ones such as "6",
// "832.05", "1480.5", and random lengths under 10000 with up to 3 decimals),
// the 31 unit weights of the catalogue, the weights they give and those
// weights rounded to 2 places. bench/run_core_bench.sh runs this and prints
// the ratios ours / naive.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/convert_weight.h"
#include "core/format_number.h"
#include "core/parse_number.h"
#include "core/round_to_places.h"
#include "core/text.h"

namespace {

using tarnolux::Text;

// A power of two, so that the timed loops pick their input with a mask; large
// enough that branch predictors cannot learn the sequence.
constexpr size_t kInputCount = 4096;
constexpr size_t kInputMask = kInputCount - 1;
constexpr uint64_t kSeed = 20240611;

// Lengths that come up again and again at the counter: whole bars, the
// examples of the sheets the figures are compared against.
constexpr std::array<const char*, 12> kCommonLengths = {"6",       "832.05",  "1480.5",  "12",
                                                        "2.5",     "34.1915", "653.875", "1000",
                                                        "1087.95", "235",     "0.5",     "18"};

struct Inputs {
  std::vector<std::string> lengths;       // length texts
  std::vector<std::string> unit_weights;  // catalogue unit-weight texts, paired with lengths
  std::vector<std::string> numbers;       // lengths and unit weights interleaved
  std::vector<double> weights;            // kilograms and tonnes, unrounded
  std::vector<double> rounded;            // the same rounded to 2 places
};

// A length as typed: one of the common ones a quarter of the time, else a
// random one below 10000 with 0 to 3 decimals ("7391", "15.2", "862.047").
std::string DrawLength(std::mt19937_64& random) {
  if (random() % 4 == 0) return kCommonLengths[random() % kCommonLengths.size()];
  std::string text = std::to_string(random() % 10000);
  const int decimals = static_cast<int>(random() % 4);
  if (decimals > 0) {
    char fraction[8];
    const int limit = decimals == 1 ? 10 : decimals == 2 ? 100 : 1000;
    std::snprintf(fraction, sizeof fraction, ".%0*d", decimals, static_cast<int>(random() % limit));
    text += fraction;
  }
  return text;
}

const Inputs& GetInputs() {
  static const Inputs inputs = [] {
    Inputs in;
    std::mt19937_64 random(kSeed);
    const auto catalogue = tarnolux::MaterialCatalogue();
    for (size_t i = 0; i < kInputCount; ++i) {
      in.lengths.push_back(DrawLength(random));
      in.unit_weights.push_back(catalogue[random() % catalogue.size()].unitWeightText);
    }
    for (size_t i = 0; i < kInputCount; ++i) {
      const std::string& source = i % 2 == 0 ? in.lengths[i] : in.unit_weights[i];
      in.numbers.push_back(source);
      const double kilograms = std::strtod(in.lengths[i].c_str(), nullptr) *
                               std::strtod(in.unit_weights[i].c_str(), nullptr);
      const double value = i % 2 == 0 ? kilograms : kilograms / 1000.0;
      in.weights.push_back(value);
      in.rounded.push_back(std::floor(value * 100 + 0.5) / 100);
    }
    return in;
  }();
  return inputs;
}

// --- The naive side -----------------------------------------------------------

double NaiveRound(double x) {
  return std::floor(x * 100 + 0.5) / 100;
}

// opening + number + closing in a fresh malloc'd block.
char* NaiveFrame(const char* number, const char* closing) {
  static constexpr char kOpening[] = "\xA1\xBE ";
  const size_t a = std::strlen(kOpening), b = std::strlen(number), c = std::strlen(closing);
  char* text = static_cast<char*>(std::malloc(a + b + c + 1));
  if (text == nullptr) std::abort();
  std::memcpy(text, kOpening, a);
  std::memcpy(text + a, number, b);
  std::memcpy(text + a + b, closing, c + 1);
  return text;
}

struct NaiveTexts {
  char* tonnes;
  char* kilograms;
};

NaiveTexts NaiveConvert(const char* length, const char* unit_weight) {
  const double kilograms = std::strtod(length, nullptr) * std::strtod(unit_weight, nullptr);
  const double tonnes = kilograms / 1000.0;
  char number[40];
  NaiveTexts texts;
  std::snprintf(number, sizeof number, "%.13g", NaiveRound(tonnes));
  texts.tonnes = NaiveFrame(number, " \xA1\xBF\xB6\xD6");
  std::snprintf(number, sizeof number, "%.13g", NaiveRound(kilograms));
  texts.kilograms = NaiveFrame(number, " \xA1\xBFKG");
  return texts;
}

// --- The benchmarks -------------------------------------------------------------

void OursParseNumber(benchmark::State& state) {
  const auto& numbers = GetInputs().numbers;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tarnolux::ParseNumber(numbers[i++ & kInputMask].c_str()));
  }
}

void NaiveParseNumber(benchmark::State& state) {
  const auto& numbers = GetInputs().numbers;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strtod(numbers[i++ & kInputMask].c_str(), nullptr));
  }
}

void OursRoundToPlaces(benchmark::State& state) {
  const auto& weights = GetInputs().weights;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tarnolux::RoundToPlaces(weights[i++ & kInputMask], 2));
  }
}

void NaiveRoundToPlaces(benchmark::State& state) {
  const auto& weights = GetInputs().weights;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(NaiveRound(weights[i++ & kInputMask]));
  }
}

void OursFormat(benchmark::State& state, const std::vector<double>& values) {
  size_t i = 0;
  for (auto _ : state) {
    Text text = tarnolux::FormatNumber(values[i++ & kInputMask]);
    benchmark::DoNotOptimize(text);
    tarnolux::ReleaseText(text);
  }
}

void NaiveFormat(benchmark::State& state, const std::vector<double>& values) {
  size_t i = 0;
  char buffer[40];
  for (auto _ : state) {
    std::snprintf(buffer, sizeof buffer, "%.13g", values[i++ & kInputMask]);
    benchmark::DoNotOptimize(buffer);
  }
}

void OursFormatNumber(benchmark::State& state) {
  OursFormat(state, GetInputs().rounded);
}
void NaiveFormatNumber(benchmark::State& state) {
  NaiveFormat(state, GetInputs().rounded);
}
void OursFormatNumberUnrounded(benchmark::State& state) {
  OursFormat(state, GetInputs().weights);
}
void NaiveFormatNumberUnrounded(benchmark::State& state) {
  NaiveFormat(state, GetInputs().weights);
}

void OursConvertWeight(benchmark::State& state) {
  const Inputs& in = GetInputs();
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ & kInputMask;
    const tarnolux::WeightTexts texts =
        tarnolux::ConvertWeight(in.lengths[k].c_str(), in.unit_weights[k].c_str());
    benchmark::DoNotOptimize(texts);
    tarnolux::ReleaseText(texts.tonnes);
    tarnolux::ReleaseText(texts.kilograms);
  }
}

void NaiveConvertWeight(benchmark::State& state) {
  const Inputs& in = GetInputs();
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ & kInputMask;
    const NaiveTexts texts = NaiveConvert(in.lengths[k].c_str(), in.unit_weights[k].c_str());
    benchmark::DoNotOptimize(texts);
    std::free(texts.tonnes);
    std::free(texts.kilograms);
  }
}

BENCHMARK(OursParseNumber)->Name("ours/ParseNumber");
BENCHMARK(NaiveParseNumber)->Name("naive/ParseNumber");
BENCHMARK(OursRoundToPlaces)->Name("ours/RoundToPlaces");
BENCHMARK(NaiveRoundToPlaces)->Name("naive/RoundToPlaces");
BENCHMARK(OursFormatNumber)->Name("ours/FormatNumber");
BENCHMARK(NaiveFormatNumber)->Name("naive/FormatNumber");
BENCHMARK(OursFormatNumberUnrounded)->Name("ours/FormatNumberUnrounded");
BENCHMARK(NaiveFormatNumberUnrounded)->Name("naive/FormatNumberUnrounded");
BENCHMARK(OursConvertWeight)->Name("ours/ConvertWeight");
BENCHMARK(NaiveConvertWeight)->Name("naive/ConvertWeight");

}  // namespace

BENCHMARK_MAIN();
