// The event handlers of TFKalvo.
#include "F01.h"

#include "text/cmdline.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/dialogs.h"
#include "ui/files.h"
#include "ui/mapping.h"
#include "ui/textfile.h"
#include "ui/win32.h"

using namespace ui;

void TFKalvo::FormCreate(TObject*) {
  // Options, then files to load; anything else is reported and skipped. A load that fails
  // ends the walk (the error report shows why), leaving what earlier arguments did.
  const std::vector<std::u16string> arguments = kalvo::text::SplitCommandLine(ToU16(Application->CommandLine()));
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (kalvo::text::IsOption(argument, u'c')) {
      ++i;
      SetCaption(i < arguments.size() ? ToWide(arguments[i]) : std::wstring());
    } else if (kalvo::text::IsOption(argument, u't')) {
      SetTopMost(true, SWP_NOACTIVATE | SWP_NOOWNERZORDER);
      PMenuFormStyle->Checked = true;
    } else if (FileExists(ToWide(argument))) {
      LoadTextFile(*MemoOut, ToWide(argument));
      SetCaption(FileNameWithoutDirectory(ToWide(argument)));
    } else {
      ShowMessageBoxA(nullptr, "parameter error ", "Kalvo", MB_ICONWARNING);
    }
  }
  MemoOut->SetModified(false);
}

void TFKalvo::FormResize(TObject*) {
  // Text margins of 4 pixels left and right and 2 top and bottom, and a tab stop every
  // four average character widths (16 dialog template units).
  RECT r = MemoOut->ClientRect();
  ::InflateRect(&r, -4, -2);
  MemoOut->SetFormattingRect(r);
  MemoOut->SetTabStops(16);
}

void TFKalvo::PopupMenuPopup(TObject*) {
  for (TMenuItem* item : {PMenuPaste, PMenuAllCopy, PMenuUpper, PMenuLower, PMenuSaveAs, PMenuHankaku,
                          PMenuHiragana, PMenuKatakana})
    item->Enabled = false;
  if (MemoOut->TextLength() > 0) {
    PMenuAllCopy->Enabled = true;
    PMenuSaveAs->Enabled = true;
  }
  if (MemoOut->SelLength() > 0) {
    for (TMenuItem* item : {PMenuUpper, PMenuLower, PMenuHankaku, PMenuHiragana, PMenuKatakana})
      item->Enabled = true;
  }
  if (!TClipboard::AsText().empty()) PMenuPaste->Enabled = true;
  if (TClipboard::HasFormat(CF_HDROP)) PMenuPaste->Enabled = true;
}

void TFKalvo::PMenuAllCopyClick(TObject*) {
  MemoOut->SelectAll();
  MemoOut->CopyToClipboard();
}

void TFKalvo::PMenuAboutClick(TObject*) {
  ShowMessageBox(Handle(), L"Kalvo バージョン 0.05\n右クリックでメニューを開きます", Application->Title(), MB_OK);
}

void TFKalvo::PMenuConvClick(TObject* Sender) {
  const std::wstring selection = MemoOut->SelText();
  if (selection.empty()) return;
  const auto* item = dynamic_cast<TComponent*>(Sender);
  const std::optional<TCharConversion> conversion = item ? CharConversionFromTag(item->Tag) : std::nullopt;
  if (!conversion) return;
  // The whole result takes the selection's place in one step that cannot be undone, even
  // when nothing changed: the caret ends after it and the note counts as modified.
  MemoOut->ReplaceSelection(ConvertCharacters(selection, *conversion));
  MemoOut->ScrollCaret();
}

void TFKalvo::PMenuPasteClick(TObject*) {
  if (!TClipboard::HasFormat(CF_HDROP)) {
    // No file list: the edit area's own paste of the clipboard's text, which undo can take back.
    MemoOut->PasteFromClipboard();
    return;
  }
  // A file list: its full paths, one per line, take the selection's place in one step that
  // cannot be undone; any text also on the clipboard is ignored.
  const std::vector<std::wstring> names = TClipboard::FileNames();
  std::wstring paths;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) paths += L"\r\n";
    paths += names[i];
  }
  MemoOut->ReplaceSelection(paths);
}

void TFKalvo::PMenuFontSizeClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  PMenuFontSize11->Checked = false;
  PMenuFontSize36->Checked = false;
  item->Checked = true;
  // The item's tag is its size in points; the height is in pixels at the screen's resolution
  // (negative: the character height without internal leading).
  MemoOut->SetFontHeight(-::MulDiv(item->Tag, Application->PixelsPerInch(), 72));
  FormResize(this);
}

void TFKalvo::PMenuFormStyleClick(TObject*) {
  PMenuFormStyle->Checked = !PMenuFormStyle->Checked;
  SetTopMost(PMenuFormStyle->Checked);
}

void TFKalvo::PMenuScrollBarClick(TObject*) {
  const bool on = !PMenuScrollBar->Checked;
  // The mark follows once the edit area has its new window, so that a failed re-creation
  // leaves mark and view in agreement.
  MemoOut->SetScrollBars(on ? TScrollStyle::ssBoth : TScrollStyle::ssNone);
  PMenuScrollBar->Checked = on;
  FormResize(this);
}

void TFKalvo::PMenuWordWrapClick(TObject*) {
  const bool on = !PMenuWordWrap->Checked;
  MemoOut->SetWordWrap(on);
  PMenuWordWrap->Checked = on;
  FormResize(this);
}

void TFKalvo::FileOpenAccept(TObject*) {
  LoadTextFile(*MemoOut, FileOpen->Dialog.FileName);
  MemoOut->SetModified(false);
  SetCaption(FileNameWithoutDirectory(FileOpen->Dialog.FileName));
}

void TFKalvo::FileSaveAsAccept(TObject*) {
  SaveTextFile(*MemoOut, FileSaveAs->Dialog.FileName);
  MemoOut->SetModified(false);
  SetCaption(FileNameWithoutDirectory(FileSaveAs->Dialog.FileName));
}

void TFKalvo::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = true;
  if (!MemoOut->Modified()) return;
  if (MemoOut->TextLength() == 0) return;
  switch (ShowMessageBox(Handle(), L"【Kalvo】  保存しますか？", L"Kalvo", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDCANCEL:
      CanClose = false;
      return;
    case IDYES:
      // Only a note that was really saved may close: a cancelled dialog or a failed save
      // (reported inside the run) leaves the modified flag set and the window open.
      CanClose = false;
      FileSaveAs->Execute();
      CanClose = !MemoOut->Modified();
      return;
    default:
      // No, or a box that could not be shown: the window closes without saving.
      return;
  }
}
