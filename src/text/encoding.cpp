// Detection, decoding and line-break normalisation of text files, and the saved file's bytes.
// Decoding measures the exact result length in one pass and writes it in a second one.
#include "text/encoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>
#include <stdexcept>

namespace kalvo::text {
namespace {

constexpr char16_t kCR = 0x000D;
constexpr char16_t kLF = 0x000A;
constexpr char16_t kReplacement = 0xFFFD;

// Blocks of this many bytes or units are tested at once for anything but plain text.
constexpr std::size_t kBlock = 16;

// Tests on the bytes (or 16-bit lanes) of a 64-bit word read from memory in the machine's
// order. A flag is the top bit of its byte or lane, and is exact: no carry crosses lanes.
constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
constexpr std::uint64_t kEveryLane = 0x0001000100010001u;

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Flags the bytes of v that are zero.
std::uint64_t ZeroBytes(std::uint64_t v) {
  constexpr std::uint64_t low7 = kEveryByte * 0x7F;
  return ~(((v & low7) + low7) | v | low7);
}

// Flags the 16-bit lanes of v that are zero.
std::uint64_t ZeroLanes(std::uint64_t v) {
  constexpr std::uint64_t low15 = kEveryLane * 0x7FFF;
  return ~(((v & low15) + low15) | v | low15);
}

// Position in memory, counted in lanes of `laneBits`, of the first flagged lane.
template <int laneBits>
std::size_t FirstFlagged(std::uint64_t flags) {
  const int bit = std::endian::native == std::endian::little ? std::countr_zero(flags) : std::countl_zero(flags);
  return static_cast<std::size_t>(bit / laneBits);
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
  return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

void PutBreak(char16_t*& out) {
  out[0] = kCR;
  out[1] = kLF;
  out += 2;
}

// ---- UTF-16 ------------------------------------------------------------------------------

template <std::endian order>
char16_t UnitAt(const std::uint8_t* p, std::size_t i) {
  std::uint16_t v;
  std::memcpy(&v, p + 2 * i, sizeof v);
  if constexpr (order != std::endian::native) {
    v = static_cast<std::uint16_t>(v << 8 | v >> 8);
  }
  return static_cast<char16_t>(v);
}

bool IsBreak(char16_t u) { return u == kCR || u == kLF; }

// Adds the CRs and LFs, and the CR LF pairs, among units [from, from + blockSize) to the
// tallies; unit from - 1 must exist. The counters are 16-bit over the block, so that the
// loop vectorises with lanes as wide as the units.
template <std::endian order, std::size_t blockSize>
void TallyUnits(const std::uint8_t* p, std::size_t from, std::size_t& breaks, std::size_t& pairs) {
  static_assert(blockSize <= 0xFFFF);
  std::uint16_t blockBreaks = 0;
  std::uint16_t blockPairs = 0;
  for (std::size_t i = from; i < from + blockSize; ++i) {
    const char16_t u = UnitAt<order>(p, i);
    blockBreaks = static_cast<std::uint16_t>(blockBreaks + IsBreak(u));
    blockPairs = static_cast<std::uint16_t>(blockPairs + ((u == kLF) & (UnitAt<order>(p, i - 1) == kCR)));
  }
  breaks += blockBreaks;
  pairs += blockPairs;
}

// Length after normalisation of the n units at p: every CR and every LF becomes CR LF,
// except that CR LF is one break, so n + CRs + LFs - 2 * (CR LF pairs).
template <std::endian order>
std::size_t NormalizedLength(const std::uint8_t* p, std::size_t n) {
  if (n == 0) {
    return 0;
  }
  std::size_t breaks = IsBreak(UnitAt<order>(p, 0));
  std::size_t pairs = 0;
  constexpr std::size_t kUnits = 4096;
  std::size_t i = 1;
  for (; n - i >= kUnits; i += kUnits) {
    TallyUnits<order, kUnits>(p, i, breaks, pairs);
  }
  for (; i < n; ++i) {
    TallyUnits<order, 1>(p, i, breaks, pairs);
  }
  return n + breaks - 2 * pairs;
}

template <std::endian order>
void CopyUnits(const std::uint8_t* p, std::size_t from, std::size_t count, char16_t* out) {
  if constexpr (order == std::endian::native) {
    if (count != 0) {  // p may be null then
      std::memcpy(out, p + 2 * from, 2 * count);
    }
  } else {
    for (std::size_t k = 0; k < count; ++k) {
      out[k] = UnitAt<order>(p, from + k);
    }
  }
}

// Index of the first CR or LF from `from` on, or n.
template <std::endian order>
std::size_t NextBreak(const std::uint8_t* p, std::size_t n, std::size_t from) {
  // The units are read in the machine's order: a unit of the other order shows up with
  // its bytes swapped.
  constexpr bool swapped = order != std::endian::native;
  constexpr std::uint64_t cr = kEveryLane * (swapped ? std::uint64_t{kCR} << 8 : kCR);
  constexpr std::uint64_t lf = kEveryLane * (swapped ? std::uint64_t{kLF} << 8 : kLF);
  std::size_t i = from;
  for (; n - i >= kBlock; i += kBlock) {
    for (std::size_t word = 0; word < kBlock / 4; ++word) {
      const std::uint64_t v = Load64(p + 2 * (i + 4 * word));
      const std::uint64_t flags = ZeroLanes(v ^ cr) | ZeroLanes(v ^ lf);
      if (flags != 0) {
        return i + 4 * word + FirstFlagged<16>(flags);
      }
    }
  }
  while (i < n && !IsBreak(UnitAt<order>(p, i))) {
    ++i;
  }
  return i;
}

// Writes the n units at p with normalised breaks; `length` is NormalizedLength of them.
template <std::endian order>
void WriteNormalized(const std::uint8_t* p, std::size_t n, std::size_t length, char16_t* out) {
  if (length == n) {
    // Every CR already has its LF and every LF its CR.
    CopyUnits<order>(p, 0, n, out);
    return;
  }
  std::size_t i = 0;
  while (i < n) {
    const std::size_t end = NextBreak<order>(p, n, i);
    CopyUnits<order>(p, i, end - i, out);
    out += end - i;
    if (end == n) {
      break;
    }
    PutBreak(out);
    i = end + 1;
    if (UnitAt<order>(p, end) == kCR && i < n && UnitAt<order>(p, i) == kLF) {
      ++i;
    }
  }
}

template <std::endian order>
std::u16string DecodeUtf16(std::span<const std::uint8_t> body) {
  const std::size_t n = body.size() / 2;  // a lone last byte is dropped
  const std::size_t length = NormalizedLength<order>(body.data(), n);
  std::u16string text(length, u'\0');
  WriteNormalized<order>(body.data(), n, length, text.data());
  return text;
}

// A char16_t's bytes may be read through an unsigned char pointer.
const std::uint8_t* BytesOf(std::u16string_view text) { return reinterpret_cast<const std::uint8_t*>(text.data()); }

// ---- UTF-8, well-formed ------------------------------------------------------------------

// Reads the well-formed sequence at p (its first byte above 0x7F) into c and gives its
// length, or 0 when the bytes there are not a well-formed sequence.
[[gnu::always_inline]] inline std::size_t ReadSequence(const std::uint8_t* p, std::size_t remaining, char32_t& c) {
  const auto isTrail = [](std::uint8_t b) { return (b & 0xC0) == 0x80; };
  const std::uint8_t b0 = p[0];
  if (b0 < 0xE0) {
    if (b0 < 0xC2 || remaining < 2 || !isTrail(p[1])) {
      return 0;  // a trail byte, an overlong lead or a sequence cut short
    }
    c = char32_t{b0 & 0x1Fu} << 6 | (p[1] & 0x3Fu);
    return 2;
  }
  if (b0 < 0xF0) {
    if (remaining < 3 || !isTrail(p[1]) || !isTrail(p[2])) {
      return 0;
    }
    c = char32_t{b0 & 0x0Fu} << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    return c >= 0x800 && (c < 0xD800 || c > 0xDFFF) ? 3 : 0;
  }
  if (b0 > 0xF4 || remaining < 4 || !isTrail(p[1]) || !isTrail(p[2]) || !isTrail(p[3])) {
    return 0;
  }
  c = char32_t{b0 & 0x07u} << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
  return c >= 0x10000 && c <= 0x10FFFF ? 4 : 0;
}

void PutCodePoint(char16_t*& out, char32_t c) {
  if (c > 0xFFFF) {
    c -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (c >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    out += 2;
  } else {
    *out++ = static_cast<char16_t>(c);
  }
}

struct Utf8Measure {
  std::size_t length;     // of the normalised text, provided the bytes are well-formed
  std::size_t highBytes;  // bytes above 0x7F
  bool balanced;          // trail bytes as many as the lead bytes ask for
};

// Counts over the bytes of a block; each grows by at most one per byte.
struct Utf8Tally {
  std::size_t trail = 0;  // 80..BF
  std::size_t from2 = 0;  // C0..FF: leads of two bytes or more
  std::size_t from3 = 0;  // E0..FF
  std::size_t from4 = 0;  // F0..FF
  std::size_t breaks = 0;
  std::size_t pairs = 0;  // CR LF
};

// Adds the counts of bytes [from, from + blockSize) to t; byte from - 1 must exist. The counters are 8-bit
// over blocks of at most 255 bytes, so that the loop vectorises with the widest lanes.
template <std::size_t blockSize>
void TallyBlock(const std::uint8_t* p, std::size_t from, Utf8Tally& t) {
  static_assert(blockSize <= 255);
  std::uint8_t trail = 0, from2 = 0, from3 = 0, from4 = 0, breaks = 0, pairs = 0;
  for (std::size_t i = from; i < from + blockSize; ++i) {
    const std::uint8_t b = p[i];
    trail = static_cast<std::uint8_t>(trail + ((b & 0xC0) == 0x80));
    from2 = static_cast<std::uint8_t>(from2 + (b >= 0xC0));
    from3 = static_cast<std::uint8_t>(from3 + (b >= 0xE0));
    from4 = static_cast<std::uint8_t>(from4 + (b >= 0xF0));
    breaks = static_cast<std::uint8_t>(breaks + ((b == kCR) | (b == kLF)));
    pairs = static_cast<std::uint8_t>(pairs + ((b == kLF) & (p[i - 1] == kCR)));
  }
  t.trail += trail;
  t.from2 += from2;
  t.from3 += from3;
  t.from4 += from4;
  t.breaks += breaks;
  t.pairs += pairs;
}

// One pass that the compiler can vectorise. Well-formed UTF-8 has one non-trail byte per
// code point, and a lead from F0 on makes a surrogate pair; the balance of lead and trail
// bytes rejects most other encodings before any text is allocated.
Utf8Measure MeasureUtf8(const std::uint8_t* p, std::size_t n) {
  if (n == 0) {
    return {0, 0, true};
  }
  // The first byte has no byte before it to pair with: count it on its own.
  Utf8Tally t;
  const std::uint8_t first = p[0];
  t.trail = (first & 0xC0) == 0x80;
  t.from2 = first >= 0xC0;
  t.from3 = first >= 0xE0;
  t.from4 = first >= 0xF0;
  t.breaks = first == kCR || first == kLF;
  constexpr std::size_t kBytes = 240;
  std::size_t i = 1;
  for (; n - i >= kBytes; i += kBytes) {
    TallyBlock<kBytes>(p, i, t);
  }
  for (; i < n; ++i) {
    TallyBlock<1>(p, i, t);
  }
  // Leads ask for 1, 2 or 3 trail bytes; F8..FF ask for 3 as well, which is only a filter.
  const std::size_t wanted = t.from2 + t.from3 + t.from4;
  return {
      .length = n - t.trail + t.from4 + t.breaks - 2 * t.pairs,
      .highBytes = t.trail + t.from2,
      .balanced = wanted == t.trail,
  };
}

// Writes well-formed UTF-8 as normalised UTF-16 into exactly `length` units; false when
// a sequence is not well-formed (the output is then incomplete).
bool WriteUtf8Strict(const std::uint8_t* p, std::size_t n, char16_t* out, std::size_t length) {
  char16_t* const outEnd = out + length;
  std::size_t i = 0;
  while (i < n) {
    // Plain ASCII, many bytes at a time, up to the first other byte. The whole block
    // is widened each time; what follows its plain part is written again below.
    while (n - i >= kBlock && static_cast<std::size_t>(outEnd - out) >= kBlock) {
      std::uint8_t block[kBlock];  // a copy, which the output cannot alias
      std::memcpy(block, p + i, kBlock);
      for (std::size_t k = 0; k < kBlock; ++k) {
        out[k] = block[k];
      }
      std::size_t plain = kBlock;
      for (std::size_t word = 0; word < kBlock / 8; ++word) {
        const std::uint64_t v = Load64(block + 8 * word);
        const std::uint64_t flags =
            (v | ZeroBytes(v ^ (kEveryByte * kCR)) | ZeroBytes(v ^ (kEveryByte * kLF))) & (kEveryByte * 0x80);
        if (flags != 0) {
          plain = 8 * word + FirstFlagged<8>(flags);
          break;
        }
      }
      out += plain;
      i += plain;
      if (plain < kBlock) {
        break;
      }
    }
    if (i == n) {
      break;
    }
    const std::uint8_t b = p[i];
    if (b < 0x80) {
      if (outEnd - out < (b == kCR || b == kLF ? 2 : 1)) {
        return false;
      }
      if (b == kCR) {
        PutBreak(out);
        i += (i + 1 < n && p[i + 1] == kLF) ? 2 : 1;
      } else if (b == kLF) {
        PutBreak(out);
        ++i;
      } else {
        *out++ = b;
        ++i;
      }
      continue;
    }
    // A run of non-ASCII characters, as in most Japanese text.
    do {
      if (n - i >= 3 && out != outEnd) {
        // Three-byte sequences (U+0800 to U+FFFF) first, with a single branch.
        const unsigned b0 = p[i];
        const unsigned b1 = p[i + 1];
        const unsigned b2 = p[i + 2];
        const char32_t c3 = (b0 & 0x0Fu) << 12 | (b1 & 0x3Fu) << 6 | (b2 & 0x3Fu);
        if (((b0 & 0xF0) == 0xE0) & ((b1 & 0xC0) == 0x80) & ((b2 & 0xC0) == 0x80) & (c3 >= 0x800) &
            (c3 - 0xD800 >= 0x800)) {
          *out++ = static_cast<char16_t>(c3);
          i += 3;
          continue;
        }
      }
      char32_t c;
      const std::size_t taken = ReadSequence(p + i, n - i, c);
      if (taken == 0 || outEnd - out < (c > 0xFFFF ? 2 : 1)) {
        return false;
      }
      PutCodePoint(out, c);
      i += taken;
    } while (i < n && p[i] >= 0x80);
  }
  return out == outEnd;
}

// The text of well-formed UTF-8, or nothing when the bytes are not well-formed.
std::optional<std::u16string> DecodeUtf8Strict(std::span<const std::uint8_t> body, const Utf8Measure& m) {
  if (!m.balanced) {
    return std::nullopt;
  }
  std::u16string text(m.length, u'\0');
  if (!WriteUtf8Strict(body.data(), body.size(), text.data(), text.size())) {
    return std::nullopt;
  }
  return text;
}

// ---- UTF-8, lenient ----------------------------------------------------------------------

// The length of the sequence at p (its first byte above 0x7F) when it is not well-formed:
// its longest start that some well-formed sequence has, at least one byte, so that the
// byte after it is looked at afresh (the "maximal subpart" of the Unicode Standard).
std::size_t IllFormedLength(const std::uint8_t* p, std::size_t remaining) {
  const std::uint8_t lead = p[0];
  std::size_t trailing;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    if (lead == 0xE0) {
      low = 0xA0;  // below would be overlong
    } else if (lead == 0xED) {
      high = 0x9F;  // above would be a surrogate
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    if (lead == 0xF0) {
      low = 0x90;  // below would be overlong
    } else if (lead == 0xF4) {
      high = 0x8F;  // above would exceed U+10FFFF
    }
  } else {
    return 1;  // a trail byte, C0, C1 or F5 to FF
  }
  std::size_t length = 1;
  while (length <= trailing && length < remaining && p[length] >= low && p[length] <= high) {
    low = 0x80;
    high = 0xBF;
    ++length;
  }
  return length;
}

// Walks UTF-8 that may hold ill-formed sequences; the sink gets each unit or break.
template <class Sink>
void WalkUtf8Lenient(const std::uint8_t* p, std::size_t n, Sink& sink) {
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = p[i];
    if (b == kCR) {
      sink.Break();
      i += (i + 1 < n && p[i + 1] == kLF) ? 2 : 1;
    } else if (b == kLF) {
      sink.Break();
      ++i;
    } else if (b < 0x80) {
      sink.CodePoint(b);
      ++i;
    } else {
      char32_t c;
      const std::size_t taken = ReadSequence(p + i, n - i, c);
      if (taken != 0) {
        sink.CodePoint(c);
        i += taken;
      } else {
        sink.CodePoint(kReplacement);
        i += IllFormedLength(p + i, n - i);
      }
    }
  }
}

struct LenientCounter {
  std::size_t length = 0;
  void Break() { length += 2; }
  void CodePoint(char32_t c) { length += c > 0xFFFF ? 2 : 1; }
};

struct LenientWriter {
  char16_t* out;
  void Break() { PutBreak(out); }
  void CodePoint(char32_t c) { PutCodePoint(out, c); }
};

std::u16string DecodeUtf8Lenient(std::span<const std::uint8_t> body) {
  LenientCounter counter;
  WalkUtf8Lenient(body.data(), body.size(), counter);
  std::u16string text(counter.length, u'\0');
  LenientWriter writer{text.data()};
  WalkUtf8Lenient(body.data(), body.size(), writer);
  return text;
}

std::u16string DecodeAnsi(std::span<const std::uint8_t> fileBytes, const AnsiDecoder& ansi) {
  std::u16string decoded = ansi(fileBytes);
  const std::uint8_t* units = BytesOf(decoded);
  const std::size_t length = NormalizedLength<std::endian::native>(units, decoded.size());
  if (length == decoded.size()) {
    return decoded;  // nothing to change: keep the one copy
  }
  std::u16string text(length, u'\0');
  WriteNormalized<std::endian::native>(units, decoded.size(), length, text.data());
  return text;
}

}  // namespace

bool IsValidUtf8(std::span<const std::uint8_t> bytes) {
  const std::uint8_t* p = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    if (n - i >= kBlock && ((Load64(p + i) | Load64(p + i + 8)) & (kEveryByte * 0x80)) == 0) {
      i += kBlock;  // all ASCII
    } else if (p[i] < 0x80) {
      ++i;
    } else {
      char32_t c;
      const std::size_t taken = ReadSequence(p + i, n - i, c);
      if (taken == 0) {
        return false;
      }
      i += taken;
    }
  }
  return true;
}

EncodingGuess DetectEncoding(std::span<const std::uint8_t> bytes) {
  if (StartsWith(bytes, {0xFF, 0xFE})) {
    return {TextEncoding::Utf16LE, 2};
  }
  if (StartsWith(bytes, {0xFE, 0xFF})) {
    return {TextEncoding::Utf16BE, 2};
  }
  if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) {
    return {TextEncoding::Utf8, 3};
  }
  // Pure ASCII reads the same in every encoding in question, so it stays ANSI.
  const bool hasHighByte = std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b > 0x7F; });
  if (hasHighByte && IsValidUtf8(bytes)) {
    return {TextEncoding::Utf8, 0};
  }
  return {TextEncoding::Ansi, 0};
}

