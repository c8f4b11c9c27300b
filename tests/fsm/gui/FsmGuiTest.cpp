#include "FsmGuiTest.h"

#include "fsm/FsmTestSupport.h"

bool FakeFsmFrame::SaveWindow(TForm* window) {
    ++saves;
    if (!saveSucceeds) return false;
    auto* w = dynamic_cast<TFSMChild*>(window);
    return w && w->FsmDocument()->SaveToFile();
}

std::string Bytes(const QImage& img) {
    std::string out;
    for (int y = 0; y < img.height(); ++y)
        out.append(reinterpret_cast<const char*>(img.constScanLine(y)), std::size_t(img.width()) * 4);
    return out;
}

void FsmGuiTest::SetUp() {
    GuiTest::SetUp();
    if (!InitModule) ownSettings_ = new TInitModule(nullptr);
    previousFrame_ = SetFsmFrame(&fake);
    frame = MakeForm();
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(0, 0, 1000, 760);
    Application->SetMainForm(frame);
    ASSERT_TRUE(ShowActive(frame));
}

void FsmGuiTest::TearDown() {
    // The windows are freed with the frame (children first); nothing may ask.
    port.DefaultAnswer = mrNo;
    GuiTest::TearDown();
    SetFsmFrame(previousFrame_);
    delete ownSettings_;
    ownSettings_ = nullptr;
}

TFSMChild* FsmGuiTest::Open(const AnsiString& fileName) {
    TFSMChild* w = NewFSMChild(Application);
    forms_.insert(forms_.begin() + 1, w);
    w->FsmDocument()->SetFileName(fileName);
    w->FsmDocument()->LoadFromFile();
    w->Show();
    w->SetFocus();
    // Keys reach it once the desktop has made the frame active.
    EXPECT_TRUE(testenv::WaitFor([this, w] {
        return testenv::HasDesktopFocus(frame->Widget()) && Screen->ActiveForm() == w;
    }));
    return w;
}

AnsiString FsmGuiTest::Saved(TFSMScheme& doc, const AnsiString& name) {
    const AnsiString file = dir.File(name);
    doc.SetFileName(file);
    EXPECT_TRUE(doc.SaveToFile()) << name.c_str();
    return file;
}

AnsiString FsmGuiTest::ExampleFile(const AnsiString& name) {
    TFSMScheme doc;
    fsmtest::BuildExample(doc);
    return Saved(doc, name);
}

QImage FsmGuiTest::Shown(TFSMChild* w) { return w->PaintBox1->Canvas()->Image()->copy(); }

bool FsmGuiTest::ShowsRepaint(TFSMChild* w) {
    // A picture whose size changed since it was painted (a window manager
    // sizes windows a little later) is painted whole before it shows.
    w->PaintBox1->Update();
    const QImage now = Shown(w);
    w->PaintBox1->Repaint();
    const bool same = Bytes(Shown(w)) == Bytes(now);
    // Put back what was shown, so the test goes on with the window as it was.
    *w->PaintBox1->Canvas()->Image() = now;
    return same;
}
