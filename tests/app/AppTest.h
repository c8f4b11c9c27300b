#pragma once
// The frame's tests: the program's start-up forms made as the program makes
// them, and child windows of both kinds that stand for the scheme window and
// the state-machine window (they record which of their handlers the frame
// called and ask about their documents when they close, as the editors do).

#include <string>
#include <vector>

#include "platform/gui/GuiTest.h"
#include "platform/gui/Dialogs.h"
#include "platform/testing/TestPrinter.h"

#include "app/AutoForms.h"
#include "app/FrameChild.h"
#include "app/Main.h"
#include "common/TestEnv.h"
#include "document/InitModule.h"
#include "document/Scheme.h"
#include "editor/ModalScript.h"
#include "fsm/fsmScheme.h"
#include "toolbars/TBExTlwn.h"
#include "model/ModelHooks.h"

// What the children were asked to do, in order: "scheme:Cut", "fsm:ZoomIn"...
inline std::vector<std::string>& ChildCalls() {
    static std::vector<std::string> calls;
    return calls;
}

// Asks about a modified document as the editors do and closes by freeing.
template <class Child>
void AskOnClose(Child* child, bool modified, TCloseAction& action) {
    action = caFree;
    if (!modified) return;
    switch (MessageDlg("Схема не сохранена! Сохранить?"_a, mtWarning, mbYesNoCancel)) {
    case mrCancel: action = caNone; break;
    case mrYes:
        if (!MainForm->SaveWindow(child)) action = caNone;
        break;
    default: break;
    }
}

// The handlers both kinds of window have; each call is logged with the
// window's kind ("scheme" or "fsm").
template <class Interface>
class TTestEditorChild : public TForm, public Interface {
public:
    TTestEditorChild(TComponent* owner, const char* kind) : TForm(owner), kind_(kind) {
        SetFormStyle(fsMDIChild);
        SetBounds(0, 0, 300, 200);
    }
    void CutActionExecute(TObject*) override { Log("Cut"); }
    void CopyActionExecute(TObject*) override { Log("Copy"); }
    void PasteActionExecute(TObject*) override { Log("Paste"); }
    void DeleteActionExecute(TObject*) override { Log("Delete"); }
    void ZoomInActionExecute(TObject*) override { Log("ZoomIn"); }
    void ZoomOutActionExecute(TObject*) override { Log("ZoomOut"); }
    void ZoomNormalActionExecute(TObject*) override { Log("ZoomNormal"); }
    void ZoomMaxActionExecute(TObject*) override { Log("ZoomMax"); }
    void RepaintSheet() override { Log("Repaint"); }
    bool CutActionEnabled() override { return editEnabled; }
    bool CopyActionEnabled() override { return editEnabled; }
    bool DeleteActionEnabled() override { return editEnabled; }

    bool editEnabled = true;

protected:
    void Log(const std::string& what) { ChildCalls().push_back(std::string(kind_) + ":" + what); }

private:
    const char* kind_;
};

class TTestSchemeChild : public TTestEditorChild<ISchemeChild> {
public:
    explicit TTestSchemeChild(TComponent* owner) : TTestEditorChild(owner, "scheme"), owner_(this), doc_(&owner_) {
        OnClose = [this](TObject*, TCloseAction& a) { AskOnClose(this, doc_.IsModified(), a); };
    }
    TScheme* SchemeDocument() override { return &doc_; }
    void SetModeSelectActionExecute(TObject*) override { Log("Select"); }
    void SetModeDeviceActionExecute(TObject*) override { Log("Device"); }
    void SetModePinActionExecute(TObject*) override { Log("Pin"); }
    void SetModeWireActionExecute(TObject*) override { Log("Wire"); }
    void SetModeConnectActionExecute(TObject*) override { Log("Connect"); }
    void SetModeSymbolActionExecute(TObject*) override { Log("Symbol"); }
    void SetModeFSMActionExecute(TObject*) override { Log("FSM"); }
    void FlipHorActionExecute(TObject*) override { Log("FlipHor"); }
    void UndoExecute(TObject*) override { Log("Undo"); }
    void CenterSelectedActionExecute(TObject*) override { Log("Center"); }
    void SetMode(int mode) override { Log("Mode" + std::to_string(mode)); }
    bool FlipHorActionEnabled() override { return editEnabled; }
    void PrintSchemeTo(TCanvas* canvas, int zoom = 100) override;
    void PrintElements() override;
    // Drawing for the printer fails (throws) while set.
    bool printFails = false;

private:
    // The document's window: no canvas, the caption goes to the form.
    class Owner : public IEntityOwner {
    public:
        explicit Owner(TForm* f) : form_(f) {}
        TCanvas* GetCanvas() override { return nullptr; }
        void SetCaption(const AnsiString& c) override { form_->SetCaption(c); }

    private:
        TForm* form_;
    };
    Owner owner_;
    TScheme doc_;
};

class TTestFsmChild : public TTestEditorChild<IFsmChild> {
public:
    explicit TTestFsmChild(TComponent* owner) : TTestEditorChild(owner, "fsm"), doc_(nullptr) {
        OnClose = [this](TObject*, TCloseAction& a) { AskOnClose(this, doc_.IsModified(), a); };
    }
    TFSMScheme* FsmDocument() override { return &doc_; }
    bool FlipHorActionEnabled() override { return editEnabled; }
    void PrintSchemeTo(TCanvas* canvas) override;

private:
    TFSMScheme doc_;
};

class AppTest : public GuiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The frame shown, with every start-up form made (the command-line file
    // is processed when it shows).
    void StartFrame(const AnsiString& commandLine = AnsiString());
    // The application's components from index before on are the test's:
    // tear-down frees them.
    void Adopt(int before);
    // Lets the frame's idle work run (action updates).
    void Idle();
    // The children of the frame, topmost first.
    std::vector<TForm*> Children();
    TTestSchemeChild* OpenScheme(const AnsiString& fileName);
    TTestFsmChild* OpenFsm(const AnsiString& fileName);
    // Opens the file through "Открыть" (a recovery copy opens untitled); the
    // scheme window then in front.
    TTestSchemeChild* OpenByCommand(const AnsiString& fileName);
    // Writes a scheme file with devices named as given (order numbers 1..n
    // unless numbers are given).
    void WriteScheme(const AnsiString& fileName, const std::vector<AnsiString>& devices,
                     const std::vector<int>& numbers = {});
    // Writes a project file listing the files.
    void WriteProject(const AnsiString& fileName, const std::vector<AnsiString>& files);
    // Opens p.tvp of the test folder listing the files, through the command.
    void OpenProjectOf(const std::vector<AnsiString>& files);
    // Each window's scheme, selection size, modified flag and undo steps, in
    // window order: what reading walks must leave as it is.
    std::vector<std::string> WindowsState();
    // A printer that keeps its pages, until the test ends.
    TestPrinterBackend* Pages();

    TMainForm* frame = nullptr;
    testenv::TempDir dir;

private:
    std::unique_ptr<IPrinterBackend> printer_;
};

// The frame started with no command line before each test.
class FrameTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartFrame();
    }
};
