// Reading text files into the memo and writing its text out safely: a save goes to a
// temporary file beside the target, which then replaces the target in one step.
#include "ui/textfile.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdint>
#include <memory>
#include <new>
#include <span>

#include "text/encoding.h"
#include "ui/exception.h"
#include "ui/memo.h"
#include "ui/textfile_seam.h"
#include "ui/win32.h"

namespace ui {
namespace {

constexpr wchar_t kOpenError[] = L"ファイル %s は開けません。 %s ";
constexpr wchar_t kCreateError[] = L"ファイル \"%s\" を作成できません。%s";
constexpr wchar_t kWriteError[] = L"ストリームへの書き込みエラー";
constexpr wchar_t kTooLarge[] = L"文字列の大きさがメモの制限を越えました";

// Files from 2 GiB on are refused before anything is read: the code-page conversion
// counts in int, and such a text would not fit the edit control in any case.
constexpr LONGLONG kLargestFile = 0x7FFFFFFF;
// Each ReadFile or WriteFile call moves at most this many bytes (its count is a DWORD).
constexpr std::size_t kChunk = 1u << 30;

FileIoSeam g_io;

BOOL Read(HANDLE file, void* data, DWORD size, DWORD* read) {
  return g_io.read ? g_io.read(file, data, size, read, nullptr) : ::ReadFile(file, data, size, read, nullptr);
}

BOOL Write(HANDLE file, const void* data, DWORD size, DWORD* written) {
  return g_io.write ? g_io.write(file, data, size, written, nullptr)
                    : ::WriteFile(file, data, size, written, nullptr);
}

// The name expanded against the current directory; the name itself if that fails.
std::wstring FullPath(const std::wstring& name) {
  const DWORD needed = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return name;
  std::wstring path(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(name.c_str(), needed, path.data(), nullptr);
  if (length == 0 || length >= needed) return name;
  path.resize(length);
  return path;
}

// The open or create message for the file, with the description of the error code.
[[noreturn]] void RaiseFileError(const wchar_t* pattern, const std::wstring& name, DWORD code) {
  throw Exception(Format(pattern, {FullPath(name), SystemErrorText(code)}));
}

// Fills data with exactly size bytes from the file's start; anything less is an error.
void ReadWhole(HANDLE file, std::uint8_t* data, std::size_t size, const std::wstring& name) {
  std::size_t done = 0;
  while (done < size) {
    DWORD got = 0;
    const auto ask = static_cast<DWORD>(std::min(size - done, kChunk));
    if (!Read(file, data + done, ask, &got)) RaiseFileError(kOpenError, name, ::GetLastError());
    // The file ended before its size was reached: never pad the text with zero bytes.
    if (got == 0) RaiseFileError(kOpenError, name, ERROR_HANDLE_EOF);
    done += got;
  }
}

// The system's ANSI code page, leniently: invalid bytes become its substitute character.
std::u16string DecodeAnsi(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return {};
  // The caller refused files of 2 GiB and more, so the size fits in an int.
  const char* in = reinterpret_cast<const char*>(bytes.data());
  const int inSize = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, in, inSize, nullptr, 0);
  if (length <= 0) RaiseLastOSError();
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, in, inSize, reinterpret_cast<wchar_t*>(text.data()), length) != length)
    RaiseLastOSError();
  return text;
}

// The memo's redrawing is off while this lives; at its end the memo is drawn afresh.
class RedrawSuspended {
 public:
  explicit RedrawSuspended(TMemo& memo) : memo_(memo) { memo_.SetRedraw(false); }
  RedrawSuspended(const RedrawSuspended&) = delete;
  RedrawSuspended& operator=(const RedrawSuspended&) = delete;
  ~RedrawSuspended() {
    memo_.SetRedraw(true);
    memo_.Repaint();
  }

 private:
  TMemo& memo_;
};

// A temporary file beside the target, removed when this goes out of scope unless kept.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    file.reset();
    if (!path.empty() && !kept_) ::DeleteFileW(path.c_str());
  }
  // The file now has another name, or must stay because it is the only copy of the text.
  void Keep() noexcept { kept_ = true; }

  std::wstring path;
  UniqueFile file;

 private:
  bool kept_ = false;
};

// The folder part of a full path, without its last "\".
std::wstring FolderOf(const std::wstring& fullPath) {
  const std::size_t slash = fullPath.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring(L".") : fullPath.substr(0, slash);
}

