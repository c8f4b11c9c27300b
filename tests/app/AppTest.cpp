#include "app/AppTest.h"

#include <filesystem>

#include "document/Project.h"
#include "document/UndoList.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/IniFile.h"
#include "platform/gui/Dialogs.h"
#include "platform/testing/TestPrinter.h"
#include "translator/TranslatorHost.h"

namespace {
// Components of the application that the running test made.
std::vector<TComponent*>& Made() {
    static std::vector<TComponent*> made;
    return made;
}
} // namespace

namespace {
// A black box (or disc) in the middle of the sheet, drawn by inverting as the
// editors draw for print.
void DrawInverted(TCanvas* canvas, bool disc, int zoom = 100) {
    canvas->Brush()->SetColor(clWhite);
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetMode(pmXor);
    const int a = 100 * zoom / 100;
    const int b = 200 * zoom / 100;
    const int c = 300 * zoom / 100;
    if (disc) canvas->Ellipse(a, a, c, b);
    else canvas->Rectangle(a, a, c, b);
    canvas->Pen()->SetMode(pmCopy);
}
} // namespace

void TTestSchemeChild::PrintSchemeTo(TCanvas* canvas, int zoom) {
    ChildCalls().push_back("scheme:PrintScheme");
    if (printFails) throw Exception("the drawing failed");
    DrawInverted(canvas, false, zoom);
}

void TTestFsmChild::PrintSchemeTo(TCanvas* canvas) {
    ChildCalls().push_back("fsm:PrintScheme");
    DrawInverted(canvas, true);
}

void TTestSchemeChild::PrintElements() {
    ChildCalls().push_back("scheme:PrintElements");
    Printer()->Canvas()->TextOut(10, 10, SchemeDocument()->GetName());
}

void AppTest::SetUp() {
    GuiTest::SetUp();
    ChildCalls().clear();
    std::filesystem::remove("clip.brd");
    // Each test starts with no stored values, settings or signal table.
    for (const char* name : {"registry.ini", "graphic.ini", "bittblsv.btb"})
        std::filesystem::remove(ToFsPath(SettingsFilePath(name)));
    FrameWindowFactories().SchemeWindow = [](TComponent* owner) { return NewForm<TTestSchemeChild>(owner); };
    FrameWindowFactories().FsmWindow = [](TComponent* owner) { return NewForm<TTestFsmChild>(owner); };
}

void AppTest::TearDown() {
    Application->OnModalStart = nullptr;
    if (printer_) Printer()->SetBackend(std::move(printer_));
    // A test that closed the frame ended the loops; the next test starts afresh.
    if (Application->Terminated() && Application->MainForm()) Application->Run();
    if (frame) {
        for (TForm* child : Children()) Free(child);
        Application->ProcessMessages();
    }
    auto& made = Made();
    for (auto it = made.rbegin(); it != made.rend(); ++it) Free(*it);
    made.clear();
    frame = nullptr;
    TranslatorHooks().Progress = nullptr;
    FrameWindowFactories() = TFrameWindowFactories();
    GuiTest::TearDown();
}

void AppTest::Adopt(int before) {
    for (int i = before; i < Application->ComponentCount(); ++i) Made().push_back(Application->Components(i));
}

void AppTest::StartFrame(const AnsiString& commandLine) {
    const int before = Application->ComponentCount();
    CreateAutoForms();
    Adopt(before);
    frame = MainForm;
    ASSERT_NE(frame, nullptr);
    frame->CommandLineFile = commandLine;
    frame->Show();
    // Sized, placed and active as the window manager answers, a little later.
    EXPECT_TRUE(testenv::WaitFor([this] { return testenv::HasDesktopFocus(frame->Widget()); }));
    Application->ProcessMessages();
}

void AppTest::Idle() {
    Application->ProcessMessages();
    frame->ActionList1->UpdateActions();
}

std::vector<TForm*> AppTest::Children() {
    std::vector<TForm*> v;
    for (int i = 0; i < frame->MDIChildCount(); ++i) v.push_back(frame->MDIChildren(i));
    return v;
}

TTestSchemeChild* AppTest::OpenScheme(const AnsiString& fileName) {
    auto* child = dynamic_cast<TTestSchemeChild*>(frame->CreateMDIChild(fileName));
    Application->ProcessMessages();
    return child;
}

TTestSchemeChild* AppTest::OpenByCommand(const AnsiString& fileName) {
    port.AnswerFile(fileName);
    frame->FileOpen1Execute(frame->FileOpen1);
    Application->ProcessMessages();
    return dynamic_cast<TTestSchemeChild*>(frame->ActiveMDIChild());
}

TTestFsmChild* AppTest::OpenFsm(const AnsiString& fileName) {
    auto* child = dynamic_cast<TTestFsmChild*>(frame->OpenFSMWindow(fileName));
    Application->ProcessMessages();
    return child;
}

void AppTest::WriteScheme(const AnsiString& fileName, const std::vector<AnsiString>& devices,
                          const std::vector<int>& numbers) {
    TScheme doc;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        TElement* e = doc.CreateAndElement();
        e->SetName(devices[i]);
        e->SetNumber(i < numbers.size() ? numbers[i] : int(i) + 1);
        e->Move(int(i) * 120, 0);
    }
    doc.SetFileName(fileName);
    ASSERT_TRUE(doc.SaveToFile());
}

void AppTest::WriteProject(const AnsiString& fileName, const std::vector<AnsiString>& files) {
    TProject p(nullptr);
    p.SetFileName(fileName);
    for (const AnsiString& f : files) p.AddFile(f);
    ASSERT_TRUE(p.Save());
}

void AppTest::OpenProjectOf(const std::vector<AnsiString>& files) {
    WriteProject(dir.File("p.tvp"), files);
    port.AnswerFile(dir.File("p.tvp"));
    frame->OpenProjectActionExecute(frame->OpenProjectAction);
    port.Clear();
}

std::vector<std::string> AppTest::WindowsState() {
    std::vector<std::string> v;
    for (TForm* w : Children()) {
        TScheme* d = dynamic_cast<ISchemeChild*>(w)->SchemeDocument();
        v.push_back(AnsiToUtf8(d->GetName()) + " sel" + std::to_string(d->Selection().size()) + " mod" +
                    std::to_string(d->IsModified()) + " undo" + std::to_string(d->UndoList()->GroupCount()));
    }
    return v;
}

TestPrinterBackend* AppTest::Pages() {
    auto backend = std::make_unique<TestPrinterBackend>();
    TestPrinterBackend* pages = backend.get();
    auto previous = Printer()->SetBackend(std::move(backend));
    if (!printer_) printer_ = std::move(previous);
    return pages;
}
