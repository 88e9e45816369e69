// TAction and the standard actions: the edit commands on the focused memo, and the open and
// save-as commands with dialogs of their own.
#pragma once

#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/dialogs.h"
#include "ui/menu.h"

namespace ui {

class TMemo;

class TAction : public TComponent {
 public:
  TAction(std::wstring name, std::wstring caption, TShortCut shortCut);

  std::wstring Caption;
  TShortCut ShortCut;

  bool Enabled() const noexcept { return enabled_; }
  // Setting the state passes it on to the bound items.
  void SetEnabled(bool enabled);

  // Re-evaluates the enabled state.
  virtual void Update() {}
  // Re-evaluates, then runs the command if the action is enabled.
  void Execute();

 protected:
  virtual void Run() = 0;

 private:
  friend class TMenuItem;
  bool enabled_ = true;
  std::vector<TMenuItem*> clients_;
};

// An edit action works on the memo that has the keyboard focus; with none it is disabled.
class TEditAction : public TAction {
 public:
  using TAction::TAction;
  void Update() override;

 protected:
  void Run() override;
  TMemo* Target() const;
  virtual bool EnabledFor(TMemo& memo) const = 0;
  virtual void RunOn(TMemo& memo) = 0;
};

#define KALVO_EDIT_ACTION(Name)                         \
  class Name : public TEditAction {                     \
   public:                                              \
    using TEditAction::TEditAction;                     \
                                                        \
   protected:                                           \
    bool EnabledFor(TMemo& memo) const override;        \
    void RunOn(TMemo& memo) override;                   \
  }
KALVO_EDIT_ACTION(TEditCut);
KALVO_EDIT_ACTION(TEditCopy);
KALVO_EDIT_ACTION(TEditPaste);
KALVO_EDIT_ACTION(TEditSelectAll);
KALVO_EDIT_ACTION(TEditUndo);
KALVO_EDIT_ACTION(TEditDelete);
#undef KALVO_EDIT_ACTION

// The dialog a file action owns: its file name is the last accepted full path.
struct TFileDialog {
  FileDialogKind Kind;
  std::wstring FileName;
  std::wstring DefaultExt;
};

// Open and save as: the action shows its dialog (owned by the main window) and, when the
// user accepts, runs OnAccept; an error there is reported inside the run.
class TFileAction : public TAction {
 public:
  TFileAction(std::wstring name, std::wstring caption, TShortCut shortCut, FileDialogKind kind);
  TFileDialog Dialog;
  TNotifyEvent OnAccept;

 protected:
  void Run() override;
};

class TFileOpen : public TFileAction {
 public:
  TFileOpen(std::wstring name, std::wstring caption, TShortCut shortCut)
      : TFileAction(std::move(name), std::move(caption), shortCut, FileDialogKind::Open) {}
};

class TFileSaveAs : public TFileAction {
 public:
  TFileSaveAs(std::wstring name, std::wstring caption, TShortCut shortCut)
      : TFileAction(std::move(name), std::move(caption), shortCut, FileDialogKind::Save) {}
};

class TActionList : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TAction*> Actions;
};

}  // namespace ui
