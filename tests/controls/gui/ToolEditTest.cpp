#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "common/TestEnv.h"
#include "controls/gui/ToolEdit.h"
#include "platform/FileIO.h"

namespace {

// A port that also remembers the folder a folder dialog starts at.
struct FolderPort : TestUiPort {
    std::vector<AnsiString> startFolders;
    bool FolderDialog(FolderDialogRequest& request) override {
        startFolders.push_back(request.Folder);
        return TestUiPort::FolderDialog(request);
    }
};

// A combo edit with a popup that offers one value.
struct OfferPopup : TPopupWindow {
    using TPopupWindow::TPopupWindow;
    Variant GetValue() override { return Variant(offer); }
    void SetValue(const Variant& value) override { shown = VarToStr(value); }
    AnsiString offer, shown;
};

struct PopupCombo : TComboEdit {
    explicit PopupCombo(TComponent* owner) : TComboEdit(owner), popup(new OfferPopup(this)) { SetPopup(popup); }
    OfferPopup* popup;
};

struct Edits : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 400, 200);
        file = NewControl<TFilenameEdit>(form, form, "FileEdit1");
        file->SetBounds(10, 10, 200, 21);
    }
    int FileDialogs() const {
        int n = 0;
        for (const auto& c : port.Calls) n += c.kind == TestUiPort::kFileDialog;
        return n;
    }
    TForm* form = nullptr;
    TFilenameEdit* file = nullptr;
};

TEST_F(Edits, FileNameDropsQuotesAndWhatFollows) {
    file->SetText("\"/home/user/my file.tvp\" -extra words");
    EXPECT_EQ(file->FileName(), AnsiString("/home/user/my file.tvp"));
    // An existing file named by the first word drops the words after it.
    testenv::WriteBytes("plain.tvp", "x");
    file->SetText("plain.tvp tail");
    EXPECT_EQ(file->FileName(), AnsiString("plain.tvp"));
    // A file of the whole text's name wins.
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "with blank.tvp", "x");
    AnsiString whole = dir.File("with blank.tvp");
    file->SetText(whole);
    EXPECT_EQ(file->FileName(), whole);
}

TEST_F(Edits, AnUnquotedNameOfAFileNotYetThereIsTakenWhole) {
    testenv::TempDir dir;
    std::filesystem::create_directories(ToFsPath(dir.File("Мои проекты"_a)));
    const AnsiString target = dir.File("Мои проекты/new file.txt"_a);
    file->SetText(target);
    EXPECT_EQ(file->FileName(), target);
    file->SetText(dir.File("Мои проекты"_a));
    EXPECT_EQ(file->FileName(), dir.File("Мои проекты"_a));
    // The name set is kept whole and read back so.
    file->SetFileName(target);
    EXPECT_EQ(file->Text(), "\"" + target + "\"");
    EXPECT_EQ(file->FileName(), target);
}

TEST_F(Edits, SetFileNameQuotesAndValidates) {
    file->SetFileName("/data/my project.tvp");
    EXPECT_EQ(file->Text(), AnsiString("\"/data/my project.tvp\""));
    EXPECT_EQ(file->FileName(), AnsiString("/data/my project.tvp"));
    file->SetFileName("\"/already quoted.tvp\"");
    EXPECT_EQ(file->Text(), AnsiString("\"/already quoted.tvp\""));
    file->SetFileName("plain.tvp");
    EXPECT_EQ(file->Text(), AnsiString("plain.tvp"));
    try {
        file->SetFileName("a[1].txt");
        FAIL();
    } catch (const EComboEditError& e) {
        EXPECT_EQ(e.Message, AnsiString("Invalid file name - a[1].txt"));
    }
    EXPECT_EQ(file->Text(), AnsiString("plain.tvp")); // unchanged
    EXPECT_THROW(file->SetFileName("x|y"), EComboEditError);
    file->SetFileName(""); // clears without validation
    EXPECT_EQ(file->Text(), AnsiString());
}

