// Decoding plus line-break normalisation of 64 MiB files, against memcpy of the same bytes
// measured in the same iterations (into a reused buffer, and into a freshly allocated one).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/encoding.h"

namespace {

using namespace kalvo::text;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kFileSize = 64u << 20;

enum class Content { English, Japanese };

// Lines of ordinary length, 20 to 80 characters, cut from a fixed stock of words.
std::u16string MakeText(Content content, std::u16string_view lineBreak, std::size_t units) {
  static constexpr std::u16string_view english[] = {
      u"the ",  u"memo ", u"keeps ", u"one ",  u"note ", u"of ",    u"plain ",  u"text, ",
      u"read ", u"from ", u"a ",     u"file ", u"and ",  u"saved ", u"again. ", u"42 ",
  };
  static constexpr std::u16string_view japanese[] = {
      u"メモ帳は", u"一つの", u"文章を",   u"保持し、", u"ファイルから", u"読み込んで", u"保存します。",
      u"半角",     u"全角",   u"ひらがな", u"カタカナ", u"変換",         u"Kalvo ",
  };
  std::u16string text;
  text.reserve(units + 100);
  std::uint32_t seed = 12345;
  std::size_t lineLength = 0;
  std::size_t target = 50;
  while (text.size() < units) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t pick = seed >> 16;
    const std::u16string_view word =
        content == Content::English ? english[pick % std::size(english)] : japanese[pick % std::size(japanese)];
    text += word;
    lineLength += word.size();
    if (lineLength >= target) {
      text += lineBreak;
      lineLength = 0;
      target = 20 + pick % 61;
    }
  }
  return text;
}

Bytes Utf8File(std::u16string_view text, bool mark) {
  Bytes out;
  if (mark) {
    out = {0xEF, 0xBB, 0xBF};
  }
  for (std::size_t i = 0; i < text.size() && out.size() < kFileSize - 4; ++i) {
    const char32_t c = text[i];  // the stock has no supplementary characters
    if (c < 0x80) {
      out.push_back(static_cast<std::uint8_t>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<std::uint8_t>(0xC0 | c >> 6));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<std::uint8_t>(0xE0 | c >> 12));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

Bytes Utf16File(std::u16string_view text, bool bigEndian) {
  Bytes out = bigEndian ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
  for (std::size_t i = 0; i < text.size() && out.size() < kFileSize; ++i) {
    const auto low = static_cast<std::uint8_t>(text[i] & 0xFF);
    const auto high = static_cast<std::uint8_t>(text[i] >> 8);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
  return out;
}

std::u16string Latin1(std::span<const std::uint8_t> bytes) { return std::u16string(bytes.begin(), bytes.end()); }

void Report(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_MemcpyReused(benchmark::State& state) {
  const Bytes source(kFileSize, 0x41);
  Bytes target(kFileSize, 0);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  Report(state, kFileSize);
}

void BM_MemcpyFresh(benchmark::State& state) {
  const Bytes source(kFileSize, 0x41);
  for (auto _ : state) {
    const std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[source.size()]);
    std::memcpy(target.get(), source.data(), source.size());
    benchmark::DoNotOptimize(target.get());
    benchmark::ClobberMemory();
  }
  Report(state, kFileSize);
}

// Each iteration also copies the same bytes into a reused and into a fresh buffer, right
// before decoding, so that the ratios compare runs under the same load of the machine.
void BM_Decode(benchmark::State& state, const Bytes& (*file)()) {
  using Clock = std::chrono::steady_clock;
  const Bytes& bytes = file();
  Bytes reused(bytes.size());
  Clock::duration decoding{}, copyReused{}, copyFresh{};
  std::size_t units = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    std::memcpy(reused.data(), bytes.data(), bytes.size());
    benchmark::ClobberMemory();
    const auto t1 = Clock::now();
    {
      const std::unique_ptr<std::uint8_t[]> fresh(new std::uint8_t[bytes.size()]);
      std::memcpy(fresh.get(), bytes.data(), bytes.size());
      benchmark::DoNotOptimize(fresh.get());
      benchmark::ClobberMemory();
    }
    const auto t2 = Clock::now();
    {
      const std::u16string text = DecodeText(bytes, Latin1);
      units = text.size();
      benchmark::DoNotOptimize(text.data());
    }
    const auto t3 = Clock::now();
    copyReused += t1 - t0;
    copyFresh += t2 - t1;
    decoding += t3 - t2;
  }
  state.counters["units"] = static_cast<double>(units);
  state.counters["decode_ms"] =
      std::chrono::duration<double, std::milli>(decoding).count() / static_cast<double>(state.iterations());
  state.counters["x_memcpy_reused"] = std::chrono::duration<double>(decoding) / copyReused;
  state.counters["x_memcpy_fresh"] = std::chrono::duration<double>(decoding) / copyFresh;
  Report(state, bytes.size());
}

std::size_t UnitsFor(std::size_t bytesPerUnit) { return kFileSize / bytesPerUnit + 1; }

const Bytes& Utf8MarkEnglishCrLf() {
  static const Bytes bytes = Utf8File(MakeText(Content::English, u"\r\n", UnitsFor(1)), true);
  return bytes;
}
const Bytes& Utf8MarkEnglishLf() {
  static const Bytes bytes = Utf8File(MakeText(Content::English, u"\n", UnitsFor(1)), true);
  return bytes;
}
const Bytes& Utf8MarkJapaneseCrLf() {
  static const Bytes bytes = Utf8File(MakeText(Content::Japanese, u"\r\n", UnitsFor(2)), true);
  return bytes;
}
const Bytes& Utf8NoMarkJapaneseCrLf() {
  static const Bytes bytes = Utf8File(MakeText(Content::Japanese, u"\r\n", UnitsFor(2)), false);
  return bytes;
}
const Bytes& Utf16LEJapaneseCrLf() {
  static const Bytes bytes = Utf16File(MakeText(Content::Japanese, u"\r\n", UnitsFor(2)), false);
  return bytes;
}
const Bytes& Utf16LEEnglishLf() {
  static const Bytes bytes = Utf16File(MakeText(Content::English, u"\n", UnitsFor(2)), false);
  return bytes;
}
const Bytes& Utf16BEJapaneseCrLf() {
  static const Bytes bytes = Utf16File(MakeText(Content::Japanese, u"\r\n", UnitsFor(2)), true);
  return bytes;
}

}  // namespace

BENCHMARK(BM_MemcpyReused)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyFresh)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, utf8_mark_english_crlf, Utf8MarkEnglishCrLf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, utf8_mark_english_lf, Utf8MarkEnglishLf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, utf8_mark_japanese_crlf, Utf8MarkJapaneseCrLf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, utf8_nomark_japanese_crlf, Utf8NoMarkJapaneseCrLf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, utf16le_japanese_crlf, Utf16LEJapaneseCrLf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, utf16le_english_lf, Utf16LEEnglishLf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, utf16be_japanese_crlf, Utf16BEJapaneseCrLf)->Unit(benchmark::kMillisecond);
