// The scheme model on its own: its objects reach their document, the signal
// table, the settings and the undo list only through the interfaces of
// ModelHooks.h, so stand-ins serve here and no scheme document is linked.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/TestEnv.h"
#include "model/Driver.h"
#include "model/Elements.h"
#include "model/FSM.h"
#include "model/Link.h"
#include "model/Symbol.h"
#include "platform/Bitmap.h"
#include "platform/testing/TestUiPort.h"
#include "platform/StringList.h"
#include "platform/testing/TestUiPort.h"

namespace {

// A document that records what its objects ask of it.
class FakeDocument : public ISchemeContext {
public:
    TCanvas* GetCanvas() override { return nullptr; }
    const AnsiString& GetFileName() const override { return fileName; }
    void SetModified(bool m) override { modified.push_back(m); }
    void RebuildNets() override { ++rebuilds; }
    int GetNestingDepth() const override { return depth; }
    bool HasWindow() const override { return window; }
    TElement* FindDeviceByNumber(int number) const override {
        for (TElement* d : devices)
            if (d->Number() == number) return d;
        return nullptr;
    }
    TVarDriver* NextVarDriver(uint8_t& cls, bool restart) override {
        if (restart) cursor = 0;
        if (cursor >= connectors.size()) return nullptr;
        cls = classes[cursor];
        return connectors[cursor++].get();
    }
    // A connector of this document with its class.
    void AddConnector(const AnsiString& name, uint8_t cls) {
        connectors.push_back(std::make_unique<TVarDriver>(this));
        connectors.back()->SetName(name);
        classes.push_back(cls);
    }

    AnsiString fileName;
    std::vector<bool> modified;
    int rebuilds = 0;
    int depth = 0;
    bool window = false;
    std::vector<TElement*> devices;
    std::vector<std::unique_ptr<TVarDriver>> connectors;
    std::vector<uint8_t> classes;
    std::size_t cursor = 0;
};

// Installs a service of ModelHooks for the length of a test.
template <class T>
class Installed {
public:
    Installed(T& slot, T value) : slot_(slot), previous_(slot) { slot_ = value; }
    ~Installed() { slot_ = previous_; }

private:
    T& slot_;
    T previous_;
};

class FakeSignals : public ISignalTable {
public:
    bool FindBit(const AnsiString& name, AnsiString& driver, int& bit, AnsiString& comment) const override {
        if (name == "X1") {
            driver = "IN1", bit = 3, comment = "лампа"_a;
            return true;
        }
        if (name == "Y1") {
            driver = "OUT1", bit = 0, comment = "";
            return true;
        }
        return false;
    }
    int DriverDirection(const AnsiString& driver) const override { return driver == "IN1" ? 0 : driver == "OUT1" ? 1 : -1; }
    bool FindVarBit(const AnsiString& name, AnsiString& comment) const override {
        comment = name == "V1" ? "общая"_a : "";
        return name == "V1";
    }
};

class FakeSettings : public ISchemeSettings {
public:
    bool SchemeSetting(TSchemeSetting which, int& value) const override {
        switch (which) {
        case TSchemeSetting::LinkColor: value = clGreen; return true;
        case TSchemeSetting::CheckOrder: value = checkOrder; return true;
        default: return false;
        }
    }
    int checkOrder = 1;
};

class FakeUndo : public IUndoRecorder {
public:
    void AddMove(TEntity* object) override { moved.push_back(object); }
    std::vector<TEntity*> moved;
};

class FakeLog : public ITranslationLog {
public:
    void Error(const AnsiString& text) override { errors.push_back(text); }
    std::vector<AnsiString> errors;
};

TEST(SchemeContext, ObjectsReachTheirDocumentThroughTheContext) {
    TestUiPort port;
    FakeDocument doc;
    TAndElement a(&doc), b(&doc);
    EXPECT_EQ(a.Scheme(), &doc);
    EXPECT_EQ(a.Owner(), &doc);
    TPaintBoxOwner paintBox(nullptr);
    TAndElement preview(&paintBox);
    EXPECT_EQ(preview.Scheme(), nullptr);
    EXPECT_EQ(preview.Owner(), &paintBox);

    // Pins that change rebuild the document's nets; a number marks it modified.
    a.AddPin();
    EXPECT_EQ(doc.rebuilds, 1);
    a.SetNumber(5);
    EXPECT_EQ(doc.modified, std::vector<bool>{true});
    preview.AddPin();
    preview.SetNumber(9);
    EXPECT_EQ(doc.rebuilds, 1);
    EXPECT_EQ(doc.modified.size(), 1u);

    // In a window a number that another device holds is refused, unless the
    // settings turn the order check off.
    b.AssignNumber(7);
    doc.devices = {&a, &b};
    doc.window = true;
    a.SetNumber(7);
    EXPECT_EQ(a.Number(), 5);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Елемент с номером 7 уже существует"_a});
    FakeSettings settings;
    settings.checkOrder = 0;
    Installed<const ISchemeSettings*> s(ModelHooks().Settings, &settings);
    a.SetNumber(7);
    EXPECT_EQ(a.Number(), 7);
    EXPECT_EQ(port.Messages().size(), 1u);

    // A drag records the position in the undo list it is given.
    FakeUndo undo;
    a.CommitPosition(&undo);
    a.CommitPosition(nullptr);
    EXPECT_EQ(undo.moved, std::vector<TEntity*>{&a});

    // A chain renamed by the user marks its document modified.
    doc.modified.clear();
    TLink wire(&doc, 0, 0, 20, 0);
    TChain chain(&doc, "_chain000001", 1);
    chain.Links.push_back(&wire);
    chain.SetName("Пуск"_a);
    EXPECT_EQ(wire.ChainName(), "Пуск"_a);
    EXPECT_EQ(doc.modified, std::vector<bool>{true});
}

TEST(SchemeContext, AStateMachineFileLiesBesideTheDocumentsFile) {
    FakeDocument doc;
    TFSM fsm(&doc);
    fsm.SetFileName("/elsewhere/Насос.fsm"_a);
    EXPECT_EQ(fsm.FileName(), "Насос.fsm"_a);
    doc.fileName = "/work/project/a.tvs";
    EXPECT_EQ(fsm.GetFullFileName(), "/work/project/Насос.fsm"_a);
}

TEST(SchemeContext, ASymbolsSchemeComesFromTheInstalledFactory) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "valve.tvy", "any");
    FakeDocument doc;
    doc.fileName = dir.File("main.tvs");
    doc.depth = 2;
    struct Made {
        AnsiString file;
        int depth;
    };
    std::vector<Made> made;
    TSymbolSchemeFactory factory = [&](const AnsiString& file, int depth) -> std::unique_ptr<ISchemeContext> {
        made.push_back({file, depth});
        auto inner = std::make_unique<FakeDocument>();
        inner->AddConnector("V1", 0);
        inner->AddConnector("V2", 1);
        inner->AddConnector("V1", 3);
        inner->AddConnector("V3", 3);
        return inner;
    };

    // Without a factory (no document linked) a symbol has no scheme and no pins.
    TSymbol bare(&doc);
    bare.LoadSymbolFile("valve.tvy");
    EXPECT_EQ(bare.InnerScheme(), nullptr);
    EXPECT_EQ(bare.PinCount(), 0);

    Installed<TSymbolSchemeFactory> f(ModelHooks().SymbolSchemes, factory);
    TSymbol symbol(&doc);
    symbol.LoadSymbolFile("valve.tvy");
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].file, dir.File("valve.tvy")) << "found beside the document's file";
    EXPECT_EQ(made[0].depth, 3);
    ASSERT_NE(symbol.InnerScheme(), nullptr);
    // One pin per connector name: an output where an element drives it inside.
    ASSERT_EQ(symbol.PinCount(), 3);
    EXPECT_EQ(symbol.Pin(0)->Name(), AnsiString("V1"));
    EXPECT_EQ(symbol.Pin(0)->Direction(), 0);
    EXPECT_EQ(symbol.Pin(1)->Name(), AnsiString("V2"));
    EXPECT_EQ(symbol.Pin(1)->Direction(), 1);
    EXPECT_EQ(symbol.Pin(2)->Name(), AnsiString("V3"));
    EXPECT_EQ(symbol.Pin(2)->Direction(), 1);

    // Too deep inside other symbols nothing is made, and the user is told.
    TestUiPort ui;
    doc.depth = TSymbol::kMaxDepth;
    symbol.LoadInnerScheme();
    EXPECT_EQ(made.size(), 1u);
    EXPECT_EQ(ui.Messages(),
              std::vector<AnsiString>{"Символы вложены слишком глубоко или их слишком много: загружены не все символы."_a});
    EXPECT_EQ(symbol.InnerScheme(), nullptr);
    EXPECT_EQ(symbol.PinCount(), 3) << "reloading keeps the pins";
}

