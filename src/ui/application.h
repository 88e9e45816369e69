// The application object: its title, the message loop with shortcut pre-dispatch, and the
// error report through which every error escaping a handler reaches the user.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace ui {

class TForm;

class TApplication {
 public:
  // Derives the title from the program file's name, initialises OLE and loads the icon.
  void Initialize();
  void Finalize() noexcept;

  const std::wstring& Title() const noexcept { return title_; }
  HICON Icon() const noexcept { return icon_; }
  // The screen's logical pixels per inch, read once at start-up.
  int PixelsPerInch() const noexcept { return pixelsPerInch_; }

  TForm* MainForm = nullptr;

  // The process's command line (GetCommandLineW); tests put their own in its place.
  std::wstring CommandLine() const;
  void SetCommandLine(std::wstring commandLine) { commandLine_ = std::move(commandLine); }

  // Runs the message loop until the quit message.
  void Run();
  // Offers a key message to the main form's shortcuts before the focused control sees it;
  // true when a shortcut claimed the key.
  bool IsShortCut(const MSG& msg);
  // One step of the loop: pre-dispatch, translate, dispatch.
  void ProcessMessage(MSG& msg);

  // The error report: shows the current exception in a message box and returns.
  void HandleException(std::exception_ptr error) noexcept;

 private:
  std::wstring title_;
  HICON icon_ = nullptr;
  int pixelsPerInch_ = 96;
  bool oleInitialized_ = false;
  std::wstring commandLine_;
};

extern TApplication* Application;

// Runs fn and sends any exception it raises to the error report, so that no exception
// crosses a Win32 callback. Returns false when fn raised.
bool Guard(const std::function<void()>& fn) noexcept;

}  // namespace ui
