#pragma once
// Forms built in code for the docking-toolbar tests, and real mouse and key
// events sent through the application.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <utility>
#include <vector>

#include "common/Wait.h"
#include "platform/Canvas.h"
#include "platform/gui/Forms.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"
#include "toolbars/TBExTlwn.h"

inline void Pump() { QApplication::processEvents(); }

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QPointF lp(local);
    QPointF gp(w->mapToGlobal(local));
    QMouseEvent e(type, lp, gp, button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

inline void SendKey(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(type, key, mods);
    QApplication::sendEvent(w, &e);
}

// Moves the pointer to screen point p through a point off every window, so
// that the move is reported even when the cursor was there already.
inline void MoveCursor(TPoint p) {
    testenv::MovePointerTo(QPoint(790, 590));
    EXPECT_TRUE(testenv::MovePointerTo(QPoint(p.x, p.y)));
}

// The pixel of a canvas as 0x00BBGGRR.
inline TColor PixelAt(TCanvas* c, int x, int y) { return c->Pixels(x, y); }

class ToolbarsTest : public ::testing::Test {
protected:
    void TearDown() override {
        CloseForms();
        Screen->SetCursor(crDefault);
        Pump();
        EXPECT_EQ(TCustomToolWindowEx::FloatingCount(), 0);
    }

    // Frees the forms now (a test whose handlers capture its locals calls it
    // before they go).
    void CloseForms() {
        for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) Free(*it);
        forms_.clear();
    }

    TForm* MakeForm(int left = 100, int top = 100, int width = 400, int height = 300) {
        auto* f = NewForm<TForm>(nullptr);
        f->SetBounds(left, top, width, height);
        f->Show();
        forms_.push_back(f);
        // Buttons light only while the program is active.
        EXPECT_TRUE(testenv::WaitActive(f));
        return f;
    }

    // A shown form whose top dock "Dock" holds toolbar "T" of n buttons
    // ("TB0" ...).
    TForm* FormWithToolbar(int buttons) {
        TForm* f = MakeForm();
        AddToolbar(f, AddDock(f, "Dock"), "T", buttons);
        Pump();
        return f;
    }

    static TDockEx* AddDock(TForm* f, const AnsiString& name, TDockPosition position = dpTop) {
        auto* d = NewControl<TDockEx>(f, nullptr, name);
        d->SetPosition(position);
        d->SetParent(f);
        return d;
    }

    // A toolbar of n 23 x 22 buttons, placed on dock at (row, pos).
    static TToolbarEx* AddToolbar(TForm* f, TDockEx* dock, const AnsiString& name, int buttons, int row = 0, int pos = 0) {
        auto* t = NewControl<TToolbarEx>(f, nullptr, name);
        for (int i = 0; i < buttons; ++i) NewControl<TToolbarButtonEx>(f, t, name + "B" + IntToStr(i));
        t->SetDockRow(row);
        t->SetDockPos(pos);
        if (dock) t->SetParent(dock);
        return t;
    }

    // Bars "A" and "B" of 2 buttons from the dock, both floating, one above
    // the other.
    static std::pair<TToolbarEx*, TToolbarEx*> TwoFloatingBars(TForm* f, TDockEx* dock) {
        TToolbarEx* a = AddToolbar(f, dock, "A", 2);
        TToolbarEx* b = AddToolbar(f, dock, "B", 2);
        a->SetFloatingTopLeft(TPoint(300, 250));
        a->SetDockedTo(nullptr);
        b->SetFloatingTopLeft(TPoint(300, 350));
        b->SetDockedTo(nullptr);
        return {a, b};
    }

    std::vector<TForm*> forms_;
};

// The outer width of a docked toolbar of n buttons on a top dock: the
// buttons, the double drag handle (9) and the 2-pixel border.
constexpr int DockedBarWidth(int buttons) { return 23 * buttons + 9 + 4; }