TEST(SchemeContext, DriverPinsReadTheInstalledSignalTable) {
    FakeDocument doc;
    TDriver in(&doc), out(&doc), missing(&doc);
    TVarDriver shared(&doc);
    in.SetName("X1");
    out.SetName("Y1");
    missing.SetName("Z9");
    shared.SetName("V1");
    FakeLog log;
    Installed<ITranslationLog*> l(ModelHooks().Log, &log);

    // Without a table no signal is found.
    EXPECT_EQ(in.Hint(), AnsiString("X1"));
    EXPECT_EQ(in.GetDirection(), 2);
    EXPECT_EQ(shared.GetComment(), AnsiString());

    FakeSignals signals;
    Installed<const ISignalTable*> s(ModelHooks().Signals, &signals);
    struct Case {
        TDriver* pin;
        AnsiString hint;
        int direction;
        AnsiString line;
    } cases[] = {
        {&in, "X1 IN1 3 лампа"_a, 0, "X1              IN1 3"},
        {&out, "Y1 OUT1 0", 1, "Y1              OUT1 0"},
        {&missing, "Z9", 2, "Z9             "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.pin->Hint(), c.hint);
        EXPECT_EQ(c.pin->GetDirection(), c.direction);
        TStringList lines;
        c.pin->Translate(&lines);
        EXPECT_EQ(lines.Count() ? lines.Get(0) : AnsiString(), c.line);
    }
    // Not bound to a driver bit: written as an internal signal, the run warns of it.
    EXPECT_TRUE(log.errors.empty());
    EXPECT_EQ(shared.Hint(), "V1 общая"_a);
}

TEST(SchemeContext, ObjectsDrawInTheInstalledSettingsColours) {
    FakeDocument doc;
    TLink wire(&doc, 2, 5, 30, 5);
    auto colourOfWire = [&] {
        TBitmap image;
        image.SetSize(40, 10);
        image.Canvas()->Brush()->SetColor(clBlack);
        image.Canvas()->FillRect(Rect(0, 0, 40, 10));
        wire.DrawTo(image.Canvas(), false);
        return image.Canvas()->Pixels(10, 5);
    };
    EXPECT_EQ(colourOfWire(), TColor(255)) << "the settings file's default";
    FakeSettings settings;
    Installed<const ISchemeSettings*> s(ModelHooks().Settings, &settings);
    EXPECT_EQ(colourOfWire(), clGreen);
}

} // namespace