TEST_F(Edits, TheDialogStartsFromTheNameAndItsAnswerIsQuoted) {
    EXPECT_EQ(file->DialogTitle(), "Список"_a);
    EXPECT_EQ(file->Filter(), "Все файлы (*.*)|*.*"_a);
    EXPECT_EQ(file->DialogOptions(), OpenOption(ofHideReadOnly));
    testenv::TempDir dir;
    file->SetFileName(dir.File("old.tvp"));
    FileDialogRequest seen;
    port.OnFileDialog = [&](FileDialogRequest& r) {
        seen = r;
        r.FileName = "/picked/new name.tvp";
        return true;
    };
    std::vector<std::string> log;
    file->OnBeforeDialog = [&](TObject*, AnsiString& name, bool& action) {
        log.push_back("before " + AnsiToUtf8(name));
        EXPECT_TRUE(action);
    };
    file->OnAfterDialog = [&](TObject*, AnsiString& name, bool& action) {
        log.push_back("after " + AnsiToUtf8(name) + (action ? " yes" : " no"));
    };
    file->ButtonClick();
    EXPECT_EQ(seen.FileName, AnsiString("old.tvp"));
    EXPECT_EQ(seen.InitialDir, dir.File(""));
    EXPECT_EQ(seen.Title, "Список"_a);
    EXPECT_EQ(file->Text(), AnsiString("\"/picked/new name.tvp\""));
    EXPECT_EQ(file->InitialDir(), AnsiString("/picked/"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], "after /picked/new name.tvp yes");
    // Cancelled: the text stays; a handler may refuse the dialog altogether.
    port.OnFileDialog = [](FileDialogRequest&) { return false; };
    file->ButtonClick();
    EXPECT_EQ(file->Text(), AnsiString("\"/picked/new name.tvp\""));
    file->OnBeforeDialog = [](TObject*, AnsiString&, bool& action) { action = false; };
    int before = FileDialogs();
    file->ButtonClick();
    EXPECT_EQ(FileDialogs(), before);
}

TEST_F(Edits, KindChangesKeepTheDialogsSettings) {
    file->SetFilter("Проекты|*.tvp"_a);
    file->SetDefaultExt("tvp");
    file->SetDialogKind(dkSave);
    EXPECT_NE(dynamic_cast<TSaveDialog*>(file->Dialog()), nullptr);
    EXPECT_EQ(file->Filter(), "Проекты|*.tvp"_a);
    EXPECT_EQ(file->DefaultExt(), AnsiString("tvp"));
}

TEST_F(Edits, WithoutDirectInputOnlyTheButtonChangesTheText) {
    file->SetDirectInput(false);
    EXPECT_TRUE(file->LineEdit()->isReadOnly()); // no typing, pasting or cutting
    EXPECT_FALSE(file->ReadOnly());
    port.AnswerFile("/chosen.tvp");
    file->ButtonClick();
    EXPECT_EQ(file->Text(), AnsiString("/chosen.tvp"));
    file->SetDirectInput(true);
    EXPECT_FALSE(file->LineEdit()->isReadOnly());
    file->SetReadOnly(true);
    int before = FileDialogs();
    file->EditButtonClick(file); // a read-only edit's button does nothing
    EXPECT_EQ(FileDialogs(), before);
}

TEST_F(Edits, AltDownOpensTheDialogOnlyWithAButton) {
    EXPECT_EQ(file->ClickKey, TShortCut(32808));
    port.AnswerFile("");
    WORD key = VK_DOWN;
    file->KeyDown(key, ssAlt);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(FileDialogs(), 1);
    file->SetButtonWidth(0);
    EXPECT_EQ(file->ButtonWidth(), 0);
    key = VK_DOWN;
    file->KeyDown(key, ssAlt);
    EXPECT_EQ(key, VK_DOWN);
    EXPECT_EQ(FileDialogs(), 1);
}

