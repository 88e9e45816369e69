// Small owners for Win32 resources and the UTF-16 string bridge between Win32 and src/text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace ui {

// A move-only owner of one handle; Traits gives the invalid value and the close function.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
  Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) noexcept {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};
struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::GlobalFree(h); }
};

using UniqueFile = UniqueHandle<FileTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueGlobal = UniqueHandle<GlobalTraits>;

// The clipboard, open for as long as this guard lives; it tests true when opening worked.
class ClipboardGuard {
 public:
  explicit ClipboardGuard(HWND owner) noexcept : open_(::OpenClipboard(owner) != FALSE) {}
  ClipboardGuard(const ClipboardGuard&) = delete;
  ClipboardGuard& operator=(const ClipboardGuard&) = delete;
  ~ClipboardGuard() {
    if (open_) ::CloseClipboard();
  }
  explicit operator bool() const noexcept { return open_; }

 private:
  bool open_;
};

// A locked global memory block; get() is null when the lock failed.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) noexcept
      : block_(block), data_(block ? ::GlobalLock(block) : nullptr) {}
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  ~GlobalLockGuard() {
    if (data_) ::GlobalUnlock(block_);
  }
  void* get() const noexcept { return data_; }
  // The block's size in bytes, which bounds every read of its contents.
  SIZE_T size() const noexcept { return data_ ? ::GlobalSize(block_) : 0; }

 private:
  HGLOBAL block_;
  void* data_;
};

// wchar_t is UTF-16 on Windows; src/text works on char16_t. These copy across the boundary.
inline std::u16string ToU16(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }
inline std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace ui
