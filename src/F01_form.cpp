// The form description of TFKalvo: every component and its settings, as data.
#include <array>

#include "F01.h"

using namespace ui;

namespace {

const FormSettings kWindow{
    .className = L"TFKalvo",
    .caption = L"Kalvo",
    .clientWidth = 205,
    .clientHeight = 69,
    .fontName = L"Tahoma",
    .fontHeight = -13,
    .designTextHeight = 16,
};

struct ActionDesc {
  enum Kind { Cut, Copy, Paste, SelectAll, Undo, Delete, Open, SaveAs } kind;
  const wchar_t* name;
  const wchar_t* caption;
  TShortCut shortCut;
};

constexpr std::array<ActionDesc, 8> kActions{{
    {ActionDesc::Cut, L"EditCut", L"切り取り(&T)", ShortCut('X', scCtrl)},
    {ActionDesc::Copy, L"EditCopy", L"コピー(&C)", ShortCut('C', scCtrl)},
    {ActionDesc::Paste, L"EditPaste", L"貼り付け(&P)", ShortCut('V', scCtrl)},
    {ActionDesc::SelectAll, L"EditSelectAll", L"すべてを選択(&A)", ShortCut('A', scCtrl)},
    {ActionDesc::Undo, L"EditUndo", L"元に戻す(&U)", ShortCut('Z', scCtrl)},
    {ActionDesc::Delete, L"EditDelete", L"削除(&D)", 0},
    {ActionDesc::Open, L"FileOpen", L"開く(&O)...", ShortCut('O', scCtrl)},
    {ActionDesc::SaveAs, L"FileSaveAs", L"名前を付けて保存", 0},
}};

using ItemField = TMenuItem* TFKalvo::*;
using ClickHandler = void (TFKalvo::*)(TObject*);

// The context menu in menu order. An empty caption on a bound item takes the action's.
struct ItemDesc {
  ItemField field;
  const wchar_t* name;
  const wchar_t* caption;
  TShortCut shortCut;
  int tag;
  bool checked;
  bool visible;
  ClickHandler onClick;
  const wchar_t* action;
};

const std::array<ItemDesc, 25> kMenu{{
    {&TFKalvo::PMenuUndo, L"PMenuUndo", L"", 0, 0, false, true, nullptr, L"EditUndo"},
    {&TFKalvo::N1, L"N1", L"-", 0, 0, false, true, nullptr, nullptr},
    {&TFKalvo::PMenuCut, L"PMenuCut", L"", 0, 0, false, true, nullptr, L"EditCut"},
    {&TFKalvo::PMenuCopy, L"PMenuCopy", L"", 0, 0, false, true, nullptr, L"EditCopy"},
    {&TFKalvo::PMenuPaste, L"PMenuPaste", L"貼り付け(&P)", ShortCut('V', scCtrl), 0, false, true,
     &TFKalvo::PMenuPasteClick, nullptr},
    {&TFKalvo::PMenuDelete, L"PMenuDelete", L"", 0, 0, false, true, nullptr, L"EditDelete"},
    {&TFKalvo::N2, L"N2", L"-", 0, 0, false, true, nullptr, nullptr},
    {&TFKalvo::PMenuSelectAll, L"PMenuSelectAll", L"", 0, 0, false, true, nullptr, L"EditSelectAll"},
    {&TFKalvo::PMenuAllCopy, L"PMenuAllCopy", L"すべてをコピー", 0, 0, false, true, &TFKalvo::PMenuAllCopyClick,
     nullptr},
    {&TFKalvo::N3, L"N3", L"-", 0, 0, false, true, nullptr, nullptr},
    {&TFKalvo::PMenuUpper, L"PMenuUpper", L"大文字変換", 0, 1, false, true, &TFKalvo::PMenuConvClick, nullptr},
    {&TFKalvo::PMenuLower, L"PMenuLower", L"小文字変換", 0, 2, false, true, &TFKalvo::PMenuConvClick, nullptr},
    {&TFKalvo::PMenuHankaku, L"PMenuHankaku", L"半角に変換", 0, 3, false, true, &TFKalvo::PMenuConvClick, nullptr},
    {&TFKalvo::PMenuHiragana, L"PMenuHiragana", L"全角ひらがなに変換", 0, 4, false, true, &TFKalvo::PMenuConvClick,
     nullptr},
    {&TFKalvo::PMenuKatakana, L"PMenuKatakana", L"全角カタカナに変換", 0, 5, false, true, &TFKalvo::PMenuConvClick,
     nullptr},
    {&TFKalvo::N4, L"N4", L"-", 0, 0, false, true, nullptr, nullptr},
    {&TFKalvo::PMenuFontSize11, L"PMenuFontSize11", L"フォントサイズ11", 0, 11, true, true,
     &TFKalvo::PMenuFontSizeClick, nullptr},
    {&TFKalvo::PMenuFontSize36, L"PMenuFontSize36", L"フォントサイズ36", 0, 36, false, true,
     &TFKalvo::PMenuFontSizeClick, nullptr},
    {&TFKalvo::N5, L"N5", L"-", 0, 0, false, true, nullptr, nullptr},
    {&TFKalvo::PMenuFormStyle, L"PMenuFormStyle", L"トップ表示", ShortCut('T', scCtrl), 0, false, true,
     &TFKalvo::PMenuFormStyleClick, nullptr},
    {&TFKalvo::PMenuScrollBar, L"PMenuScrollBar", L"スクロールバー", ShortCut('S', scCtrl), 0, false, true,
     &TFKalvo::PMenuScrollBarClick, nullptr},
    {&TFKalvo::PMenuWordWrap, L"PMenuWordWrap", L"ワードラップ", 0, 0, false, true, &TFKalvo::PMenuWordWrapClick,
     nullptr},
    {&TFKalvo::PMenuOpen, L"PMenuOpen", L"", 0, 0, false, false, nullptr, L"FileOpen"},
    {&TFKalvo::PMenuSaveAs, L"PMenuSaveAs", L"名前を付けて保存(&A)...", 0, 0, false, true, nullptr, L"FileSaveAs"},
    {&TFKalvo::PMenuAbout, L"PMenuAbout", L"バージョン情報", 0, 0, false, true, &TFKalvo::PMenuAboutClick, nullptr},
}};

}  // namespace