TEST_F(Edits, DroppedFilesTakeOnlyTheFirstUnlessSeveralAreAllowed) {
    int drops = 0;
    file->OnDropFiles = [&](TObject*) { ++drops; };
    file->DropFiles({"/a/one.tvp", "/a/two.tvp", "/a/three.tvp"});
    EXPECT_EQ(file->Text(), AnsiString("/a/one.tvp"));
    EXPECT_EQ(drops, 1);
    file->SetDialogOptions(OpenOption(ofAllowMultiSelect));
    file->DropFiles({"/b/one.tvp", "/b/two.tvp", "/b/three.tvp"});
    EXPECT_EQ(file->Text(), AnsiString("/b/one.tvp"));
    EXPECT_EQ(file->DialogFiles()->Count(), 3);
    file->SetDialogOptions(OpenOption(ofHideReadOnly));
    EXPECT_EQ(file->DialogFiles()->Count(), 0);
    // Through a real drop on the edit.
    form->Show();
    file->SetAcceptFiles(true);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/c/dropped file.tvp"), QUrl::fromLocalFile("/c/other.tvp")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(file->LineEdit(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(file->LineEdit(), &drop);
    EXPECT_EQ(file->Text(), AnsiString("\"/c/dropped file.tvp\""));
    EXPECT_EQ(drops, 3);
}

TEST_F(Edits, DirectoryEditStartsAtTheRootForAMissingFolder) {
    FolderPort folders;
    auto* dirEdit = NewControl<TDirectoryEdit>(form, form, "DirEdit1");
    dirEdit->SetText("/no/such/folder");
    folders.AnswerFile("/usr");
    dirEdit->ButtonClick();
    ASSERT_EQ(folders.startFolders.size(), 1u);
    EXPECT_EQ(folders.startFolders[0], AnsiString("/"));
    EXPECT_EQ(dirEdit->Text(), AnsiString("/usr"));
    EXPECT_EQ(dirEdit->InitialDir, AnsiString("/usr"));
    dirEdit->SetText("");
    dirEdit->InitialDir = "/tmp";
    folders.AnswerFile("");
    dirEdit->ButtonClick();
    EXPECT_EQ(folders.startFolders[1], AnsiString("/tmp"));
    EXPECT_EQ(dirEdit->Text(), AnsiString()); // cancelled
    dirEdit->SetMultipleDirs(true);
    dirEdit->SetText("/a");
    folders.AnswerFile("/tmp");
    dirEdit->ButtonClick();
    EXPECT_EQ(dirEdit->Text(), AnsiString("/a;/tmp"));
}

TEST_F(Edits, DirectoryEditTakesTheFolderOfADroppedFile) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "f.txt", "x");
    auto* dirEdit = NewControl<TDirectoryEdit>(form, form, "DirEdit1");
    dirEdit->ReceptFileDir(dir.File("f.txt"));
    EXPECT_EQ(dirEdit->Text(), FromFsPath(dir.Path()));
    dirEdit->SetMultipleDirs(true);
    dirEdit->ReceptFileDir("/x");
    EXPECT_EQ(dirEdit->Text(), FromFsPath(dir.Path()) + ";/x");
    dirEdit->SetText(dirEdit->Text() + ";;"); // empty items are dropped; a missing folder has no name
    EXPECT_EQ(dirEdit->GetLongName(), FromFsPath(dir.Path()) + ";/");
}

