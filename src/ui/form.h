// TForm: a top-level window with a caption, create/resize/close-query events, a stay-on-top
// state, and start-up scaling to the screen's resolution.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class TMemo;
class TPopupMenu;

using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

struct FormSettings {
  std::wstring className;
  std::wstring caption;
  int clientWidth;
  int clientHeight;
  std::wstring fontName;  // the form's own font, used only for start-up scaling
  int fontHeight;
  int designTextHeight;  // the text height of that font at 96 pixels per inch
};

class TForm : public TComponent {
 public:
  TForm(std::wstring name, FormSettings settings);
  ~TForm() override;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND Handle() const noexcept { return handle_; }

  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);

  int ClientWidth() const;
  int ClientHeight() const;

  // Moves the window into or out of the topmost band; position and size stay.
  void SetTopMost(bool topMost, UINT extraFlags = 0);

  // Shows the window with the show command the process was started with.
  void ShowAtStart();

  // Offers a key to the popup menu of the focused memo; true when a shortcut claimed it.
  bool IsShortCut(const MSG& msg);

  // Asks the close query; true when the window may close.
  bool CloseQuery();

  TNotifyEvent OnCreate;
  TNotifyEvent OnResize;
  TCloseQueryEvent OnCloseQuery;

 protected:
  // Creates the system window (hidden) and scales it; called by the derived constructor
  // once its components exist. Then runs OnCreate.
  void CreateWindowAndRunOnCreate();

  // Components are owned by the form and destroyed with it, after its window.
  template <typename T, typename... Args>
  T* Own(Args&&... args) {
    auto p = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = p.get();
    components_.push_back(std::move(p));
    return raw;
  }

  // The control that fills the client area.
  TMemo* clientControl_ = nullptr;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void ScaleToScreen();

  FormSettings settings_;
  HWND handle_ = nullptr;
  bool endingSession_ = false;
  bool closeQueryRunning_ = false;
  std::vector<std::unique_ptr<TComponent>> components_;
};

}  // namespace ui
