// The context menu: its items, the enabled states, shortcut keys and the edit commands.
#include "support.h"

#include "ui/menu.h"

using namespace kalvo_test;

namespace {

class MenuTest : public KalvoTest {
 protected:
  std::vector<ui::TMenuItem*> Items() const { return form->PopupMenu->Items; }
  ui::TMenuItem* Item(const wchar_t* name) const {
    for (auto* i : form->PopupMenu->Items)
      if (i->Name == name) return i;
    ADD_FAILURE() << "no item";
    return nullptr;
  }
};

TEST_F(MenuTest, ItemsStandInMenuOrderWithTheirCaptionsShortcutsTagsAndMarks) {
  Start();
  struct Row {
    const wchar_t* name;
    const wchar_t* caption;
    const wchar_t* keys;
    int tag;
    bool checked;
    bool visible;
  } rows[] = {
      {L"PMenuUndo", L"元に戻す(&U)", L"Ctrl+Z", 0, false, true},
      {L"N1", L"-", L"", 0, false, true},
      {L"PMenuCut", L"切り取り(&T)", L"Ctrl+X", 0, false, true},
      {L"PMenuCopy", L"コピー(&C)", L"Ctrl+C", 0, false, true},
      {L"PMenuPaste", L"貼り付け(&P)", L"Ctrl+V", 0, false, true},
      {L"PMenuDelete", L"削除(&D)", L"", 0, false, true},
      {L"N2", L"-", L"", 0, false, true},
      {L"PMenuSelectAll", L"すべてを選択(&A)", L"Ctrl+A", 0, false, true},
      {L"PMenuAllCopy", L"すべてをコピー", L"", 0, false, true},
      {L"N3", L"-", L"", 0, false, true},
      {L"PMenuUpper", L"大文字変換", L"", 1, false, true},
      {L"PMenuLower", L"小文字変換", L"", 2, false, true},
      {L"PMenuHankaku", L"半角に変換", L"", 3, false, true},
      {L"PMenuHiragana", L"全角ひらがなに変換", L"", 4, false, true},
      {L"PMenuKatakana", L"全角カタカナに変換", L"", 5, false, true},
      {L"N4", L"-", L"", 0, false, true},
      {L"PMenuFontSize11", L"フォントサイズ11", L"", 11, true, true},
      {L"PMenuFontSize36", L"フォントサイズ36", L"", 36, false, true},
      {L"N5", L"-", L"", 0, false, true},
      {L"PMenuFormStyle", L"トップ表示", L"Ctrl+T", 0, false, true},
      {L"PMenuScrollBar", L"スクロールバー", L"Ctrl+S", 0, false, true},
      {L"PMenuWordWrap", L"ワードラップ", L"", 0, false, true},
      {L"PMenuOpen", L"開く(&O)...", L"Ctrl+O", 0, false, false},
      {L"PMenuSaveAs", L"名前を付けて保存(&A)...", L"", 0, false, true},
      {L"PMenuAbout", L"バージョン情報", L"", 0, false, true},
  };
  const auto items = Items();
  ASSERT_EQ(items.size(), std::size(rows));
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items[i]->Name, rows[i].name);
    EXPECT_EQ(items[i]->Caption, rows[i].caption);
    EXPECT_EQ(ui::ShortCutToText(items[i]->ShortCut), rows[i].keys);
    EXPECT_EQ(items[i]->Tag, rows[i].tag);
    EXPECT_EQ(items[i]->Checked, rows[i].checked);
    EXPECT_EQ(items[i]->Visible, rows[i].visible);
  }
  EXPECT_EQ(form->FileSaveAs->Caption, L"名前を付けて保存");
}

enum class Clip { Nothing, EmptyText, Text, FileList };

