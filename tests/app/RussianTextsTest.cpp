// Every text a user reads on the program's forms is Russian: the caption of
// each form the program makes (the frame, the forms of its start-up table,
// the windows the frame opens), which a form with a title bar always has,
// every hint, and every button's text; the caption of every other window
// the desktop lists (a floating pane, the boxes of the real port, also those
// asked from inside a dialog). Latin
// is allowed only in the few texts that are the system's own ("OK" and the
// like) and in file names.
#include "app/AppTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <memory>
#include <set>
#include <string>

#include "app/About.h"
#include "app/ProjectDlg.h"
#include "app/SplashSource.h"
#include "app/WinMain.h"
#include "editor/Case.h"
#include "editor/ChildWin.h"
#include "editor/ModalScript.h"
#include "fsm/gui/FSMChild.h"
#include "platform/QtText.h"
#include "platform/gui/StdCtrls.h"
#include "toolbars/TBExCtls.h"

namespace {

// A Windows-1251 byte that is a Cyrillic letter (Ё and ё included).
bool HasCyrillic(const AnsiString& text) {
    for (int i = 1; i <= text.Length(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC0 || c == 0xA8 || c == 0xB8) return true;
    }
    return false;
}

// Texts without a letter at all (a sign, a number) need no language.
bool HasLatin(const AnsiString& text) {
    for (int i = 1; i <= text.Length(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    }
    return false;
}

// The system's own Latin texts: the OK button.
bool Allowed(const AnsiString& text) {
    static const std::set<std::string> kOwn = {"OK"};
    if (kOwn.count(text.c_str())) return true;
    // A file name: a window named after its document.
    return text.Pos(".") > 0 && text.Pos(" ") == 0;
}

// "form/control: kind "text"" for each text of the form that is not Russian.
void Collect(TForm* form, std::vector<std::string>& found) {
    auto check = [&](TComponent* c, const char* kind, const AnsiString& text) {
        if (text.IsEmpty() || HasCyrillic(text) || !HasLatin(text) || Allowed(text)) return;
        found.push_back(std::string(form->Name().c_str()) + "/" + c->Name().c_str() + ": " + kind + " \"" +
                        text.c_str() + "\"");
    };
    check(form, "caption", form->Caption());
    // A window of the desktop with no caption shows the program's file name
    // ("ge") in its title bar. A window inside the frame is named after its
    // document; the project dialog names itself by its mode as it shows.
    const bool desktopWindow = form->BorderStyle() != bsNone && form->FormStyle() != fsMDIChild;
    if (desktopWindow && form->Caption().IsEmpty() && form->Name() != "ProjectDlg")
        found.push_back(std::string(form->Name().c_str()) + ": no caption");
    check(form, "hint", form->Hint());
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* c = form->Components(i);
        auto* control = dynamic_cast<TControl*>(c);
        // A hidden control is never seen.
        if (!control || !control->Visible()) continue;
        // The tooltip shows the short hint, the status line the long one.
        const AnsiString shortHint = GetShortHint(control->Hint());
        const AnsiString longHint = GetLongHint(control->Hint());
        check(c, "hint", shortHint);
        if (longHint != shortHint) check(c, "hint", longHint);
        if (dynamic_cast<TButton*>(c) || dynamic_cast<TSpeedButton*>(c)) check(c, "button", control->Caption());
        // A toolbar button shows its text unless it shows its picture only.
        if (auto* b = dynamic_cast<TToolbarButtonEx*>(c))
            if (b->DisplayMode() != dmGlyphOnly) check(c, "button", b->Caption());
    }
}

// "caption" of a window of the desktop that is no form, when it is missing
// or not Russian.
void CollectWindow(const std::string& window, const AnsiString& caption, std::vector<std::string>& found) {
    if (caption.IsEmpty()) found.push_back(window + ": no caption");
    else if (!HasCyrillic(caption) && HasLatin(caption) && !Allowed(caption))
        found.push_back(window + ": caption \"" + caption.c_str() + "\"");
}

class RussianTexts : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The real windows, as the program registers them, and the program's
        // own start-up, which names it.
        FrameWindowFactories().SchemeWindow = MakeSchemeWindow;
        FrameWindowFactories().FsmWindow = nullptr;
        FrameWindowFactories().CaseWindow = nullptr;
        char name[] = "ge";
        char* argv[] = {name, nullptr};
        const int before = Application->ComponentCount();
        StartProgram(1, argv);
        Adopt(before);
        frame = MainForm;
        ASSERT_NE(frame, nullptr);
        frame->Show();
        EXPECT_TRUE(testenv::WaitFor([this] { return testenv::HasDesktopFocus(frame->Widget()); }));
    }
};

