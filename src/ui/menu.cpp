// The context menu: building it from the items, tracking it, and shortcut matching.
#include "ui/menu.h"

#include "ui/actions.h"
#include "ui/application.h"
#include "ui/win32.h"

namespace ui {

TShortCut ShortCutFromKey(WORD virtualKey) {
  TShortCut sc = virtualKey;
  if (::GetKeyState(VK_SHIFT) < 0) sc |= scShift;
  if (::GetKeyState(VK_CONTROL) < 0) sc |= scCtrl;
  if (::GetKeyState(VK_MENU) < 0) sc |= scAlt;
  return sc;
}

std::wstring ShortCutToText(TShortCut shortCut) {
  if (!shortCut) return {};
  std::wstring text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  const WORD key = shortCut & 0xFF;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) text += static_cast<wchar_t>(key);
  return text;
}

void TMenuItem::SetAction(TAction* action) {
  action_ = action;
  if (!action) return;
  action->clients_.push_back(this);
  if (Caption.empty()) Caption = action->Caption;
  if (!ShortCut) ShortCut = action->ShortCut;
  Enabled = action->Enabled();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
  else if (action_) action_->Execute();
}

void TPopupMenu::UpdateActions() {
  for (TMenuItem* item : Items)
    if (item->Action()) item->Action()->Update();
}

bool TPopupMenu::PrepareForPopup() {
  // A failing popup event (the clipboard could not be read) is reported and the menu is
  // not shown.
  if (OnPopup && !Guard([this] { OnPopup(this); })) return false;
  return Guard([this] { UpdateActions(); });
}

void TPopupMenu::Popup(HWND owner, POINT screenPoint) {
  if (!PrepareForPopup()) return;

  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  UINT id = 0;
  for (TMenuItem* item : Items) {
    ++id;
    if (!item->Visible) continue;
    if (item->IsSeparator()) {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = item->Caption;
    const std::wstring keys = ShortCutToText(item->ShortCut);
    if (!keys.empty()) text += L"\t" + keys;
    UINT flags = MF_STRING;
    if (item->Checked) flags |= MF_CHECKED;
    if (!item->Enabled) flags |= MF_GRAYED;
    ::AppendMenuW(menu.get(), flags, id, text.c_str());
  }
  const UINT chosen = static_cast<UINT>(::TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, screenPoint.x,
      screenPoint.y, owner, nullptr));
  menu.reset();
  if (chosen == 0 || chosen > Items.size()) return;
  TMenuItem* item = Items[chosen - 1];
  if (item->Enabled) Guard([item] { item->Click(); });
}

bool TPopupMenu::IsShortCut(TShortCut shortCut) {
  TMenuItem* match = nullptr;
  for (TMenuItem* item : Items) {
    if (item->ShortCut == shortCut && !item->IsSeparator()) {
      match = item;
      break;
    }
  }
  if (!match) return false;
  // States are brought up to date as when the menu opens; a failure there is reported and
  // the item is still examined with the states reached.
  Guard([this] { UpdateActions(); });
  if (OnPopup) Guard([this] { OnPopup(this); });
  if (match->Enabled) Guard([match] { match->Click(); });
  return true;
}

}  // namespace ui
