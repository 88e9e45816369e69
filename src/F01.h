// TFKalvo: the main window, its components and its event handlers.
#pragma once

#include "ui/actions.h"
#include "ui/form.h"
#include "ui/memo.h"
#include "ui/menu.h"

using ui::TObject;

class TFKalvo : public ui::TForm {
 public:
  // Builds the window and its components from the form description, hidden, then runs
  // FormCreate.
  TFKalvo();

  ui::TMemo* MemoOut = nullptr;
  ui::TPopupMenu* PopupMenu = nullptr;
  ui::TActionList* ActionList = nullptr;
  ui::TEditCut* EditCut = nullptr;
  ui::TEditCopy* EditCopy = nullptr;
  ui::TEditPaste* EditPaste = nullptr;
  ui::TEditSelectAll* EditSelectAll = nullptr;
  ui::TEditUndo* EditUndo = nullptr;
  ui::TEditDelete* EditDelete = nullptr;
  ui::TFileOpen* FileOpen = nullptr;
  ui::TFileSaveAs* FileSaveAs = nullptr;
  ui::TMenuItem* PMenuUndo = nullptr;
  ui::TMenuItem* N1 = nullptr;
  ui::TMenuItem* PMenuCut = nullptr;
  ui::TMenuItem* PMenuCopy = nullptr;
  ui::TMenuItem* PMenuPaste = nullptr;
  ui::TMenuItem* PMenuDelete = nullptr;
  ui::TMenuItem* N2 = nullptr;
  ui::TMenuItem* PMenuSelectAll = nullptr;
  ui::TMenuItem* PMenuAllCopy = nullptr;
  ui::TMenuItem* PMenuUpper = nullptr;
  ui::TMenuItem* PMenuLower = nullptr;
  ui::TMenuItem* N4 = nullptr;
  ui::TMenuItem* PMenuFontSize11 = nullptr;
  ui::TMenuItem* PMenuFontSize36 = nullptr;
  ui::TMenuItem* N5 = nullptr;
  ui::TMenuItem* PMenuFormStyle = nullptr;
  ui::TMenuItem* PMenuOpen = nullptr;
  ui::TMenuItem* PMenuSaveAs = nullptr;
  ui::TMenuItem* PMenuScrollBar = nullptr;
  ui::TMenuItem* PMenuAbout = nullptr;
  ui::TMenuItem* PMenuHankaku = nullptr;
  ui::TMenuItem* PMenuHiragana = nullptr;
  ui::TMenuItem* PMenuKatakana = nullptr;
  ui::TMenuItem* N3 = nullptr;
  ui::TMenuItem* PMenuWordWrap = nullptr;

  void FormCreate(TObject* Sender);
  void FormResize(TObject* Sender);
  void PopupMenuPopup(TObject* Sender);
  void PMenuAllCopyClick(TObject* Sender);
  void PMenuConvClick(TObject* Sender);
  void PMenuFontSizeClick(TObject* Sender);
  void PMenuFormStyleClick(TObject* Sender);
  void FileOpenAccept(TObject* Sender);
  void FileSaveAsAccept(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void PMenuScrollBarClick(TObject* Sender);
  void PMenuAboutClick(TObject* Sender);
  void PMenuPasteClick(TObject* Sender);
  void PMenuWordWrapClick(TObject* Sender);

 private:
  // The form description: every component and its settings (F01_form.cpp).
  void CreateComponents();
};

// The one main window, from its creation to the end of the process.
extern TFKalvo* FKalvo;
