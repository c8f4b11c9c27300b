// The symbol action form for symbols and state machines, and the wire
// dialog with its chain name.
#include "editor/PropertyDialogTest.h"

#include <filesystem>

#include "editor/EditorFakes.h"
#include "platform/FileIO.h"

namespace {

// Records the pins written back into state-machine files; the files' inputs
// are fileInputs.
class RecordingFsm : public FakeFrameServices {
public:
    bool WritePins(const AnsiString& file, TStrings* inputs, TStrings* outputs) override {
        written.push_back(file + ":" + inputs->CommaText() + "/" + outputs->CommaText());
        return true;
    }
    bool ReadPins(const AnsiString&, TStrings* inputs, TStrings* outputs) override {
        inputs->SetCommaText(fileInputs);
        outputs->SetCommaText("y");
        return true;
    }
    std::vector<AnsiString> written;
    AnsiString fileInputs = "a,b";
};

class SymbolDialogs : public PropertyDialogTest {
protected:
    AnsiString WriteSymbol(const char* name, std::initializer_list<const char*> connectors) {
        TScheme s;
        for (const char* c : connectors) s.CreateVarDriver()->SetName(c);
        s.SetFileName(dir.File(name));
        EXPECT_TRUE(s.SaveToFile());
        return dir.File(name);
    }
    // Runs the symbol action form with the item chosen, then step on the
    // element dialog when the choice opens it.
    bool Choose(TElement* e, int item, std::function<void()> step = nullptr) {
        ModalScript script;
        script.On(Form3, [item] { Form3->Check->SetItemIndex(item); Form3->Button1->Click(); });
        if (step) script.On(Form4, step);
        const bool changed = e->Properties();
        EXPECT_EQ(script.Pending(Form3) + script.Pending(Form4), 0u);
        EXPECT_EQ(script.unscripted, 0);
        return changed;
    }
    RecordingFsm services;
};

TEST_F(SymbolDialogs, SymbolsStateMachinesAndWires) {
    const AnsiString file = WriteSymbol("s.tvy", {"a", "b"});
    TSymbol* s = Doc()->CreateSymbol();
    s->LoadSymbolFile(file);
    Place(s);
    ASSERT_EQ(s->PinCount(), 2);
    // The action form starts at its second item; "Выход" does nothing.
    EXPECT_FALSE(Edit(s, Form3, [] { EXPECT_EQ(Form3->Check->ItemIndex(), 1); Form3->Button2->Click(); }));
    // Reloaded: the file's connectors now.
    WriteSymbol("s.tvy", {"a", "b", "c"});
    EXPECT_TRUE(Choose(s, 0));
    EXPECT_EQ(s->PinCount(), 3);
    EXPECT_TRUE(SheetIsClean());
    // A file that is gone or damaged keeps the symbol and its pins.
    testenv::WriteBytes(ToFsPath(file), std::string(100, 'x'));
    EXPECT_FALSE(Choose(s, 0));
    std::filesystem::remove(ToFsPath(file));
    EXPECT_FALSE(Choose(s, 0));
    EXPECT_EQ(Said(), (Texts{"Файл разрушен!!"_a, "Не найден файл символа "_a + file, "Не найден файл символа "_a + file}));
    EXPECT_EQ(s->PinCount(), 3);
    EXPECT_TRUE(SheetIsClean());
    // Edited in the generic dialog, pins read-only; the next element's editable.
    auto editable = [] {
        return std::vector<bool>{!Form4->Edit1->ReadOnly(), Form4->ComboBox1->Enabled(), Form4->Button3->Visible(),
                                 Form4->Button4->Visible(), bool(Form4->InSG->Options() & goEditing)};
    };
    EXPECT_TRUE(Choose(s, 2, [&] {
        EXPECT_EQ(Form4->PinRows(), 3);
        EXPECT_EQ(editable(), std::vector<bool>(5, false));
        Form4->Edit2->SetText("Sym");
        Form4->Button1->Click();
    }));
    EXPECT_EQ(s->Name() + s->Pin(0)->Name(), AnsiString("Syma"));
    Form4->LoadEntity(Place(Doc()->CreateAndElement(), 300, 300));
    EXPECT_EQ(editable(), std::vector<bool>(5, true));
    // The form keeps the last choice.
    EXPECT_FALSE(Edit(s, Form3, [] { EXPECT_EQ(Form3->Check->ItemIndex(), 2); Form3->Button2->Click(); }));
    EXPECT_EQ(dialogs.SymbolActionChoice(), 2);
    // A state machine's pins edited there go back into its file.
    TFSM* f = Doc()->CreateFSM();
    f->LoadPinsFromFile(dir.File("m.fsm"));
    Place(f, 500, 300);
    ASSERT_EQ(f->PinCount(), 3);
    EXPECT_TRUE(Choose(f, 2, [&] {
        EXPECT_FALSE(Form4->Button3->Visible()) << "the file decides the pins";
        Form4->InSG->SetRow(1);
        Form4->InSGClick(nullptr);
        Form4->Edit1->SetText("start");
        Form4->Button1->Click();
    }));
    EXPECT_EQ(services.written, Texts{"m.fsm:start,b/y"});
    // Cancelled, nothing is written.
    EXPECT_FALSE(Choose(f, 2, [] { Form4->Button2->Click(); }));
    EXPECT_EQ(services.written.size(), 1u);
    EXPECT_TRUE(SheetIsClean());
    // A wire's chain is renamed, everywhere and unnumbered, only when typed.
    TLink* a = Doc()->CreateWire(40, 40, 200, 40);
    TLink* b = Doc()->CreateWire(200, 40, 200, 200);
    for (TLink* l : {a, b}) l->Show();
    const AnsiString generated = a->ChainName();
    ASSERT_EQ(b->ChainName(), generated);
    ASSERT_GT(a->ChainNumber(), 0);
    EXPECT_TRUE(Apply(a, Form6, [&] {
        EXPECT_EQ(Form6->Name->Text(), a->Name());
        EXPECT_EQ(Form6->Chain->Text(), generated);
        Form6->Name->SetText("w1");
    }));
    EXPECT_EQ(a->Name(), AnsiString("w1"));
    EXPECT_EQ(b->ChainName(), generated);
    EXPECT_GT(b->ChainNumber(), 0) << "the chain stays numbered";
    EXPECT_TRUE(Apply(a, Form6, [&] {
        Form6->Name->SetText("");
        Form6->Chain->SetText("Пуск"_a);
        Form6->Chain->Modified = true;
    }));
    EXPECT_EQ(a->Name(), AnsiString()) << "an empty name is a name";
    EXPECT_EQ(a->ChainName() + "|" + b->ChainName(), "Пуск|Пуск"_a);
    EXPECT_EQ(std::pair(a->ChainNumber(), b->ChainNumber()), std::pair(0, 0));
    EXPECT_FALSE(Edit(b, Form6, [] { Form6->Chain->SetText("X"); Form6->Chain->Modified = true; Form6->Button2->Click(); }));
    EXPECT_EQ(b->ChainName(), "Пуск"_a);
    EXPECT_TRUE(SheetIsClean());
}

// A state machine read again from a file that lost its first input: on the
// sheet the wires move to the pins of their names, the lost one's wire moves
// off the pin that took its place, and nothing is left over from the
// inverting drawing.
TEST_F(SymbolDialogs, AStateMachineRefreshMovesTheWiresOnTheSheet) {
    services.fileInputs = "a,b,c";
    TFSM* f = Doc()->CreateFSM();
    f->SetName("M1");
    f->LoadPinsFromFile("m.fsm");
    Place(f, 300, 100);
    ASSERT_EQ(f->InputCount(), 3);
    for (int i = 0; i < 3; ++i) {
        TInOut* pin = f->GetInput(i);
        Doc()->CreateWire(pin->TipX() - 80, pin->TipY(), pin->TipX(), pin->TipY())->SetName(pin->Name());
    }
    for (TEntity* o : Doc()->LiveObjects()) o->Show();
    services.fileInputs = "b,c";
    services.answer = "m2.fsm";
    Doc()->AddToSelection(f, true);
    ModalScript script;
    script.On(Form3, [] {
        Form3->Check->SetItemIndex(0);
        Form3->Button1->Click();
    });
    window->EditPropertyActionExecute(nullptr);
    EXPECT_EQ(script.shown[Form3], 1);
    ASSERT_EQ(f->InputCount(), 2);
    // Each input's net holds the wire named after it, and nothing else.
    for (int i = 0; i < 2; ++i) {
        TNet* net = f->GetInput(i)->Net();
        ASSERT_NE(net, nullptr);
        ASSERT_EQ(net->Links.size(), 1u);
        EXPECT_EQ(net->Links[0]->Name(), f->GetInput(i)->Name());
    }
    EXPECT_EQ(Said(), Texts{"В файле m2.fsm больше нет сигналов a элемента M1: их провода оставлены неподключёнными."_a});
    EXPECT_TRUE(SheetIsClean());
}

} // namespace
