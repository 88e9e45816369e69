// Test support for file tests: a temporary folder with files of given bytes, reading files
// back, holding a file open as another program would, and the messages the user sees.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/exception.h"
#include "ui/win32.h"

namespace kalvo_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesOf(std::string_view s) { return Bytes(s.begin(), s.end()); }

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline void WriteBytes(const std::wstring& path, const Bytes& bytes) {
  ui::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(f) << "cannot create test file, error " << ::GetLastError();
  DWORD written = 0;
  if (!bytes.empty()) {
    ASSERT_TRUE(::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  }
  ASSERT_EQ(written, bytes.size());
}

inline Bytes ReadBytes(const std::wstring& path) {
  ui::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return BytesOf("<cannot open>");
  LARGE_INTEGER size{};
  ::GetFileSizeEx(f.get(), &size);
  Bytes out(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!out.empty()) ::ReadFile(f.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  out.resize(got);
  return out;
}

// A file of the given size whose bytes are never written (sparse where the disk allows).
inline void MakeFileOfSize(const std::wstring& path, LONGLONG size) {
  ui::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(f);
  LARGE_INTEGER to{};
  to.QuadPart = size;
  ASSERT_TRUE(::SetFilePointerEx(f.get(), to, nullptr, FILE_BEGIN));
  ASSERT_TRUE(::SetEndOfFile(f.get()));
}

// Opens the file as another program would; the handle closes with the returned owner.
inline ui::UniqueFile Hold(const std::wstring& path, DWORD access, DWORD share) {
  return ui::UniqueFile(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"kalvo-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() { Remove(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  // The names in the folder, sorted.
  std::vector<std::wstring> Entries() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW d{};
    ui::UniqueFind find(::FindFirstFileW((path_ + L"\\*").c_str(), &d));
    if (!find) return names;
    do {
      const std::wstring n = d.cFileName;
      if (n != L"." && n != L"..") names.push_back(n);
    } while (::FindNextFileW(find.get(), &d));
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW d{};
    {
      ui::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &d));
      if (find) {
        do {
          const std::wstring n = d.cFileName;
          if (n == L"." || n == L"..") continue;
          const std::wstring p = folder + L"\\" + n;
          if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Remove(p);
          } else {
            ::SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(p.c_str());
          }
        } while (::FindNextFileW(find.get(), &d));
      }
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  std::wstring path_;
};

// Makes a folder the current directory for as long as this lives.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::wstring& folder) {
    wchar_t old[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, old);
    old_ = old;
    ::SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentDirectory() { ::SetCurrentDirectoryW(old_.c_str()); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  std::wstring old_;
};

// The messages of loading and saving, as the error report is handed them.
inline std::wstring OpenMessage(const std::wstring& fullPath, DWORD code) {
  return ui::Format(L"ファイル %s は開けません。 %s ", {fullPath, ui::SystemErrorText(code)});
}
inline std::wstring CreateMessage(const std::wstring& fullPath, DWORD code) {
  return ui::Format(L"ファイル \"%s\" を作成できません。%s", {fullPath, ui::SystemErrorText(code)});
}
inline const std::wstring kTooLargeMessage = L"文字列の大きさがメモの制限を越えました";
inline const std::wstring kWriteMessage = L"ストリームへの書き込みエラー";

}  // namespace kalvo_test
