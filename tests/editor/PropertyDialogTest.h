#pragma once
// The property dialogs' tests: a scheme window as in the window's tests,
// every property dialog made as the program makes it, and the dispatcher
// installed as the frame installs it.

#include <functional>

#include "editor/SchemeWindowTest.h"

#include "editor/DelayDlg.h"
#include "editor/ElementDlg.h"
#include "editor/ModalScript.h"
#include "editor/PropertyDialogs.h"
#include "editor/SymbolDlg.h"
#include "editor/TriggerDlg.h"
#include "editor/Unit10.h"
#include "editor/Unit5.h"
#include "editor/gotoparam.h"

using Texts = std::vector<AnsiString>;

class PropertyDialogTest : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        Form4 = MakeForm<TForm4>(), Form2 = MakeForm<TForm2>(), Form1 = MakeForm<TForm1>();
        Form8 = MakeForm<TForm8>(), Form7 = MakeForm<TForm7>(), Form3 = MakeForm<TForm3>();
        Form6 = MakeForm<TForm6>(), Form5 = MakeForm<TForm5>(), Form10 = MakeForm<TForm10>();
        Form12 = MakeForm<TForm12>();
        ModelHooks().Dialogs = &dialogs;
    }
    void TearDown() override {
        ModelHooks().Dialogs = nullptr;
        SchemeWindowTest::TearDown();
    }
    // The entity's properties with step run on form, which must show once; a
    // dialog that step leaves open is cancelled.
    bool Edit(TEntity* entity, TForm* form, std::function<void()> step) {
        ModalScript script;
        script.On(form, [&] {
            step();
            if (form->ModalResult == mrNone) form->ModalResult = mrCancel;
        });
        const bool changed = entity->Properties();
        EXPECT_EQ(script.shown[form], 1);
        EXPECT_EQ(script.unscripted, 0);
        EXPECT_FALSE(script.stuck);
        return changed;
    }
    // Edit with fill, then "Применить".
    bool Apply(TEntity* entity, TForm* form, std::function<void()> fill = [] {}) {
        return Edit(entity, form, [&] {
            fill();
            ApplyButton(form)->Click();
        });
    }
    static TButton* ApplyButton(TForm* f) {
        if (f == Form8 || f == Form7) return static_cast<TTickForm*>(f)->Button3;
        if (f == Form9) return Form9->Button3;
        if (f == Form12) return Form12->Button1;
        if (f == Form6) return Form6->Button1;
        if (f == Form5) return Form5->Button1;
        if (f == Form3) return Form3->Button1;
        return static_cast<TElementPages*>(f)->Button1;
    }
    // An element of the scheme at a place, shown on the sheet.
    template <class T>
    T* Place(T* element, int x = 100, int y = 100) {
        return Shown(element, x, y);
    }
    // Takes a placed object off the sheet and out of the scheme.
    void Remove(TEntity* entity) {
        entity->Hide();
        Doc()->AddToSelection(entity, true);
        Doc()->DeleteSelected();
        Doc()->ClearSelection();
    }
    // The message texts shown since the last call.
    Texts Said() {
        Texts texts = port.Messages();
        port.Clear();
        return texts;
    }

    TPropertyDialogs dialogs;
};
