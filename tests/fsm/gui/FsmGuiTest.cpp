#include "FsmGuiTest.h"

#include "PaintBoxMouse.h"
#include "platform/TestUiPort.h"

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
    frame->Show();
    Application->ProcessMessages();
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
    Application->ProcessMessages();
    return w;
}

QImage FsmGuiTest::Shown(TFSMChild* w) { return w->PaintBox1->Canvas()->Image()->copy(); }

QImage FsmGuiTest::Repainted(TFSMChild* w) {
    const QImage now = Shown(w);
    w->PaintBox1->Repaint();
    QImage fresh = Shown(w);
    // Put back what was shown, so the test goes on with the window as it was.
    *w->PaintBox1->Canvas()->Image() = now;
    return fresh;
}

void FsmGuiTest::Press(TFSMChild* w, int x, int y, Qt::MouseButton b) { paintmouse::Press(w->PaintBox1, x, y, b); }

void FsmGuiTest::MoveTo(TFSMChild* w, int x, int y, Qt::MouseButtons held) { paintmouse::MoveTo(w->PaintBox1, x, y, held); }

void FsmGuiTest::Release(TFSMChild* w, int x, int y, Qt::MouseButton b) { paintmouse::Release(w->PaintBox1, x, y, b); }

void FsmGuiTest::Drag(TFSMChild* w, int x0, int y0, int x1, int y1) {
    MoveTo(w, x0, y0, Qt::NoButton);
    Press(w, x0, y0);
    for (int i = 1; i <= 4; ++i) MoveTo(w, x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4);
    Release(w, x1, y1);
}

void FsmGuiTest::Click(TFSMChild* w, int x, int y) { paintmouse::Click(w->PaintBox1, x, y); }

void FsmGuiTest::DoubleClick(TFSMChild* w, int x, int y) {
    Click(w, x, y);
    paintmouse::Send(w->PaintBox1, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, x, y);
    Release(w, x, y);
}