TEST_F(Edits, GlyphKindsSizeTheButton) {
    auto* combo = NewControl<TComboEdit>(form, form, "Combo1");
    EXPECT_EQ(combo->GlyphKind(), gkCustom);
    EXPECT_EQ(file->GlyphKind(), gkDefault);
    EXPECT_EQ(file->Glyph()->Width(), 14);
    EXPECT_EQ(file->ButtonWidth(), 21); // max(14 + 6, 21)
    combo->SetGlyphKind(gkDropDown);
    EXPECT_EQ(combo->ButtonWidth(), 16);
    combo->SetButtonWidth(22);
    combo->SetGlyphKind(gkEllipsis);
    TBitmap* dots = combo->Glyph();
    ASSERT_EQ(dots->Width(), 16);
    EXPECT_EQ(dots->Height(), 4);
    // Spacing min(max((16 - 6) / 2, 1), 3) = 3: dots at 2, 7 and 12.
    for (int x : {2, 7, 12}) EXPECT_EQ(dots->Canvas()->Pixels(x, 1), clBlack) << x;
    EXPECT_EQ(dots->Canvas()->Pixels(5, 1), clWhite);
    EXPECT_EQ(dots->Canvas()->Pixels(2, 0), clWhite);
    int clicks = 0;
    combo->OnButtonClick = [&](TObject*) { ++clicks; };
    combo->DoClick();
    EXPECT_EQ(clicks, 1);
    char enter = char(VK_RETURN);
    combo->KeyPress(enter);
    EXPECT_EQ(enter, 0);
    combo->SetHeight(2);
    EXPECT_EQ(combo->Height(), combo->MinHeight());
}

TEST_F(Edits, AValueTakenFromThePopupIsOneChange) {
    auto* combo = NewControl<PopupCombo>(form, form, "ComboEdit1");
    combo->SetBounds(10, 50, 150, 21);
    combo->SetText("old");
    std::vector<AnsiString> changes;
    combo->OnChange = [&](TObject*) { changes.push_back(combo->Text()); };
    struct Case {
        const char* offer;
        char key;
        std::vector<AnsiString> changes;
    } cases[] = {
        {"new", char(VK_RETURN), {"new"}},
        {"newer", char(VK_ESCAPE), {}},   // discarded
        {"new", char(VK_RETURN), {}},     // the same text again
        {"last", char(VK_RETURN), {"last"}},
    };
    for (const Case& c : cases) {
        changes.clear();
        combo->popup->offer = c.offer;
        combo->DoClick();
        ASSERT_TRUE(combo->PopupVisible()) << c.offer;
        char key = c.key;
        combo->KeyPress(key);
        EXPECT_FALSE(combo->PopupVisible()) << c.offer;
        EXPECT_EQ(changes, c.changes) << c.offer;
        EXPECT_TRUE(combo->Modified || c.changes.empty()) << c.offer;
    }
    EXPECT_EQ(combo->popup->shown, AnsiString("new")); // the popup starts from the text
}

TEST_F(Edits, ADisabledEditDisablesItsButtonAndGreysItsGlyph) {
    auto* dir = NewControl<TDirectoryEdit>(form, form, "DirEdit1");
    dir->SetBounds(10, 50, 200, 21);
    form->Show();
    // Pixels of the button that are not a shade of grey.
    auto colours = [](TEditButton* button) {
        button->Repaint();
        int n = 0;
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x) {
                TColor p = button->Canvas()->Pixels(x, y);
                n += GetRValue(p) != GetGValue(p) || GetGValue(p) != GetBValue(p);
            }
        return n;
    };
    for (TCustomComboEdit* edit : {static_cast<TCustomComboEdit*>(file), static_cast<TCustomComboEdit*>(dir)}) {
        const std::string name = edit->Name().c_str();
        const int enabledColours = colours(edit->Button());
        EXPECT_GT(enabledColours, 0) << name;
        edit->SetEnabled(false);
        EXPECT_FALSE(edit->Button()->Enabled()) << name;
        EXPECT_EQ(colours(edit->Button()), 0) << name;
        edit->Button()->MouseDown(mbLeft, 0, 5, 5);
        edit->Button()->MouseUp(mbLeft, 0, 5, 5);
        EXPECT_TRUE(port.Calls.empty()) << name; // no dialog
        edit->SetEnabled(true);
        EXPECT_TRUE(edit->Button()->Enabled()) << name;
        EXPECT_EQ(colours(edit->Button()), enabledColours) << name;
    }
}

} // namespace
