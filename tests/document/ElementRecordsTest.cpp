// Pin lists of the kinds, records of every kind through a round trip, and
// damaged records refused without reading past their end.
#include <gtest/gtest.h>

#include <functional>

#include "model/ModelTestSupport.h"
#include "model/Records.h"

using namespace modeltest;

namespace {

AnsiString PinList(TElement* e) {
    AnsiString s;
    for (int i = 0; i < e->PinCount(); ++i)
        s += e->Pin(i)->Name() + (e->Pin(i)->Direction() ? ">" : "<") + (e->Pin(i)->Inverse() ? "~" : "") + " ";
    return s;
}

// The pin orders that the netlist and the translation library rely on
// (docs/netlist.md).
TEST(PinOrder, EveryKindInTheDocumentedOrder) {
    TScheme s;
    struct Row {
        TElement* e;
        const char* pins;
        int width, height;
    };
    std::vector<Row> rows = {
        {s.CreateAndElement(), "Out> In< In< ", 40, 30},
        {s.CreateOrElement(), "Out> In< In< ", 40, 30},
        {s.CreateXorElement(), "Out> In< In< ", 40, 30},
        {s.CreateTriggerElement(), "S< R< Q> Q>~ ", 40, 30},
        {s.CreateTimerElement(), "In< Reset< Out> ", 40, 30},
        {s.CreatePredTimerElement(3), "In< Reset< Out> 0< 1< 2< ", 40, 60},
        {s.CreateDTriggerElement(), "D< C< Q> Q>~ ", 40, 30},
        {s.CreateCounterElement(), "C< R< Out> Out> Out> Out> ", 40, 50},
        {s.CreateDecoderElement(), "0< 1< 2< 3< Out> Out> Out> Out> Out> Out> Out> Out> Out> Out> ", 40, 110},
        {s.CreateDRSTriggerElement(), "S< D< C< R< Q> Q>~ ", 40, 50},
        {s.CreateD8TriggerElement(), "D0< D1< D2< D3< D4< D5< D6< D7< C< R< 0> 1> 2> 3> 4> 5> 6> 7> ", 40, 110},
        {s.CreateD8RSCounterElement(), "D0< D1< D2< D3< D4< D5< D6< D7< L< R< C< 0> 1> 2> 3> 4> 5> 6> 7> ", 40, 120},
        {s.CreateByteCompareElement(), "A0< A1< A2< A3< A4< A5< A6< A7< B0< B1< B2< B3< B4< B5< B6< B7< >> => <> ", 40, 170},
        {s.CreateReverCounterElement(), "C< P< Dir< Out> Out> Out> Out> ", 40, 50},
        {s.CreateCaseElement(2), "0< 1< 2< 3< 4< 5< 6< 7< 0> 1> ", 40, 90},
        {s.CreateCase16Element(1), "0< 1< 2< 3< 4< 5< 6< 7< 8< 9< 10< 11< 12< 13< 14< 15< 0> ", 40, 170},
        {s.CreateCaseMaskElement(1), "0< 1< 2< 3< 4< 5< 6< 7< 8< 9< 10< 11< 12< 13< 14< 15< 0> ", 40, 170},
        {s.CreateCaseDiapElement(6), "0< 1< 2< 3< 4< 5< 6< 7< 8< 9< 10< 11< 12< 13< 14< 15< 0> 1> 2> 3> 4> 5> ", 40, 170},
        {s.CreateCommutatorElement(), "A0< A1< A2< A3< B0< B1< B2< B3< S< 0> 1> 2> 3> ", 40, 100},
        {s.CreateFilterElement(), "0< 1< 2< 3< 4< 5< 6< 7< 8< 9< 10< 11< Hold< 0> 1> 2> 3> 4> 5> 6> 7> 8> 9> 10> 11> ", 40, 140},
        {s.CreateGotoElement(), "In< ", 40, 20},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(PinList(r.e), AnsiString(r.pins)) << r.e->Label().c_str();
        EXPECT_EQ(r.e->GetWidth(), r.width) << r.e->Label().c_str();
        EXPECT_EQ(r.e->GetHeight(), r.height) << r.e->Label().c_str();
        // Inputs on the left edge, outputs on the right, one every 10 units.
        for (int i = 0; i < r.e->InputCount(); ++i) {
            EXPECT_EQ(r.e->GetInput(i)->OffsetX(), -10);
            EXPECT_EQ(r.e->GetInput(i)->OffsetY(), 10 * (i + 1));
        }
        for (int i = 0; i < r.e->OutputCount(); ++i) {
            EXPECT_EQ(r.e->GetOutput(i)->OffsetX(), r.e->GetWidth() + 10);
            EXPECT_EQ(r.e->GetOutput(i)->OffsetY(), 10 * (i + 1));
        }
    }
}

TEST(PinOrder, CountsAndIndexesOutOfRange) {
    TScheme s;
    auto* a = s.CreateAndElement();
    a->SetInputCount(4);
    EXPECT_EQ(PinList(a), AnsiString("Out> In< In< In< In< "));
    EXPECT_EQ(a->GetHeight(), 50);
    a->SetOutputCount(2);
    EXPECT_EQ(PinList(a), AnsiString("In< In< In< In< Out> Out> "));
    EXPECT_EQ(a->GetOutput(1)->OffsetX(), 50);
    EXPECT_EQ(a->GetInput(4), nullptr);
    EXPECT_EQ(a->GetInput(-1), nullptr);
    EXPECT_EQ(a->GetOutput(2), nullptr);
    EXPECT_EQ(a->Pin(6), nullptr);
    EXPECT_EQ(a->Pin(-1), nullptr);
    a->DeletePin(6);
    a->DeletePin(-1);
    EXPECT_EQ(a->PinCount(), 6);
    a->DeletePin(0);
    EXPECT_EQ(a->PinCount(), 5);
    EXPECT_EQ(a->GetHeight(), 40); // 10 + 10 x max(3, 2)
    // Walking the pins: null at the end, also when asked again.
    int n = 0;
    for (TInOut* p = a->FirstPin(); p; p = a->NextPin())
        ++n;
    EXPECT_EQ(n, 5);
    EXPECT_EQ(a->NextPin(), nullptr);
    TInOut* added = a->AddPin();
    EXPECT_EQ(added->Direction(), 0);
    EXPECT_EQ(added->OffsetY(), 40);
    // A commutator's pins from 2 x count + 1.
    auto* c = s.CreateCommutatorElement();
    c->SetPinCount(2 * 3 + 1);
    EXPECT_EQ(c->InputCount(), 7);
    EXPECT_EQ(c->OutputCount(), 3);
    c->SetPinCount(0);
    EXPECT_EQ(c->OutputCount(), 1);
    EXPECT_EQ(PinList(c), AnsiString("A0< B0< S< 0> "));
}

std::string RecordOf(const TEntity& e) {
    ByteWriter w;
    WriteEntityRecord(w, e);
    return w.Take();
}

// Each kind with its own data set away from the defaults; the copy made
// through the record must write the same record again and hold the data.
TEST(Records, EveryKindSurvivesARoundTrip) {
    TScheme s;
    std::vector<std::function<TEntity*()>> makers = {
        [&] { auto* e = s.CreateAndElement(); e->SetInputCount(5); return e; },
        [&] { return s.CreateOrElement(); },
        [&] { return s.CreateXorElement(); },
        [&] { return s.CreateTriggerElement(); },
        [&] { auto* e = s.CreateTimerElement(); e->SetDelay(12345); return e; },
        [&] { auto* e = s.CreatePredTimerElement(4); e->SetDelay(-7); return e; },
        [&] { return s.CreateDTriggerElement(); },
        [&] { auto* e = s.CreateCounterElement(); e->SetOutputCount(7); return e; },
        [&] { return s.CreateDecoderElement(); },
        [&] { return s.CreateDRSTriggerElement(); },
        [&] { return s.CreateD8TriggerElement(); },
        [&] { return s.CreateD8RSCounterElement(); },
        [&] { return s.CreateByteCompareElement(); },
        [&] { return s.CreateReverCounterElement(); },
        [&] {
            auto* e = s.CreateCaseElement(3);
            e->Options.SetCount(3);
            e->Options.Rows() = {{1, 2}, {-3, 4}, {65535, 0x7FFFFFFF}};
            e->Options.Default = 9;
            e->DefaultOutput = 11;
            return e;
        },
        [&] { auto* e = s.CreateCase16Element(16); e->Options.Default = -1; return e; },
        [&] {
            auto* e = s.CreateCaseMaskElement(2);
            e->Masks.SetCount(2);
            e->Masks.Rows()[1] = {5, 0xF0, 6};
            e->Options.SetCount(1);
            return e;
        },
        [&] { auto* e = s.CreateCaseDiapElement(6); e->Options.Rows() = {{10, 5}}; return e; },
        [&] { auto* e = s.CreateCommutatorElement(); e->SetPinCount(11); return e; },
        [&] { return s.CreateFilterElement(); },
        [&] {
            auto* e = s.CreateGotoElement();
            e->TargetScheme = "другая.tvs"_a;
            e->GotoElement = true;
            e->TargetElement = "E7";
            return e;
        },
        [&] { auto* e = s.CreateSymbol(); e->SetFileName("sym/part.tvy"); return e; },
        [&] { auto* e = s.CreateFSM(); e->SetFileName("dir/lift.fsm"); return e; },
        [&] {
            auto* e = s.CreateDriver();
            e->SetBitNumber(7);
            e->SetDriverName("OUT1");
            e->SetComment("лампа"_a);
            e->SetMirrored(true);
            return e;
        },
        [&] { auto* e = s.CreateVarDriver(); e->SetComment("общий"_a); return e; },
        [&] { auto* e = s.CreateWire(10, 20, 10, 90); e->SetChain("НАСОС"_a, 0); return e; },
        [&] { auto* e = new TElement(&s, "delay"); s.AddObject(e); return e; },
    };
    int n = 0;
    for (auto& make : makers) {
        TEntity* e = make();
        ++n;
        e->SetName("Имя"_a + IntToStr(n));
        if (!e->IsLink()) {
            e->SetX(30 + n);
            e->SetY(-40 - n);
            auto* el = static_cast<TElement*>(e);
            el->AssignNumber(100 + n);
            if (el->PinCount() > 0) {
                el->Pin(0)->SetInverse(true);
                el->Pin(0)->SetName("P"_a + IntToStr(n));
            }
        }
        std::string bytes = RecordOf(*e);
        ASSERT_EQ(uint8_t(bytes[0]), uint8_t(e->Kind()));
        std::unique_ptr<TEntity> copy = CloneEntity(*e, nullptr);
        ASSERT_TRUE(copy) << n;
        EXPECT_EQ(copy->Kind(), e->Kind());
        EXPECT_EQ(RecordOf(*copy), bytes) << e->Label().c_str();
        EXPECT_EQ(copy->Name(), e->Name());
        EXPECT_EQ(copy->Label(), e->Label());
        EXPECT_EQ(copy->GetX(), e->GetX());
        EXPECT_EQ(copy->GetY(), e->GetY());
        if (auto* el = dynamic_cast<TElement*>(copy.get())) {
            auto* orig = static_cast<TElement*>(e);
            EXPECT_EQ(PinList(el), PinList(orig));
            EXPECT_EQ(el->Number(), orig->Number());
            EXPECT_EQ(el->GetHeight(), orig->GetHeight());
        }
    }
    // A few fields checked by name after their copy.
    auto* timer = s.CreateTimerElement();
    timer->SetDelay(777);
    EXPECT_EQ(static_cast<TTimerElement*>(CloneEntity(*timer, nullptr).get())->Delay(), 777);
    auto* go = s.CreateGotoElement();
    go->TargetScheme = "b.tvs";
    go->GotoElement = true;
    go->TargetElement = "Z";
    auto goCopy = CloneEntity(*go, nullptr);
    auto* g = static_cast<TGotoElement*>(goCopy.get());
    EXPECT_EQ(g->TargetScheme, AnsiString("b.tvs"));
    EXPECT_TRUE(g->GotoElement);
    EXPECT_EQ(g->TargetElement, AnsiString("Z"));
    auto* mask = s.CreateCaseMaskElement(1);
    mask->Masks.SetCount(1);
    mask->Masks.Rows()[0] = {3, 7, 9};
    mask->Options.Default = 4;
    auto maskCopy = CloneEntity(*mask, nullptr);
    auto* m = static_cast<TCaseMaskElement*>(maskCopy.get());
    ASSERT_EQ(m->Masks.Count(), 1);
    EXPECT_EQ(m->Masks.Rows()[0].Mask, 7);
    EXPECT_EQ(m->Options.Default, 4);
    auto* drv = s.CreateDriver();
    drv->SetMirrored(true);
    auto drvCopy = CloneEntity(*drv, nullptr);
    EXPECT_TRUE(drvCopy->Mirrored());
    EXPECT_EQ(static_cast<TDriver*>(drvCopy.get())->Terminal()->OffsetX(), -10);
    auto* sym = s.CreateSymbol();
    sym->SetFileName("x/y.tvy");
    EXPECT_EQ(static_cast<TSymbol*>(CloneEntity(*sym, nullptr).get())->FileName(), AnsiString("x/y.tvy"));
    auto* fsm = s.CreateFSM();
    fsm->SetFileName("/a/b/c.fsm");
    EXPECT_EQ(static_cast<TFSM*>(CloneEntity(*fsm, nullptr).get())->FileName(), AnsiString("c.fsm"));
}

// A record taken apart at every length, with its length field told the truth
// or not: always refused with EReadError, never read past its end.
TEST(Records, DamagedRecordsAreRefused) {
    TScheme s;
    auto* e = s.CreateCaseMaskElement(4);
    e->Masks.SetCount(3);
    e->Options.SetCount(2);
    std::string good = RecordOf(*e);
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        ByteReader r(std::string_view(good).substr(0, cut));
        EXPECT_THROW(ReadEntityRecord(r, nullptr), EReadError) << cut;
        // The length field rewritten to fit the shorter body.
        if (cut >= 5) {
            std::string shorter = good.substr(0, cut);
            uint32_t len = uint32_t(cut - 5);
            for (int i = 0; i < 4; ++i)
                shorter[std::size_t(1 + i)] = char(len >> (8 * i));
            ByteReader r2(shorter);
            EXPECT_THROW(ReadEntityRecord(r2, nullptr), EReadError) << cut;
        }
    }
    struct Damage {
        const char* what;
        std::function<void(std::string&)> apply;
    };
    auto patch32 = [](std::string& b, std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = char(v >> (8 * i));
    };
    // Offsets in the record: tag 0, length 1, name length 5, name, mirror, x, y,
    // number, width, height, pin count.
    std::size_t nameLen = uint8_t(good[5]) | uint8_t(good[6]) << 8;
    std::size_t pinCountAt = 7 + nameLen + 1 + 4 * 5;
    std::vector<Damage> damages = {
        {"unknown tag", [](std::string& b) { b[0] = char(99); }},
        {"stored kinds only", [](std::string& b) { b[0] = char(uint8_t(TEntityKind::Point)); }},
        {"length past the end", [&](std::string& b) { patch32(b, 1, uint32_t(b.size())); }},
        {"bytes after the fields", [&](std::string& b) {
             b += "xx";
             patch32(b, 1, uint32_t(b.size() - 5));
         }},
        {"huge pin count", [&](std::string& b) {
             b[pinCountAt] = char(0xFF);
             b[pinCountAt + 1] = char(0xFF);
         }},
        {"huge string", [&](std::string& b) {
             b[5] = char(0xFF);
             b[6] = char(0xFF);
         }},
        {"huge row count", [&](std::string& b) { patch32(b, b.size() - 4 - 36, 0x7FFFFFFF); }},
        {"row count beyond the bytes", [&](std::string& b) { patch32(b, b.size() - 4 - 36 - 28, 1000); }},
        {"negative width", [&](std::string& b) { patch32(b, pinCountAt - 8, 0xFFFFFFFF); }},
        {"pin direction 2", [&](std::string& b) {
             std::size_t first = pinCountAt + 2;
             std::size_t len = uint8_t(b[first]) | uint8_t(b[first + 1]) << 8;
             b[first + 2 + len] = 2;
         }},
    };
    for (const Damage& d : damages) {
        std::string bad = good;
        d.apply(bad);
        ByteReader r(bad);
        EXPECT_THROW(ReadEntityRecord(r, nullptr), EReadError) << d.what;
    }
    // The undamaged record still reads.
    ByteReader r(good);
    EXPECT_NO_THROW(ReadEntityRecord(r, nullptr));
}

TEST(Records, OptionListsKeepACursor) {
    TOptionsList list;
    EXPECT_FALSE(list.First());
    EXPECT_EQ(list.GetInput(), 0);
    list.SetInput(5); // off the rows: nothing happens
    list.SetCount(2);
    ASSERT_TRUE(list.First());
    list.SetInput(1);
    list.SetOutput(2);
    ASSERT_TRUE(list.Next());
    list.SetInput(3);
    EXPECT_FALSE(list.Next());
    EXPECT_FALSE(list.Next());
    EXPECT_EQ(list.GetOutput(), 0);
    list.SetCount(1);
    EXPECT_EQ(list.GetInput(), 1);
    list.SetCount(-4);
    EXPECT_EQ(list.Count(), 0);
    TOptionsMaskList masks;
    masks.SetCount(2);
    masks.First();
    EXPECT_EQ(masks.GetMask(), 65535);
    masks.SetMask(15);
    masks.Next();
    EXPECT_EQ(masks.GetMask(), 65535);
    masks.First();
    EXPECT_EQ(masks.GetMask(), 15);
}

} // namespace