// Creates a new, empty file with a name of its own in the target's folder. Its failures are
// those that creating the target would meet (no such folder, access denied), so they are
// reported with the create message.
void CreateTemporaryBeside(const std::wstring& target, TemporaryFile& temporary) {
  static unsigned counter = 0;
  const std::wstring folder = FolderOf(target);
  for (int attempt = 0;; ++attempt) {
    wchar_t name[64] = {};
    ::swprintf(name, 64, L"\\~kalvo%08lx%04x.tmp", ::GetCurrentProcessId() ^ ::GetTickCount(), ++counter & 0xFFFF);
    const std::wstring path = folder + name;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      temporary.path = path;
      temporary.file = std::move(file);
      return;
    }
    const DWORD error = ::GetLastError();
    if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100)
      RaiseFileError(kCreateError, target, error);
  }
}

// Writes all of the bytes; false (with the last error set) when a write fails or stops short.
bool WriteWhole(HANDLE file, const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD written = 0;
    const auto ask = static_cast<DWORD>(std::min(size - done, kChunk));
    if (!Write(file, data + done, ask, &written)) return false;
    if (written == 0) {
      ::SetLastError(ERROR_DISK_FULL);
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

void SetFileIoSeam(FileIoSeam seam) noexcept { g_io = seam; }

void LoadTextFile(TMemo& memo, const std::wstring& fileName) {
  // Others may read the file meanwhile but not write it.
  UniqueFile file(::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) RaiseFileError(kOpenError, fileName, ::GetLastError());
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) RaiseFileError(kOpenError, fileName, ::GetLastError());
  if (size.QuadPart > kLargestFile) throw Exception(kTooLarge);

  std::wstring text;
  try {
    std::u16string decoded;
    {
      const auto length = static_cast<std::size_t>(size.QuadPart);
      // Not zero-filled: every byte is read or the load fails.
      std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[length]);
      ReadWhole(file.get(), bytes.get(), length, fileName);
      file.reset();
      decoded = kalvo::text::DecodeText(std::span<const std::uint8_t>(bytes.get(), length), DecodeAnsi);
    }
    text.assign(decoded.begin(), decoded.end());
  } catch (const std::bad_alloc&) {
    throw Exception(kTooLarge);
  }
  // The edit control takes the text up to its first NUL.
  const std::size_t shown = std::min(text.find(L'\0'), text.size());
  if (shown > memo.MaxLength()) throw Exception(kTooLarge);
  // An unchanged text keeps the caret, the selection, the scroll position and the undo record.
  if (memo.TextLength() == text.size() && memo.Text() == text) return;
  RedrawSuspended redraw(memo);
  memo.SetText(text);
}

void SaveTextFile(TMemo& memo, const std::wstring& fileName) {
  static_assert(std::endian::native == std::endian::little, "the text's units are written as they lie in memory");
  const std::wstring target = FullPath(fileName);
  const std::wstring text = memo.Text();

  // A target that could not be created and emptied now is refused before anything is
  // written, with the reason that creating it would give; it stays as it is.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists) {
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
      RaiseFileError(kCreateError, target, ERROR_ACCESS_DENIED);
    // Another program holding it open, in any way, makes this fail as creating it would.
    UniqueFile probe(::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) RaiseFileError(kCreateError, target, ::GetLastError());
  }

  TemporaryFile temporary;
  CreateTemporaryBeside(target, temporary);
  const wchar_t* tempPath = temporary.path.c_str();

  // The mark, then the text's units low byte first, in two writes.
  static constexpr std::uint8_t kMark[] = {0xFF, 0xFE};
  if (!WriteWhole(temporary.file.get(), kMark, sizeof kMark) ||
      !WriteWhole(temporary.file.get(), reinterpret_cast<const std::uint8_t*>(text.data()),
                  text.size() * sizeof(wchar_t)) ||
      !::FlushFileBuffers(temporary.file.get()))
    throw Exception(kWriteError);
  temporary.file.reset();

  if (!exists) {
    if (!::MoveFileExW(tempPath, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      RaiseFileError(kCreateError, target, ::GetLastError());
    temporary.Keep();
    return;
  }
  // The replacement takes over the target's attributes and security.
  if (!::ReplaceFileW(target.c_str(), tempPath, nullptr, 0, nullptr, nullptr)) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
      // The target is already gone: the new text is the only copy left, so it must take
      // the target's place, or at least stay on disk under its temporary name.
      temporary.Keep();
      if (::MoveFileExW(tempPath, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    }
    RaiseFileError(kCreateError, target, error);
  }
  temporary.Keep();
}

}  // namespace ui
