// The standard actions.
#include "ui/actions.h"

#include "ui/application.h"
#include "ui/form.h"
#include "ui/memo.h"

namespace ui {

TAction::TAction(std::wstring name, std::wstring caption, TShortCut shortCut)
    : TComponent(std::move(name)), Caption(std::move(caption)), ShortCut(shortCut) {}

void TAction::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  for (TMenuItem* item : clients_) item->Enabled = enabled;
}

void TAction::Execute() {
  Update();
  if (enabled_) Run();
}

TMemo* TEditAction::Target() const { return TMemo::FromHandle(::GetFocus()); }

void TEditAction::Update() {
  TMemo* memo = Target();
  SetEnabled(memo && EnabledFor(*memo));
}

void TEditAction::Run() {
  if (TMemo* memo = Target()) RunOn(*memo);
}

bool TEditCut::EnabledFor(TMemo& memo) const { return memo.SelLength() > 0; }
void TEditCut::RunOn(TMemo& memo) { memo.CutToClipboard(); }
bool TEditCopy::EnabledFor(TMemo& memo) const { return memo.SelLength() > 0; }
void TEditCopy::RunOn(TMemo& memo) { memo.CopyToClipboard(); }
bool TEditPaste::EnabledFor(TMemo&) const { return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE; }
void TEditPaste::RunOn(TMemo& memo) { memo.PasteFromClipboard(); }
bool TEditSelectAll::EnabledFor(TMemo& memo) const { return memo.TextLength() > 0; }
void TEditSelectAll::RunOn(TMemo& memo) { memo.SelectAll(); }
bool TEditUndo::EnabledFor(TMemo& memo) const { return memo.CanUndo(); }
void TEditUndo::RunOn(TMemo& memo) { memo.Undo(); }
bool TEditDelete::EnabledFor(TMemo& memo) const { return memo.SelLength() > 0; }
void TEditDelete::RunOn(TMemo& memo) { memo.ClearSelection(); }

TFileAction::TFileAction(std::wstring name, std::wstring caption, TShortCut shortCut, FileDialogKind kind)
    : TAction(std::move(name), std::move(caption), shortCut), Dialog{kind, L"", L""} {}

void TFileAction::Run() {
  HWND owner = Application->MainForm ? Application->MainForm->Handle() : nullptr;
  FileDialogResult chosen = RunFileDialog({Dialog.Kind, owner, Dialog.FileName, Dialog.DefaultExt});
  if (owner) ::SetActiveWindow(owner);
  if (!chosen) return;
  Dialog.FileName = *chosen;
  // An error in the accept handler is reported here and never reaches the caller.
  if (OnAccept) Guard([this] { OnAccept(this); });
}

}  // namespace ui
