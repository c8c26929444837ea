// conversion_cases: checks tables of cases against the core.
//
//   conversion_cases FILE...
//
// Each file is UTF-8 text, one case per line, fields separated by a TAB;
// empty lines and lines starting with '#' are skipped. Kinds:
//   parse   TAB text TAB double                  ParseNumber
//   round   TAB double TAB places TAB double     RoundToPlaces
//   format  TAB double TAB text                  FormatNumber
//   convert TAB length TAB unit weight TAB tonnes text TAB kilograms text
//   find    TAB text TAB row (1..31, 0 = no entry)
// Text fields are converted to GBK before use; "\t", "\n", "\\" and "\xHH"
// (one raw byte) are escapes, and a field that is exactly <absent> is an
// absent text. A double field is 0, -0, inf, -inf, nan (the default NaN) or a
// decimal literal read as the nearest double; doubles compare bit for bit.
//
// Prints one line per failing case, then "N passed, N failed"; exits 0 only
// when none failed.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/convert_weight.h"
#include "core/format_number.h"
#include "core/parse_number.h"
#include "core/round_to_places.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

using tarnolux::Text;

constexpr uint64_t kDefaultNanBits = 0xFFF8000000000000ULL;

// UTF-8 to GBK (code page 936). Returns nothing for text with no GBK form.
std::optional<std::string> Utf8ToGbk(const std::string& utf8) {
  if (utf8.empty()) return std::string();
#ifdef _WIN32
  int wide_length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, 0);
  if (wide_length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                      wide.data(), wide_length);
  BOOL defaulted = FALSE;
  int gbk_length =
      WideCharToMultiByte(936, 0, wide.data(), wide_length, nullptr, 0, nullptr, &defaulted);
  if (gbk_length <= 0 || defaulted) return std::nullopt;
  std::string gbk(static_cast<size_t>(gbk_length), '\0');
  WideCharToMultiByte(936, 0, wide.data(), wide_length, gbk.data(), gbk_length, nullptr, nullptr);
  return gbk;
#else
  iconv_t converter = iconv_open("GBK", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* in_ptr = in.data();
  size_t in_left = in.size();
  char* out_ptr = out.data();
  size_t out_left = out.size();
  const size_t result = iconv(converter, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1) || in_left != 0) return std::nullopt;
  out.resize(out.size() - out_left);
  return out;
#endif
}

// Bytes shown in a report: printable ASCII as is, everything else as \xHH, so
// a wrong GBK byte is visible whatever the terminal's encoding.
std::string Show(Text text) {
  if (text == nullptr) return "<absent>";
  std::string shown;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p >= 0x20 && *p < 0x7F && *p != '\\') {
      shown += static_cast<char>(*p);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", *p);
      shown += escape;
    }
  }
  return shown;
}

uint64_t Bits(double value) {
  return std::bit_cast<uint64_t>(value);
}

std::string ShowDouble(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g (0x%016llX)", value,
                static_cast<unsigned long long>(Bits(value)));
  return buffer;
}

struct TextField {
  bool absent = false;
  std::string bytes;
  Text get() const { return absent ? nullptr : bytes.c_str(); }
};

// Decodes the escapes and converts to GBK piece by piece, so that a \xHH byte
// goes into the GBK text raw and is never taken for UTF-8.
std::optional<TextField> ParseTextField(const std::string& field) {
  TextField result;
  if (field == "<absent>") {
    result.absent = true;
    return result;
  }
  std::string pending;  // UTF-8 not yet converted
  auto flush = [&]() -> bool {
    auto gbk = Utf8ToGbk(pending);
    if (!gbk) return false;
    result.bytes += *gbk;
    pending.clear();
    return true;
  };
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      pending += field[i];
      continue;
    }
    if (i + 1 >= field.size()) return std::nullopt;
    const char escape = field[++i];
    if (escape == 't') {
      pending += '\t';
    } else if (escape == 'n') {
      pending += '\n';
    } else if (escape == '\\') {
      pending += '\\';
    } else if (escape == 'x' && i + 2 < field.size()) {
      unsigned value = 0;
      auto [end, error] = std::from_chars(field.data() + i + 1, field.data() + i + 3, value, 16);
      if (error != std::errc() || end != field.data() + i + 3) return std::nullopt;
      if (!flush()) return std::nullopt;
      result.bytes += static_cast<char>(value);
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  if (!flush()) return std::nullopt;
  return result;
}