TEST_F(MenuTest, EnabledStatesFollowTextSelectionAndClipboard) {
  Start();
  struct Case {
    const wchar_t* text;
    DWORD selEnd;
    Clip clip;
  } cases[] = {
      {L"", 0, Clip::Nothing},      {L"", 0, Clip::EmptyText}, {L"", 0, Clip::Text},
      {L"", 0, Clip::FileList},     {L"abc", 0, Clip::Nothing}, {L"abc", 2, Clip::Nothing},
      {L"abc", 3, Clip::EmptyText}, {L"abc", 1, Clip::Text},    {L"abc", 0, Clip::FileList},
  };
  const wchar_t* always[] = {L"PMenuFontSize11", L"PMenuFontSize36", L"PMenuFormStyle", L"PMenuScrollBar",
                             L"PMenuWordWrap",   L"PMenuAbout",      L"PMenuOpen"};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text=" << (c.text[0] ? "yes" : "no") << " sel=" << c.selEnd
                                    << " clip=" << static_cast<int>(c.clip));
    SetText(c.text);
    Select(0, c.selEnd);
    switch (c.clip) {
      case Clip::Nothing: SetClipboardText(nullptr); break;
      case Clip::EmptyText: SetClipboardText(L""); break;
      case Clip::Text: SetClipboardText(L"x"); break;
      case Clip::FileList: SetClipboardFiles({L"C:\\windows\\win.ini"}); break;
    }
    ASSERT_TRUE(form->PopupMenu->PrepareForPopup());
    const bool text = c.text[0] != 0, sel = c.selEnd > 0;
    const bool paste = c.clip == Clip::Text || c.clip == Clip::FileList;
    EXPECT_FALSE(Item(L"PMenuUndo")->Enabled);  // a text set whole leaves nothing to undo
    for (auto* n : {L"PMenuCut", L"PMenuCopy", L"PMenuDelete", L"PMenuUpper", L"PMenuLower", L"PMenuHankaku",
                    L"PMenuHiragana", L"PMenuKatakana"})
      EXPECT_EQ(Item(n)->Enabled, sel) << n;
    for (auto* n : {L"PMenuSelectAll", L"PMenuAllCopy", L"PMenuSaveAs"}) EXPECT_EQ(Item(n)->Enabled, text) << n;
    EXPECT_EQ(Item(L"PMenuPaste")->Enabled, paste);
    for (auto* n : always) EXPECT_TRUE(Item(n)->Enabled) << n;
  }
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(MenuTest, UndoIsEnabledAfterAnEditAndEditActionsNeedTheFocus) {
  Start();
  Type(L"ab");
  ASSERT_TRUE(form->PopupMenu->PrepareForPopup());
  EXPECT_TRUE(Item(L"PMenuUndo")->Enabled);
  EXPECT_TRUE(Item(L"PMenuSelectAll")->Enabled);
  ::SetFocus(nullptr);
  ASSERT_TRUE(form->PopupMenu->PrepareForPopup());
  for (auto* n : {L"PMenuUndo", L"PMenuSelectAll"}) EXPECT_FALSE(Item(n)->Enabled) << n;
}