TEST_F(RussianTexts, EveryFormTheProgramMakesSpeaksRussian) {
    std::vector<TForm*> forms;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TForm*>(Application->Components(i))) forms.push_back(f);
    ASSERT_GE(forms.size(), std::size_t(kAutoFormCount - 1)) << "the start-up table made its forms";
    std::vector<std::string> found;
    // The project pane floating: a window the desktop lists.
    frame->N26Click(frame->N26);
    frame->ManagerWindow->SetDockedTo(nullptr);
    ASSERT_TRUE(frame->ManagerWindow->Floating());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() && type != Qt::ToolTip && type != Qt::Popup && type != Qt::Desktop)
            CollectWindow(w->objectName().toStdString() + " " + w->metaObject()->className(), FromQString(w->windowTitle()),
                          found);
    }
    frame->ManagerWindow->SetDockedTo(frame->DockBarLeft);
    // The boxes of the real port asked from inside the project dialog: the
    // question about a file that exists, asked in its save dialog ("Нет",
    // and the dialog is cancelled), and a refusal of the dialog itself.
    struct RealPort {
        IUserInterfacePort* scripted = SetUiPort(QtUiPortInstance());
        ~RealPort() { SetUiPort(scripted); }
    } realPort;
    testenv::WriteBytes(dir.Path() / "p.tvp", "");
    std::vector<AnsiString> boxes;
    bool chosen = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (chosen) return dialog->reject();
            chosen = true;
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(ToQString(dir.File("p.tvp")));
            static_cast<QDialog*>(dialog)->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
            boxes.push_back(FromQString(box->text()));
            CollectWindow("the box \"" + AnsiToUtf8(boxes.back()) + "\"", FromQString(box->windowTitle()), found);
            box->buttons().back()->click();
        }
    });
    answer.start(10);
    ModalScript script;
    script.On(ProjectDlg, [] {
        ProjectDlg->BrowseBtn->Click();
        ProjectDlg->FileEdit->SetText(AnsiString());
        ProjectDlg->ModalResult = ProjectDlg->OKBtn->ModalResult;
        ProjectDlg->OKBtnClick(ProjectDlg->OKBtn);
        ProjectDlg->ModalResult = mrCancel;
    });
    frame->NewProjectActionExecute(frame->NewProjectAction);
    answer.stop();
    EXPECT_EQ(boxes, (std::vector<AnsiString>{"Файл "_a + dir.File("p.tvp") + " уже существует. Заменить его?"_a,
                                              "Не задано имя файла проекта"_a}));
    // The windows the frame opens (its children: the tear-down closes them).
    // The desktop shows a window from its construction on, before its create
    // handler names it after its document: the scheme window is looked at
    // then too.
    auto* bare = new TMDIChild(Application);
    Collect(bare, found);
    bare->DoCreate();
    TForm* scheme = FrameWindowFactories().SchemeWindow(Application);
    ASSERT_TRUE(FrameWindowFactories().FsmWindow);
    TForm* fsm = FrameWindowFactories().FsmWindow(Application);
    ASSERT_TRUE(FrameWindowFactories().CaseWindow);
    TForm* caseWindow = FrameWindowFactories().CaseWindow(Application, dir.File("M1.tvc"), nullptr);
    auto* about = NewForm<TAboutBox>(frame);
    const std::unique_ptr<TSplashForm> splash(new TSplashForm(nullptr));
    for (TForm* f : {scheme, fsm, caseWindow, static_cast<TForm*>(about), static_cast<TForm*>(splash.get())}) {
        ASSERT_NE(f, nullptr);
        forms.push_back(f);
    }
    for (TForm* f : forms) Collect(f, found);
    std::string list;
    for (const std::string& s : found) list += s + "\n";
    EXPECT_TRUE(found.empty()) << list;
}

} // namespace
