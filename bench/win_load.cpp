// Loading text files into the real window under Wine, against the bare WM_SETTEXT of the
// same final text, and saving, against one plain WriteFile of the same bytes, all measured
// in the same run (and, for context, a plain write with a flush, the read plus decoding
// alone, and the WM_GETTEXT that a save starts with). Times are medians in seconds.
// Usage: win_bench.exe [repetitions]; prints one line per case with its ratios.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <span>
#include <memory>
#include <string>
#include <vector>

#include "F01.h"
#include "ui/application.h"
#include "ui/textfile.h"
#include "ui/win32.h"
#include "text/encoding.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Lines of ordinary length, 60 to 80 characters, from a fixed stock of words that code
// page 932 can hold too.
std::wstring MakeText(std::size_t units, const wchar_t* lineBreak) {
  static const wchar_t* words[] = {L"メモ帳は", L"一つの", L"文章を", L"保持し、", L"ファイルから", L"読み込んで",
                                   L"保存します。", L"the ", L"memo ", L"keeps ", L"plain ", L"text ", L"42 ",
                                   L"ひらがな", L"カタカナ", L"変換"};
  std::wstring text;
  text.reserve(units + 100);
  std::uint32_t seed = 12345;
  std::size_t line = 0;
  std::size_t target = 70;
  while (text.size() < units) {
    seed = seed * 1103515245u + 12345u;
    const std::wstring word = words[(seed >> 16) % (sizeof words / sizeof *words)];
    text += word;
    line += word.size();
    if (line >= target) {
      text += lineBreak;
      line = 0;
      target = 60 + (seed >> 8) % 21;
    }
  }
  return text;
}

Bytes Utf8(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  Bytes out(static_cast<std::size_t>(n));
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<char*>(out.data()), n,
                        nullptr, nullptr);
  return out;
}

Bytes ShiftJis(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  Bytes out(static_cast<std::size_t>(n));
  ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<char*>(out.data()), n,
                        nullptr, nullptr);
  return out;
}

Bytes WithMark(Bytes mark, const Bytes& body) {
  mark.insert(mark.end(), body.begin(), body.end());
  return mark;
}

Bytes Utf16LE(const std::wstring& text) {
  Bytes out(2 + 2 * text.size());
  out[0] = 0xFF;
  out[1] = 0xFE;
  std::memcpy(out.data() + 2, text.data(), 2 * text.size());
  return out;
}

// The file's bytes for a text of about `bytes` bytes in the given format.
struct Format {
  const char* name;
  std::function<Bytes(std::size_t)> make;
};

const Format kFormats[] = {
    {"UTF-16 LE", [](std::size_t bytes) { return Utf16LE(MakeText(bytes / 2, L"\r\n")); }},
    {"UTF-8 with mark", [](std::size_t bytes) { return WithMark({0xEF, 0xBB, 0xBF}, Utf8(MakeText(bytes * 10 / 24, L"\r\n"))); }},
    {"Shift_JIS, no mark", [](std::size_t bytes) { return ShiftJis(MakeText(bytes * 10 / 17, L"\r\n")); }},
    {"UTF-8, no mark, LF lines", [](std::size_t bytes) { return Utf8(MakeText(bytes * 10 / 24, L"\n")); }},
};

double Now() {
  static LARGE_INTEGER frequency{};
  if (!frequency.QuadPart) ::QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER t{};
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Seconds(const std::function<void()>& fn) {
  const double start = Now();
  fn();
  return Now() - start;
}

void WriteAll(const std::wstring& path, const Bytes& bytes) {
  ui::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!f || !::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    std::fprintf(stderr, "cannot write %ls\n", path.c_str());
    std::exit(1);
  }
}

// Reads the file and decodes it as LoadTextFile does, without the edit control.
std::size_t ReadAndDecode(const std::wstring& path) {
  ui::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  ::GetFileSizeEx(f.get(), &size);
  Bytes bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  ::ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  const std::u16string text = kalvo::text::DecodeText(bytes, [](std::span<const std::uint8_t> b) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size()), nullptr, 0);
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size()),
                          reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
  });
  return text.size();
}

// One plain write of the bytes, then a flush to the disk as a save does.
void WriteAndFlush(const std::wstring& path, const Bytes& bytes) {
  ui::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::FlushFileBuffers(f.get());
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  ui::Application->Initialize();
  ui::Application->SetCommandLine(L"win_bench.exe");
  auto form = std::make_unique<TFKalvo>();
  ui::Application->MainForm = form.get();
  ::ShowWindow(form->Handle(), SW_SHOWNORMAL);
  ui::TMemo& memo = *form->MemoOut;

  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"kalvo-bench-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring input = folder + L"\\in.txt";
  const std::wstring output = folder + L"\\out.txt";
  const std::wstring plain = folder + L"\\plain.txt";

  std::printf("%-26s %5s | %7s %8s %5s %7s | %7s %7s %5s %7s %5s %7s\n", "file", "MiB", "load", "settext", "ratio",
              "decode", "save", "write", "ratio", "w+flush", "ratio", "gettext");
  for (const std::size_t size : {std::size_t{1} << 20, std::size_t{8} << 20}) {
    for (const Format& format : kFormats) {
      const Bytes bytes = format.make(size);
      WriteAll(input, bytes);
      std::vector<double> load, setText, decode, save, write, flushed, getText;
      std::wstring final;
      for (int r = 0; r < repetitions; ++r) {
        memo.SetText(L"x");
        load.push_back(Seconds([&] { ui::LoadTextFile(memo, input); }));
        final = memo.Text();
        memo.SetText(L"x");
        setText.push_back(Seconds([&] { memo.SetText(final); }));
        decode.push_back(Seconds([&] { ReadAndDecode(input); }));
        save.push_back(Seconds([&] { ui::SaveTextFile(memo, output); }));
        const Bytes saved = Utf16LE(final);
        write.push_back(Seconds([&] { WriteAll(plain, saved); }));
        flushed.push_back(Seconds([&] { WriteAndFlush(plain, saved); }));
        getText.push_back(Seconds([&] { final = memo.Text(); }));
      }
      const double l = Median(load), t = Median(setText), v = Median(save), w = Median(write), f = Median(flushed);
      std::printf("%-26s %5.1f | %7.3f %8.3f %5.2f %7.3f | %7.4f %7.4f %5.2f %7.4f %5.2f %7.4f\n", format.name,
                  static_cast<double>(bytes.size()) / 1048576.0, l, t, l / t, Median(decode), v, w, v / w, f, v / f,
                  Median(getText));
      std::fflush(stdout);
    }
  }

  ::DeleteFileW(input.c_str());
  ::DeleteFileW(output.c_str());
  ::DeleteFileW(plain.c_str());
  ::RemoveDirectoryW(folder.c_str());
  ui::Application->MainForm = nullptr;
  form.reset();
  ui::Application->Finalize();
  return 0;
}
