#pragma once
// The scheme window's tests: a window inside an MDI frame of its own with a fake frame interface, the insertion
// dialogs made as the program makes them, and helpers that drive the sheet with Qt mouse events at scheme points and
// compare the sheet and the document.

#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "editor/EditorTest.h"

#include "common/Printers.h"
#include "document/Scheme.h"
#include "document/UndoList.h"
#include "editor/AutoName.h"
#include "editor/ChildWin.h"
#include "editor/EditorFakes.h"
#include "editor/InsertElement.h"
#include "editor/InsertPin.h"
#include "editor/OpenSym.h"
#include "editor/PinDriver.h"
#include "editor/Unit9.h"
#include "model/Records.h"
#include "platform/Bytes.h"
#include "platform/Canvas.h"
#include "platform/testing/TestPrinter.h"

inline void PrintTo(const TPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

// While it lives, what is printed is kept in memory, page by page.
struct CapturedPrinter {
    std::unique_ptr<TestPrinterBackend> own = std::make_unique<TestPrinterBackend>();
    TestPrinterBackend* const pages = own.get();
    std::unique_ptr<IPrinterBackend> previous = Printer()->SetBackend(std::move(own));
    ~CapturedPrinter() { Printer()->SetBackend(std::move(previous)); }
};

class SchemeWindowTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        SetSchemeFrame(&fake);
        frame = MakeForm();
        frame->SetFormStyle(fsMDIForm), frame->SetBounds(0, 0, 1000, 760);
        Application->SetMainForm(frame);
        ASSERT_TRUE(ShowActive(frame));
        PinDriverDlg = new TPinDriverDlg(nullptr, dir.File("signals.btb"));
        PinDriverDlg->DoCreate(), forms_.push_back(PinDriverDlg);
        InsertElementForm = MakeForm<TInsertElementForm>(), InsertPinForm = MakeForm<TInsertPinForm>();
        Form9 = MakeForm<TForm9>(), fmOpenSymbolFile = MakeForm<TfmOpenSymbolFile>();
        fmAutoNames = MakeForm<TfmAutoNames>();
        window = OpenWindow();
    }
    void TearDown() override { EditorTest::TearDown(), SetSchemeFrame(nullptr); }
    // A new window as the frame makes one (freed in tear-down).
    TMDIChild* OpenWindow() {
        auto* w = static_cast<TMDIChild*>(MakeSchemeWindow(nullptr));
        return forms_.push_back(w), Application->ProcessMessages(), w;
    }
    TScheme* Doc() const { return window->Scheme.get(); }
    int Zoom() const { return Doc()->Zoom(); }
    AnsiString Panel(int i) const { return window->StatusBar->Panels()->Items(i)->Text(); }

    // Mouse events at scheme points.
    void Send(QEvent::Type type, int sx, int sy, Qt::MouseButton b = Qt::LeftButton) {
        GuiTest::Send(window->PaintBox1->Widget(), type, type == QEvent::MouseMove ? Qt::NoButton : b,
                      QPoint(sx * Zoom() / 100, sy * Zoom() / 100));
    }
    void Press(int sx, int sy, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonPress, sx, sy, b); }
    void Move(int sx, int sy) { Send(QEvent::MouseMove, sx, sy); }
    void Release(int sx, int sy, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, sx, sy, b); }
    void Click(int sx, int sy) { Move(sx, sy), Press(sx, sy), Release(sx, sy); }
    // Press at the first point, moves through the others, release at the last.
    void Drag(std::vector<std::pair<int, int>> path) {
        Move(path.front().first, path.front().second);
        Press(path.front().first, path.front().second);
        for (std::size_t i = 1; i < path.size(); ++i) Move(path[i].first, path[i].second);
        Release(path.back().first, path.back().second);
    }

    // Whether the sheet shows what a full repaint draws: nothing that the mouse or the objects drew by inverting is
    // left over.
    ::testing::AssertionResult SheetIsClean() {
        // A sheet whose size changed since it was painted (a window manager sizes windows a little later) is
        // painted whole before it shows.
        window->PaintBox1->Update();
        const QImage before = window->PaintBox1->Canvas()->Image()->copy();
        window->PaintBox1->Repaint();
        const QImage& after = *window->PaintBox1->Canvas()->Image();
        if (before.size() != after.size()) return ::testing::AssertionFailure() << "the sheet changed its size";
        int differing = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                differing += (before.pixel(x, y) & 0xFFFFFF) != (after.pixel(x, y) & 0xFFFFFF);
        if (differing == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << differing << " pixels differ from a full repaint";
    }
    // The document's live objects as their records, sorted: equal documents give equal lists whatever the order and
    // ids of their objects.
    std::vector<std::string> State() const {
        std::vector<std::string> records;
        for (TEntity* o : Doc()->LiveObjects()) {
            ByteWriter w;
            WriteEntityRecord(w, *o);
            records.push_back(w.Take());
        }
        std::sort(records.begin(), records.end());
        return records;
    }
    int Live(TEntityKind kind) const {
        int n = 0;
        for (TEntity* o : Doc()->LiveObjects()) n += o->Kind() == kind;
        return n;
    }
    // An object put at (x, y) and shown on the sheet.
    template <class T>
    static T* Shown(T* o, int x, int y) {
        return o->SetX(x), o->SetY(y), o->Show(), o;
    }
    TElement* Device(int x, int y) { return Shown(Doc()->CreateAndElement(), x, y); }
    TDriver* Pin(const AnsiString& name, int x, int y) {
        TDriver* d = Doc()->CreateDriver();
        return d->SetName(name), Shown(d, x, y);
    }

    FakeSchemeFrame fake;
    TForm* frame = nullptr;
    TMDIChild* window = nullptr;
};
