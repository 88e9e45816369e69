// TPopupMenu and TMenuItem: the context menu, its shortcut keys and their matching.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class TAction;

// A shortcut is a virtual-key code with modifier bits, as menus show it ("Ctrl+Z").
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut ShortCut(WORD key, TShortCut modifiers) {
  return static_cast<TShortCut>(key | modifiers);
}
// The shortcut of a key pressed now: its code with the current Ctrl, Shift and Alt state.
TShortCut ShortCutFromKey(WORD virtualKey);
// "Ctrl+Z" and the like; empty for no shortcut.
std::wstring ShortCutToText(TShortCut shortCut);

class TMenuItem : public TComponent {
 public:
  using TComponent::TComponent;

  std::wstring Caption;  // "-" draws a separator
  TShortCut ShortCut = 0;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  TNotifyEvent OnClick;

  // Binds the item to an action: it takes the action's caption (unless it has its own),
  // shortcut and enabled state, and choosing it executes the action.
  void SetAction(TAction* action);
  TAction* Action() const noexcept { return action_; }

  bool IsSeparator() const { return Caption == L"-"; }
  // Runs the item's command: its OnClick handler, or else its action.
  void Click();

 private:
  TAction* action_ = nullptr;
};

class TPopupMenu : public TComponent {
 public:
  using TComponent::TComponent;

  std::vector<TMenuItem*> Items;  // in menu order
  TNotifyEvent OnPopup;

  // Runs the popup event, builds the menu from the shown items and tracks it at the
  // screen point; the chosen item's command runs once the menu has closed.
  void Popup(HWND owner, POINT screenPoint);
  // The states as the menu is about to open: the popup event, then the bound items'
  // actions. False when the popup event failed (it has been reported; no menu is shown).
  bool PrepareForPopup();
  // Matches a shortcut against the items in menu order, hidden ones included; on a match
  // the states are brought up to date, the enabled item's command runs, and the key is
  // claimed whatever the item's state.
  bool IsShortCut(TShortCut shortCut);

 private:
  // Re-evaluates the actions of the bound items (they then carry the actions' states).
  void UpdateActions();
};

}  // namespace ui
