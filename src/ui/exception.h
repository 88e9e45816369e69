// The error type that handlers raise and the error report shows, and system error texts.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace ui {

class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return "kalvo error"; }

 private:
  std::wstring message_;
};

// The platform's description of an error code, without trailing blanks, control
// characters and full stops, ready to stand inside a sentence.
std::wstring SystemErrorText(DWORD code);

// Raises the system's description of GetLastError().
[[noreturn]] void RaiseLastOSError();

// Formats a message with "%s" placeholders filled in order.
std::wstring Format(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

}  // namespace ui