std::u16string DecodeText(std::span<const std::uint8_t> fileBytes, const AnsiDecoder& ansi) {
  // The same choice as DetectEncoding, but a file without a mark is tried as UTF-8 at
  // once instead of being checked whole first, which would walk its bytes once more.
  if (StartsWith(fileBytes, {0xFF, 0xFE})) {
    return DecodeUtf16<std::endian::little>(fileBytes.subspan(2));
  }
  if (StartsWith(fileBytes, {0xFE, 0xFF})) {
    return DecodeUtf16<std::endian::big>(fileBytes.subspan(2));
  }
  if (StartsWith(fileBytes, {0xEF, 0xBB, 0xBF})) {
    const std::span<const std::uint8_t> body = fileBytes.subspan(3);
    if (auto text = DecodeUtf8Strict(body, MeasureUtf8(body.data(), body.size()))) {
      return std::move(*text);
    }
    return DecodeUtf8Lenient(body);
  }
  const Utf8Measure m = MeasureUtf8(fileBytes.data(), fileBytes.size());
  if (m.highBytes != 0) {
    if (auto text = DecodeUtf8Strict(fileBytes, m)) {
      return std::move(*text);
    }
  }
  return DecodeAnsi(fileBytes, ansi);
}

std::u16string NormalizeLineBreaks(std::u16string_view text) {
  const std::size_t length = NormalizedLength<std::endian::native>(BytesOf(text), text.size());
  std::u16string normalized(length, u'\0');
  WriteNormalized<std::endian::native>(BytesOf(text), text.size(), length, normalized.data());
  return normalized;
}

std::vector<std::uint8_t> EncodeUtf16LEWithMark(std::u16string_view text) {
  if (text.size() > (std::numeric_limits<std::size_t>::max() - 2) / 2) {
    throw std::length_error("text too long to save");
  }
  std::vector<std::uint8_t> bytes(2 + 2 * text.size());
  bytes[0] = 0xFF;
  bytes[1] = 0xFE;
  std::uint8_t* out = bytes.data() + 2;
  if constexpr (std::endian::native == std::endian::little) {
    if (!text.empty()) {                               // an empty view may have no data at all
      std::memcpy(out, text.data(), 2 * text.size());  // the units are stored low byte first already
    }
  } else {
    for (const char16_t unit : text) {
      *out++ = static_cast<std::uint8_t>(unit & 0xFF);
      *out++ = static_cast<std::uint8_t>(unit >> 8);
    }
  }
  return bytes;
}

}  // namespace kalvo::text
