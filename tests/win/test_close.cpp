// The close query: when closing asks whether to save, what each answer does, and the
// session's log-off query.
#include "support.h"
#include "utf16_bytes.h"

using namespace kalvo_test;

namespace {

const wchar_t kQuestion[] = L"【Kalvo】  保存しますか？";

class CloseTest : public KalvoTest {
 protected:
  // The close request of the title bar's close button; true when the window went.
  bool RequestClose() {
    HWND w = form->Handle();
    ::SendMessageW(w, WM_CLOSE, 0, 0);
    Pump();
    return !::IsWindow(w);
  }

  void ExpectQuestion(const ui::MessageBoxRequest& box, HWND window) {
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.caption, L"Kalvo");
    // Yes/No/Cancel with the warning icon; Yes is the default (no default-button bits).
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONWARNING));
    EXPECT_EQ(box.owner, window);
    EXPECT_FALSE(box.ansi) << "shown through MessageBoxW, readable whatever the code page";
  }
};

TEST_F(CloseTest, AsksOnlyForAChangedNonEmptyNoteAndEachAnswerDecides) {
  enum class Note { Unchanged, ChangedThenEmptied, Changed };
  struct Case {
    const char* name;
    Note note;
    std::wstring earlierSave, earlierOpen;  // the dialogs' names left by earlier accepted runs
    std::deque<int> answers;
    bool asks, showsSaveDialog, closes;
  } cases[] = {
      {"not modified", Note::Unchanged, L"", L"", {}, false, false, true},
      {"modified but empty", Note::ChangedThenEmptied, L"", L"", {}, false, false, true},
      {"Cancel", Note::Changed, L"", L"", {IDCANCEL}, true, false, false},
      {"No", Note::Changed, L"", L"", {IDNO}, true, false, true},
      {"box not shown", Note::Changed, L"", L"", {0}, true, false, true},
      {"Yes, dialog cancelled", Note::Changed, L"", L"", {IDYES}, true, true, false},
      // An earlier Save As does not let a cancelled one lose the text.
      {"Yes, dialog cancelled after an earlier Save As", Note::Changed, L"C:\\notes\\old.txt", L"", {IDYES}, true,
       true, false},
      {"Yes, dialog cancelled after an Open", Note::Changed, L"", L"C:\\notes\\in.txt", {IDYES}, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    script.boxes.clear();
    script.fileDialogs.clear();
    script.boxAnswers = c.answers;
    form->FileSaveAs->Dialog.FileName = c.earlierSave;
    form->FileOpen->Dialog.FileName = c.earlierOpen;
    switch (c.note) {
      case Note::Unchanged: SetText(L"loaded, not changed"); break;
      case Note::ChangedThenEmptied: Type(L"ab\b\b"); break;
      case Note::Changed: Type(L"メモ"); break;
    }
    ASSERT_EQ(Modified(), c.note != Note::Unchanged);
    const std::wstring text = Text();
    const std::wstring caption = form->Caption();
    HWND w = form->Handle();

    EXPECT_EQ(RequestClose(), c.closes);
    ASSERT_EQ(script.boxes.size(), c.asks ? 1u : 0u);
    if (c.asks) ExpectQuestion(script.boxes[0], w);
    ASSERT_EQ(script.fileDialogs.size(), c.showsSaveDialog ? 1u : 0u);
    if (c.showsSaveDialog) {
      const ui::FileDialogRequest& d = script.fileDialogs[0];
      EXPECT_EQ(d.kind, ui::FileDialogKind::Save);
      EXPECT_EQ(d.owner, w);
      EXPECT_EQ(d.fileName, c.earlierSave);
      EXPECT_EQ(d.defaultExt, L"txt");
    }
    if (!c.closes) {
      EXPECT_EQ(Text(), text);
      EXPECT_TRUE(Modified());
      EXPECT_EQ(form->Caption(), caption);
      EXPECT_EQ(form->FileSaveAs->Dialog.FileName, c.earlierSave);
      // The next request asks again.
      script.boxAnswers = {IDCANCEL};
      EXPECT_FALSE(RequestClose());
      EXPECT_EQ(script.boxes.size(), 2u);
    }
    form.reset();
    ui::Application->MainForm = nullptr;
  }
}

TEST_F(CloseTest, TheSessionQueryAsksTheSameAndTheSessionEndWithoutAsking) {
  struct Case {
    int answer;
    LRESULT allows;
  } cases[] = {{IDCANCEL, FALSE}, {IDNO, TRUE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Start();
    Type(L"unsaved");
    script.boxes.clear();
    script.boxAnswers = {c.answer};
    HWND w = form->Handle();
    EXPECT_EQ(::SendMessageW(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), c.allows);
    Pump();
    ASSERT_EQ(script.boxes.size(), 1u);
    ExpectQuestion(script.boxes[0], w);
    EXPECT_TRUE(::IsWindow(w)) << "the query alone closes nothing";
    EXPECT_EQ(Text(), L"unsaved");
    if (!c.allows) {
      // The log-off was refused: the session goes on and so does the window.
      ::SendMessageW(w, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
      Pump();
      EXPECT_TRUE(::IsWindow(w));
    } else {
      ::SendMessageW(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
      Pump();
      EXPECT_FALSE(::IsWindow(w));
    }
    EXPECT_EQ(script.boxes.size(), 1u) << "the end of the session asks nothing more";
    form.reset();
    ui::Application->MainForm = nullptr;
  }
}

// Yes with a real Save As: only a note that was written lets the window close.
TEST_F(CloseTest, YesClosesOnlyWhenTheNoteWasSaved) {
  TempFolder dir;
  const std::wstring saved = dir / L"saved.txt", unwritable = dir / L"no such folder\\x.txt";
  struct Case {
    const char* name;
    std::wstring earlierSave;
    std::wstring accepted;
    bool closes;
  } cases[] = {
      {"saved", L"", saved, true},
      {"saved again after an earlier Save As", saved, saved, true},
      {"save fails", L"", unwritable, false},
      {"save fails after an earlier Save As", saved, unwritable, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::DeleteFileW(saved.c_str());
    Start();
    form->FileSaveAs->Dialog.FileName = c.earlierSave;
    Type(L"メモ\rabc");
    script.boxes.clear();
    script.fileDialogs.clear();
    script.boxAnswers = {IDYES};
    script.dialogAnswers = {c.accepted};
    HWND w = form->Handle();
    ::SendMessageW(w, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(!::IsWindow(w), c.closes);
    ASSERT_EQ(script.fileDialogs.size(), 1u);
    EXPECT_EQ(script.fileDialogs[0].fileName, c.earlierSave);
    if (c.closes) {
      EXPECT_EQ(script.boxes.size(), 1u);
      EXPECT_EQ(ReadBytes(saved), Utf16LeWithMark(L"メモ\r\nabc"));
    } else {
      // The question, then the save error; the note stays as it was.
      ASSERT_EQ(script.boxes.size(), 2u);
      EXPECT_EQ(script.boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
      EXPECT_EQ(Text(), L"メモ\r\nabc");
      EXPECT_TRUE(Modified());
      EXPECT_EQ(form->Caption(), L"Kalvo");
      EXPECT_EQ(form->FileSaveAs->Dialog.FileName, unwritable) << "the dialog keeps the chosen name";
    }
    form.reset();
    ui::Application->MainForm = nullptr;
  }
}

// The question's modal loop still delivers messages: a close request or the session's
// query arriving then must neither ask a second time nor close the window under it.
TEST_F(CloseTest, ACloseRequestWhileTheQuestionIsOpenIsRefused) {
  Start();
  Type(L"unsaved");
  HWND w = form->Handle();
  int asked = 0;
  LRESULT sessionAnswer = -1;
  ui::SetDialogSeam({[&](const ui::MessageBoxRequest&) {
                       ++asked;
                       if (asked == 1) {
                         ::SendMessageW(w, WM_CLOSE, 0, 0);
                         sessionAnswer = ::SendMessageW(w, WM_QUERYENDSESSION, 0, 0);
                       }
                       return IDCANCEL;
                     },
                     {}});
  EXPECT_FALSE(RequestClose());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(sessionAnswer, FALSE);
  EXPECT_TRUE(::IsWindow(w));
  EXPECT_EQ(Text(), L"unsaved");
  // Once the first query has ended, a new request asks again.
  EXPECT_FALSE(RequestClose());
  EXPECT_EQ(asked, 2);
}

}  // namespace