std::optional<double> ParseDoubleField(const std::string& field) {
  if (field == "0") return 0.0;
  if (field == "-0") return -0.0;
  if (field == "inf") return HUGE_VAL;
  if (field == "-inf") return -HUGE_VAL;
  if (field == "nan") {
    return std::bit_cast<double>(kDefaultNanBits);
  }
  double value = 0;
  const char* first = field.data();
  const char* last = field.data() + field.size();
  if (first != last && *first == '+') ++first;  // from_chars takes no plus sign
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::optional<int> ParseIntField(const std::string& field) {
  int value = 0;
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// Outcome of one case: empty when it holds, else the report line's tail.
using Verdict = std::optional<std::string>;

std::string ExpectedGot(const std::string& expected, const std::string& got) {
  return "expected " + expected + ", got " + got;
}

std::optional<Verdict> CheckCase(const std::vector<std::string>& f) {
  const std::string& kind = f[0];
  if (kind == "parse" && f.size() == 3) {
    auto text = ParseTextField(f[1]);
    auto expected = ParseDoubleField(f[2]);
    if (!text || !expected) return std::nullopt;
    const double got = tarnolux::ParseNumber(text->get());
    if (Bits(got) == Bits(*expected)) return Verdict();
    return Verdict(ExpectedGot(ShowDouble(*expected), ShowDouble(got)));
  }
  if (kind == "round" && f.size() == 4) {
    auto x = ParseDoubleField(f[1]);
    auto places = ParseIntField(f[2]);
    auto expected = ParseDoubleField(f[3]);
    if (!x || !places || !expected) return std::nullopt;
    const double got = tarnolux::RoundToPlaces(*x, *places);
    if (Bits(got) == Bits(*expected)) return Verdict();
    return Verdict(ExpectedGot(ShowDouble(*expected), ShowDouble(got)));
  }
  if (kind == "format" && f.size() == 3) {
    auto x = ParseDoubleField(f[1]);
    auto expected = ParseTextField(f[2]);
    if (!x || !expected) return std::nullopt;
    Text got = tarnolux::FormatNumber(*x);
    Verdict verdict;
    if (tarnolux::CompareTexts(got, expected->get()) != 0 || got == nullptr) {
      verdict = ExpectedGot(Show(expected->get()), Show(got));
    }
    tarnolux::ReleaseText(got);
    return verdict;
  }
  if (kind == "convert" && f.size() == 5) {
    auto length = ParseTextField(f[1]);
    auto unit = ParseTextField(f[2]);
    auto tonnes = ParseTextField(f[3]);
    auto kilograms = ParseTextField(f[4]);
    if (!length || !unit || !tonnes || !kilograms) return std::nullopt;
    tarnolux::WeightTexts got = tarnolux::ConvertWeight(length->get(), unit->get());
    Verdict verdict;
    if (tarnolux::CompareTexts(got.tonnes, tonnes->get()) != 0 ||
        tarnolux::CompareTexts(got.kilograms, kilograms->get()) != 0) {
      verdict = ExpectedGot(Show(tonnes->get()) + " " + Show(kilograms->get()),
                            Show(got.tonnes) + " " + Show(got.kilograms));
    }
    tarnolux::ReleaseText(got.tonnes);
    tarnolux::ReleaseText(got.kilograms);
    return verdict;
  }
  if (kind == "find" && f.size() == 3) {
    auto text = ParseTextField(f[1]);
    auto expected = ParseIntField(f[2]);
    if (!text || !expected) return std::nullopt;
    const tarnolux::MaterialEntry* entry = tarnolux::FindMaterial(text->get());
    const int got =
        entry == nullptr ? 0 : static_cast<int>(entry - tarnolux::MaterialCatalogue().data()) + 1;
    if (got == *expected) return Verdict();
    return Verdict(ExpectedGot("row " + std::to_string(*expected), "row " + std::to_string(got)));
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: conversion_cases FILE...\n");
    return 2;
  }
  long passed = 0;
  long failed = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::printf("%s: cannot open\n", argv[i]);
      ++failed;
      continue;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == '#') continue;
      const std::vector<std::string> fields = SplitTabs(line);
      std::optional<Verdict> verdict = CheckCase(fields);
      std::string shown_line = line;
      for (char& c : shown_line) {
        if (c == '\t') c = ' ';
      }
      if (!verdict) {
        std::printf("%s:%d: malformed case: %s\n", argv[i], number, shown_line.c_str());
        ++failed;
      } else if (verdict->has_value()) {
        std::printf("%s:%d: FAIL %s: %s\n", argv[i], number, shown_line.c_str(),
                    (*verdict)->c_str());
        ++failed;
      } else {
        ++passed;
      }
    }
  }
  std::printf("%ld passed, %ld failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