TFKalvo* FKalvo = nullptr;

TFKalvo::TFKalvo() : TForm(L"FKalvo", kWindow) {
  FKalvo = this;
  CreateComponents();
  CreateWindowAndRunOnCreate();
}

void TFKalvo::CreateComponents() {
  MemoOut = Own<TMemo>(L"MemoOut", MemoSettings{L"ＭＳ ゴシック", -15, ANSI_CHARSET});
  clientControl_ = MemoOut;
  PopupMenu = Own<TPopupMenu>(L"PopupMenu");
  PopupMenu->OnPopup = [this](TObject* s) { PopupMenuPopup(s); };
  MemoOut->PopupMenu = PopupMenu;

  ActionList = Own<TActionList>(L"ActionList");
  for (const ActionDesc& d : kActions) {
    TAction* action = nullptr;
    switch (d.kind) {
      case ActionDesc::Cut: action = EditCut = Own<TEditCut>(d.name, d.caption, d.shortCut); break;
      case ActionDesc::Copy: action = EditCopy = Own<TEditCopy>(d.name, d.caption, d.shortCut); break;
      case ActionDesc::Paste: action = EditPaste = Own<TEditPaste>(d.name, d.caption, d.shortCut); break;
      case ActionDesc::SelectAll:
        action = EditSelectAll = Own<TEditSelectAll>(d.name, d.caption, d.shortCut);
        break;
      case ActionDesc::Undo: action = EditUndo = Own<TEditUndo>(d.name, d.caption, d.shortCut); break;
      case ActionDesc::Delete: action = EditDelete = Own<TEditDelete>(d.name, d.caption, d.shortCut); break;
      case ActionDesc::Open: action = FileOpen = Own<TFileOpen>(d.name, d.caption, d.shortCut); break;
      case ActionDesc::SaveAs: action = FileSaveAs = Own<TFileSaveAs>(d.name, d.caption, d.shortCut); break;
    }
    ActionList->Actions.push_back(action);
  }
  FileOpen->Dialog.DefaultExt = L"txt";
  FileOpen->OnAccept = [this](TObject* s) { FileOpenAccept(s); };
  FileSaveAs->Dialog.DefaultExt = L"txt";
  FileSaveAs->OnAccept = [this](TObject* s) { FileSaveAsAccept(s); };

  for (const ItemDesc& d : kMenu) {
    TMenuItem* item = Own<TMenuItem>(d.name);
    this->*d.field = item;
    item->Caption = d.caption;
    item->ShortCut = d.shortCut;
    item->Tag = d.tag;
    item->Checked = d.checked;
    item->Visible = d.visible;
    if (d.onClick) item->OnClick = [this, h = d.onClick](TObject* s) { (this->*h)(s); };
    if (d.action) {
      for (TAction* a : ActionList->Actions)
        if (a->Name == d.action) item->SetAction(a);
    }
    PopupMenu->Items.push_back(item);
  }

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnResize = [this](TObject* s) { FormResize(s); };
  OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
}