TEST_F(MenuTest, ClipboardHeldByAnotherProgramStopsTheMenuWithAReport) {
  Start();
  SetText(L"abc");
  Select(0, 1);
  SetClipboardText(L"x");
  ClipboardHolder holder;
  ASSERT_TRUE(holder.Holding());
  EXPECT_FALSE(form->PopupMenu->PrepareForPopup());
  ASSERT_EQ(script.boxes.size(), 1u);
  const std::wstring& text = script.boxes[0].text;
  EXPECT_EQ(text.rfind(L"クリップボード ", 0), 0u) << "starts with the message";
  EXPECT_NE(text.find(L" を開けません."), std::wstring::npos);
  EXPECT_EQ(script.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_FALSE(Item(L"PMenuPaste")->Enabled);
  EXPECT_TRUE(Item(L"PMenuUpper")->Enabled);  // the rule got that far
}

TEST_F(MenuTest, ShortcutKeysAreClaimedInMenuOrderAndOtherKeysReachTheEditArea) {
  Start();
  SetClipboardText(nullptr);
  struct Case {
    WORD key;
    bool ctrl, shift, alt;
    bool claimed;
  } cases[] = {
      {'Z', true, false, false, true},  {'X', true, false, false, true},  {'C', true, false, false, true},
      {'V', true, false, false, true},  {'A', true, false, false, true},  {'O', true, false, false, true},
      {'T', true, false, false, true},  {'S', true, false, false, true},  {'V', true, true, false, false},
      {'A', true, true, false, false},  {'T', true, false, true, false},  {'S', false, false, true, false},
      {'D', true, false, false, false}, {VK_F10, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << static_cast<char>(c.key) << " ctrl=" << c.ctrl
                                    << " shift=" << c.shift << " alt=" << c.alt);
    SetText(L"");
    script.fileDialogs.clear();
    EXPECT_EQ(PressKey(c.key, c.ctrl, c.shift, c.alt), c.claimed);
    // A claimed key never types anything, even when its item is disabled.
    if (c.claimed) {
      EXPECT_EQ(Text(), L"");
    }
    EXPECT_EQ(script.fileDialogs.size(), c.key == 'O' && c.claimed ? 1u : 0u);
  }
  // Without modifiers a letter is typed as usual.
  EXPECT_FALSE(PressKey('Q'));
  EXPECT_EQ(Text(), L"q");
}

TEST_F(MenuTest, EditShortcutsActOnTheEditAreaAndMarkEditsAsModified) {
  Start();
  SetText(L"hello world");
  EXPECT_FALSE(Modified());
  // Select all and copy change no text.
  EXPECT_TRUE(PressKey('A', true));
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 11}));
  Select(0, 5);
  EXPECT_TRUE(PressKey('C', true));
  EXPECT_EQ(ClipboardText(), L"hello");
  EXPECT_FALSE(Modified());
  // Cut is an edit.
  EXPECT_TRUE(PressKey('X', true));
  EXPECT_EQ(Text(), L" world");
  EXPECT_EQ(ClipboardText(), L"hello");
  EXPECT_TRUE(Modified());
  // Undo takes the cut back, a second undo takes back the undo; each is an edit.
  form->MemoOut->SetModified(false);
  EXPECT_TRUE(PressKey('Z', true));
  EXPECT_EQ(Text(), L"hello world");
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(PressKey('Z', true));
  EXPECT_EQ(Text(), L" world");
  // Delete removes the selection and leaves the clipboard alone.
  form->MemoOut->SetModified(false);
  Select(0, 3);
  form->PMenuDelete->Click();
  EXPECT_EQ(Text(), L"rld");
  EXPECT_EQ(ClipboardText(), L"hello");
  EXPECT_TRUE(Modified());
}

TEST_F(MenuTest, ShortcutStillRunsWhenTheClipboardCannotBeRead) {
  Start();
  SetText(L"abc");
  ClipboardHolder holder;
  ASSERT_TRUE(holder.Holding());
  // Ctrl+V: the error, and nothing pasted.
  EXPECT_TRUE(PressKey('V', true));
  EXPECT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(Text(), L"abc");
  // Ctrl+A: the error, and select all still runs.
  EXPECT_TRUE(PressKey('A', true));
  EXPECT_EQ(script.boxes.size(), 2u);
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 3}));
  // Ctrl+T: the error, and the window still goes on top.
  EXPECT_TRUE(PressKey('T', true));
  EXPECT_EQ(script.boxes.size(), 3u);
  EXPECT_TRUE(form->PMenuFormStyle->Checked);
  EXPECT_TRUE(::GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MenuTest, CopyAllLeavesTheWholeTextSelectedAndOnTheClipboard) {
  Start();
  SetText(L"一行目\r\n二行目");
  Select(2, 4);
  form->PMenuAllCopy->Click();
  EXPECT_EQ(ClipboardText(), L"一行目\r\n二行目");
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 8}));
  EXPECT_FALSE(Modified());
}

TEST_F(MenuTest, VersionMessageHasTheTitleNoIconAndOneOkButton) {
  Start();
  form->PMenuAbout->Click();
  ASSERT_EQ(script.boxes.size(), 1u);
  const auto& box = script.boxes[0];
  EXPECT_EQ(box.caption, ui::Application->Title());
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(box.owner, form->Handle());
  EXPECT_NE(box.text.substr(0, box.text.find(L'\n')).find(L"0.05"), std::wstring::npos);
}

}  // namespace
