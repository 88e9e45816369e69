// Open and Save As: their dialogs, what each dialog remembers, and the memo document after
// an accepted, cancelled or failed run.
#include "support.h"
#include "utf16_bytes.h"

using namespace kalvo_test;

namespace {

class OpenSaveTest : public KalvoTest {};

TEST_F(OpenSaveTest, CtrlOShowsTheOpenDialogThroughTheHiddenItemAndTheMenuItemTheSaveDialog) {
  Start();
  Type(L"note");
  ASSERT_FALSE(form->PMenuOpen->Visible);
  EXPECT_TRUE(PressKey('O', true));
  form->PMenuSaveAs->Click();
  ASSERT_EQ(script.fileDialogs.size(), 2u);
  const ui::FileDialogKind kinds[] = {ui::FileDialogKind::Open, ui::FileDialogKind::Save};
  for (int i = 0; i < 2; ++i) {
    const ui::FileDialogRequest& d = script.fileDialogs[i];
    EXPECT_EQ(d.kind, kinds[i]);
    EXPECT_EQ(d.owner, form->Handle());
    EXPECT_EQ(d.fileName, L"");
    EXPECT_EQ(d.defaultExt, L"txt");
  }
  // Both cancelled: nothing changed, and the key never reached the edit area.
  EXPECT_EQ(Text(), L"note");
  EXPECT_TRUE(Modified());
  EXPECT_EQ(form->Caption(), L"Kalvo");
  EXPECT_EQ(form->FileOpen->Dialog.FileName, L"");
  EXPECT_EQ(form->FileSaveAs->Dialog.FileName, L"");
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(::GetFocus(), memo());
}

// One run of the program: each dialog shows the last name accepted in it, whatever the
// accept handler then did, and neither sees the other's.
TEST_F(OpenSaveTest, EachDialogKeepsItsOwnLastAcceptedNameThroughCancelAndFailure) {
  TempFolder dir;
  const std::wstring in = dir / L"in.txt", out = dir / L"out.txt";
  const std::wstring missing = dir / L"missing.txt", unwritable = dir / L"no such folder\\x.txt";
  WriteBytes(in, Utf16LeWithMark(L"from file\r\n二行目"));
  Start();
  Type(L"typed");
  struct Step {
    const char* name;
    bool open;                      // the open dialog, else the save dialog
    ui::FileDialogResult answer;    // what the user accepts, or nothing for cancel
    std::wstring shown;             // the name the dialog shows
    bool fails;                     // the accept handler reports an error
    std::wstring text, caption;     // the memo document afterwards
    bool modified;
  } steps[] = {
      {"open in.txt", true, in, L"", false, L"from file\r\n二行目", L"in.txt", false},
      {"save shows its own empty name", false, std::nullopt, L"", false, L"from file\r\n二行目", L"in.txt", false},
      {"open cancelled", true, std::nullopt, in, false, L"from file\r\n二行目", L"in.txt", false},
      {"save out.txt", false, out, L"", false, L"from file\r\n二行目", L"out.txt", false},
      {"save again shows out.txt", false, std::nullopt, out, false, L"from file\r\n二行目", L"out.txt", false},
      {"open a missing file", true, missing, in, true, L"from file\r\n二行目", L"out.txt", false},
      {"open shows the missing name", true, std::nullopt, missing, false, L"from file\r\n二行目", L"out.txt", false},
      {"save into a missing folder", false, unwritable, out, true, L"from file\r\n二行目", L"out.txt", false},
      {"save shows that name", false, std::nullopt, unwritable, false, L"from file\r\n二行目", L"out.txt", false},
  };
  std::wstring openName, saveName;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    script.fileDialogs.clear();
    script.boxes.clear();
    script.dialogAnswers = {step.answer};
    (step.open ? form->FileOpen : static_cast<ui::TFileAction*>(form->FileSaveAs))->Execute();
    ASSERT_EQ(script.fileDialogs.size(), 1u);
    EXPECT_EQ(script.fileDialogs[0].fileName, step.shown);
    std::wstring& name = step.open ? openName : saveName;
    if (step.answer) name = *step.answer;
    EXPECT_EQ(form->FileOpen->Dialog.FileName, openName);
    EXPECT_EQ(form->FileSaveAs->Dialog.FileName, saveName);
    ASSERT_EQ(script.boxes.size(), step.fails ? 1u : 0u);
    if (step.fails) {
      EXPECT_EQ(script.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
      EXPECT_NE(script.boxes[0].text.find(*step.answer), std::wstring::npos) << "the error names the file";
    }
    EXPECT_EQ(Text(), step.text);
    EXPECT_EQ(form->Caption(), step.caption);
    EXPECT_EQ(Modified(), step.modified);
    EXPECT_EQ(::GetFocus(), memo());
  }
  EXPECT_EQ(ReadBytes(out), Utf16LeWithMark(L"from file\r\n二行目"));
}

TEST_F(OpenSaveTest, FailuresKeepTheModifiedFlagAndCaptionOfAChangedNote) {
  TempFolder dir;
  Start();
  form->SetCaption(L"earlier.txt");
  Type(L"changed");
  const std::wstring caption = form->Caption();
  for (ui::TFileAction* action : {static_cast<ui::TFileAction*>(form->FileOpen),
                                  static_cast<ui::TFileAction*>(form->FileSaveAs)}) {
    script.boxes.clear();
    script.dialogAnswers = {dir / L"missing\\x.txt"};
    action->Execute();
    EXPECT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(Text(), L"changed");
    EXPECT_TRUE(Modified());
    EXPECT_EQ(form->Caption(), caption);
  }
}

TEST_F(OpenSaveTest, OpenReplacesUnsavedChangesWithoutAQuestion) {
  TempFolder dir;
  const std::wstring in = dir / L"b.txt";
  WriteBytes(in, Utf16LeWithMark(L"saved text"));
  Start();
  Type(L"unsaved changes");
  script.dialogAnswers = {in};
  EXPECT_TRUE(PressKey('O', true));
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(Text(), L"saved text");
  EXPECT_FALSE(Modified());
  EXPECT_EQ(form->Caption(), L"b.txt");
  // Closing now asks nothing: the note equals the file.
  HWND w = form->Handle();
  ::SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(w));
  EXPECT_TRUE(script.boxes.empty());
}

}  // namespace
