#include <gtest/gtest.h>

#include "common/Printers.h"

#include <map>

#include "controls/Collection.h"
#include "controls/Exprops.h"

namespace {

enum TKindForTest { bkStandard, bkDiagonal };

class TSizeHolder : public TPersistent {
public:
    int Cx = 0;
    int Cy = 0;
};

class TPoint2Item : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int X = 0;
    AnsiString Label;
};

// A component with one property of every kind the storage handles.
class TSample : public TComponent {
public:
    explicit TSample(TComponent* owner) : TComponent(owner), Points([](TCollection* c) { return new TPoint2Item(c); }) {}
    int Number = 0;
    long long Big = 0;
    char Letter = 'a';
    bool Flag = false;
    TKindForTest Kind = bkStandard;
    double Ratio = 0;
    AnsiString Text;
    Variant Any;
    unsigned Styles = 0;
    TStringList Lines;
    TCollection Points;
    TSizeHolder Size;
    TComponent* Buddy = nullptr;
};

// The store the callbacks write into: (section, key) -> text, erasures counted.
struct MemoryStore {
    std::map<std::pair<std::string, std::string>, AnsiString> values;
    std::vector<std::string> erased;
    void Bind(TPropsStorage& s) {
        s.OnReadString = [this](const AnsiString& sec, const AnsiString& key, const AnsiString& def) {
            auto it = values.find({sec.str(), key.str()});
            return it == values.end() ? def : it->second;
        };
        s.OnWriteString = [this](const AnsiString& sec, const AnsiString& key, const AnsiString& v) {
            values[{sec.str(), key.str()}] = v;
        };
        s.OnEraseSection = [this](const AnsiString& sec) {
            erased.push_back(sec.str());
            for (auto it = values.begin(); it != values.end();)
                it = it->first.first == sec.str() ? values.erase(it) : std::next(it);
        };
    }
    AnsiString Get(const char* sec, const char* key) const {
        auto it = values.find({sec, key});
        return it == values.end() ? AnsiString("<none>") : it->second;
    }
};

void PublishSample() {
    static bool done = false;
    if (done) return;
    done = true;
    TPropInfo big;
    big.Name = "Big";
    big.Kind = tkInt64;
    big.TypeName = "Int64";
    big.GetOrd = [](TObject* o) { return dynamic_cast<TSample*>(o)->Big; };
    big.SetOrd = [](TObject* o, long long v) { dynamic_cast<TSample*>(o)->Big = v; };
    TPropInfo letter;
    letter.Name = "Letter";
    letter.Kind = tkChar;
    letter.GetOrd = [](TObject* o) { return (long long)(unsigned char)dynamic_cast<TSample*>(o)->Letter; };
    letter.SetOrd = [](TObject* o, long long v) { dynamic_cast<TSample*>(o)->Letter = char(v); };
    TPropInfo kind;
    kind.Name = "Kind";
    kind.Kind = tkEnumeration;
    kind.TypeName = "TKindForTest";
    kind.Identifiers = {"bkStandard", "bkDiagonal"};
    kind.GetOrd = [](TObject* o) { return (long long)dynamic_cast<TSample*>(o)->Kind; };
    kind.SetOrd = [](TObject* o, long long v) { dynamic_cast<TSample*>(o)->Kind = TKindForTest(v); };
    TPropInfo ratio;
    ratio.Name = "Ratio";
    ratio.Kind = tkFloat;
    ratio.GetFloat = [](TObject* o) { return dynamic_cast<TSample*>(o)->Ratio; };
    ratio.SetFloat = [](TObject* o, double v) { dynamic_cast<TSample*>(o)->Ratio = v; };
    TPropInfo any;
    any.Name = "Any";
    any.Kind = tkVariant;
    any.GetVariant = [](TObject* o) { return dynamic_cast<TSample*>(o)->Any; };
    any.SetVariant = [](TObject* o, const Variant& v) { dynamic_cast<TSample*>(o)->Any = v; };
    TPropInfo styles;
    styles.Name = "Styles";
    styles.Kind = tkSet;
    styles.Identifiers = {"fsBold", "fsItalic", "fsUnderline"};
    styles.GetOrd = [](TObject* o) { return (long long)dynamic_cast<TSample*>(o)->Styles; };
    styles.SetOrd = [](TObject* o, long long v) { dynamic_cast<TSample*>(o)->Styles = unsigned(v); };
    auto object = [](const char* name, auto get) {
        TPropInfo p;
        p.Name = name;
        p.Kind = tkClass;
        p.GetObject = get;
        return p;
    };
    TPropInfo buddy = object("Buddy", [](TObject* o) -> TObject* { return dynamic_cast<TSample*>(o)->Buddy; });
    buddy.ComponentReference = true;
    buddy.SetObject = [](TObject* o, TObject* v) { dynamic_cast<TSample*>(o)->Buddy = dynamic_cast<TComponent*>(v); };
    PublishProperties<TSample>({
        IntegerProperty<TSample>("Number", [](TSample& s) { return s.Number; }, [](TSample& s, int v) { s.Number = v; }),
        big, letter,
        BooleanProperty<TSample>("Flag", [](TSample& s) { return s.Flag; }, [](TSample& s, bool v) { s.Flag = v; }),
        kind, ratio,
        StringProperty<TSample>("Text", [](TSample& s) { return s.Text; },
                                [](TSample& s, const AnsiString& v) { s.Text = v; }),
        any, styles,
        object("Lines", [](TObject* o) -> TObject* { return &dynamic_cast<TSample*>(o)->Lines; }),
        object("Points", [](TObject* o) -> TObject* { return &dynamic_cast<TSample*>(o)->Points; }),
        object("Size", [](TObject* o) -> TObject* { return &dynamic_cast<TSample*>(o)->Size; }),
        buddy,
    });
    PublishProperties<TSizeHolder>({
        IntegerProperty<TSizeHolder>("Cx", [](TSizeHolder& s) { return s.Cx; }, [](TSizeHolder& s, int v) { s.Cx = v; }),
        IntegerProperty<TSizeHolder>("Cy", [](TSizeHolder& s) { return s.Cy; }, [](TSizeHolder& s, int v) { s.Cy = v; }),
    });
    PublishProperties<TPoint2Item>({
        IntegerProperty<TPoint2Item>("X", [](TPoint2Item& s) { return s.X; }, [](TPoint2Item& s, int v) { s.X = v; }),
        StringProperty<TPoint2Item>("Label", [](TPoint2Item& s) { return s.Label; },
                                    [](TPoint2Item& s, const AnsiString& v) { s.Label = v; }),
    });
}

struct Fixture : ::testing::Test {
    void SetUp() override {
        PublishSample();
        sample->SetName("Sample1");
        buddy->SetName("Buddy1");
        store.Bind(storage);
        storage.AObject = sample;
        storage.OwnerComponent = &form;
        storage.Section = "TForm1";
        storage.Prefix = "Sample1_";
    }
    TComponent form{nullptr};
    TSample* sample = new TSample(&form);
    TComponent* buddy = new TComponent(&form);
    MemoryStore store;
    TPropsStorage storage;

    void StoreAll() {
        TPropInfoList props(sample, tkProperties);
        for (int i = 0; i < props.Count(); ++i) storage.StoreAnyProperty(props.Items(i));
    }
    void LoadAll() {
        TPropInfoList props(sample, tkProperties);
        for (int i = 0; i < props.Count(); ++i) storage.LoadAnyProperty(props.Items(i));
    }
};

TEST_F(Fixture, EveryKindIsWrittenAsItsTextAndReadBack) {
    sample->Number = -17;
    sample->Big = 1LL << 40;
    sample->Letter = 'Q';
    sample->Flag = true;
    sample->Kind = bkDiagonal;
    sample->Ratio = 1.5;
    sample->Text = "  текст  "_a;
    sample->Any = Variant(12);
    sample->Styles = 0b101;
    sample->Lines.SetText("one\ntwo");
    static_cast<TPoint2Item*>(sample->Points.Add())->X = 7;
    static_cast<TPoint2Item*>(sample->Points.Add())->Label = "b";
    sample->Size.Cx = 640;
    sample->Buddy = buddy;
    StoreAll();
    EXPECT_EQ(store.Get("TForm1", "Sample1_Number"), AnsiString("-17"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Big"), AnsiString("1099511627776"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Letter"), AnsiString("Q"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Flag"), AnsiString("True"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Kind"), AnsiString("bkDiagonal"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Ratio"), AnsiString("1.5"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Text"), "текст"_a); // trimmed
    EXPECT_EQ(store.Get("TForm1", "Sample1_Any"), AnsiString("12"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Styles"), AnsiString("[fsBold,fsUnderline]"));
    EXPECT_EQ(store.Get("TForm1.Sample1_Lines", "Count"), AnsiString("2"));
    EXPECT_EQ(store.Get("TForm1.Sample1_Lines", "Item1"), AnsiString("two"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Points.Count"), AnsiString("2"));
    EXPECT_EQ(store.Get("TForm1.Sample1_Points", "Item0_X"), AnsiString("7"));
    EXPECT_EQ(store.Get("TForm1.Sample1_Points", "Item1_Label"), AnsiString("b"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_SizeCx"), AnsiString("640"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Buddy"), AnsiString("Buddy1"));

    TSample fresh(&form);
    fresh.SetName("Sample1");
    fresh.Any = Variant(0); // an unassigned variant is not read at all
    storage.AObject = &fresh;
    sample = &fresh;
    LoadAll();
    EXPECT_EQ(fresh.Number, -17);
    EXPECT_EQ(fresh.Big, 1LL << 40);
    EXPECT_EQ(fresh.Letter, 'Q');
    EXPECT_TRUE(fresh.Flag);
    EXPECT_EQ(fresh.Kind, bkDiagonal);
    EXPECT_DOUBLE_EQ(fresh.Ratio, 1.5);
    EXPECT_EQ(fresh.Text, "текст"_a);
    EXPECT_EQ(fresh.Any.AsString(), AnsiString("12"));
    EXPECT_EQ(fresh.Styles, 0b101u);
    EXPECT_EQ(fresh.Lines.Text(), AnsiString("one\r\ntwo\r\n"));
    ASSERT_EQ(fresh.Points.Count(), 2);
    EXPECT_EQ(static_cast<TPoint2Item*>(fresh.Points.Items(0))->X, 7);
    EXPECT_EQ(static_cast<TPoint2Item*>(fresh.Points.Items(1))->Label, AnsiString("b"));
    EXPECT_EQ(fresh.Size.Cx, 640);
    EXPECT_EQ(fresh.Buddy, buddy);
}

TEST_F(Fixture, AnUnassignedVariantIsNotRead) {
    store.values[{"TForm1", "Sample1_Any"}] = "stored";
    LoadAll();
    EXPECT_EQ(sample->Any.VarType(), varString);
    EXPECT_EQ(sample->Any.AsString(), AnsiString());
    sample->Any = Variant(1);
    LoadAll();
    EXPECT_EQ(sample->Any.AsString(), AnsiString("stored"));
}

TEST_F(Fixture, EmptyListsSetsAndNullReferences) {
    StoreAll();
    EXPECT_EQ(store.Get("TForm1.Sample1_Lines", "Count"), AnsiString("<none>")); // empty list: no count
    EXPECT_EQ(store.Get("TForm1", "Sample1_Styles"), AnsiString("[]"));
    EXPECT_EQ(store.Get("TForm1", "Sample1_Text"), AnsiString()); // strings are written also when empty
    EXPECT_EQ(store.Get("TForm1", "Sample1_Buddy"), AnsiString("(null)"));
    sample->Lines.Add("kept");
    sample->Styles = 3;
    sample->Buddy = buddy;
    LoadAll();
    EXPECT_EQ(sample->Lines.Count(), 1); // an erased list leaves the list as it is
    EXPECT_EQ(sample->Styles, 0u);
    EXPECT_EQ(sample->Buddy, nullptr);
}

TEST_F(Fixture, LoadingAcceptsAnyLetterCase) {
    store.values[{"TForm1", "Sample1_Flag"}] = "true";
    store.values[{"TForm1", "Sample1_Kind"}] = "BKDIAGONAL";
    store.values[{"TForm1", "Sample1_Styles"}] = "[ FSITALIC , fsbold ]";
    store.values[{"TForm1", "Sample1_Buddy"}] = "(NULL)";
    sample->Buddy = buddy;
    LoadAll();
    EXPECT_TRUE(sample->Flag);
    EXPECT_EQ(sample->Kind, bkDiagonal);
    EXPECT_EQ(sample->Styles, 3u);
    EXPECT_EQ(sample->Buddy, nullptr);
}

TEST_F(Fixture, DamagedTextsLeaveThePropertiesUnchanged) {
    sample->Number = 5;
    sample->Big = 6;
    sample->Flag = true;
    sample->Kind = bkDiagonal;
    sample->Ratio = 2.5;
    sample->Styles = 1;
    sample->Letter = 'z';
    sample->Buddy = buddy;
    sample->Lines.Add("old");
    static_cast<TPoint2Item*>(sample->Points.Add())->X = 3;
    for (auto [key, text] : std::initializer_list<std::pair<const char*, const char*>>{
             {"Sample1_Number", "12x"},
             {"Sample1_Big", "99999999999999999999999"},
             {"Sample1_Flag", "maybe"},
             {"Sample1_Kind", "bkRound"},
             {"Sample1_Ratio", "1,2,3"},
             {"Sample1_Styles", "[fsBold,fsShadow]"},
             {"Sample1_Letter", ""},
             {"Sample1_Buddy", "NoSuchForm.Buddy1"},
             {"Sample1_Points.Count", "-4"}})
        store.values[{"TForm1", key}] = text;
    store.values[{"TForm1.Sample1_Lines", "Count"}] = "1000000000";
    LoadAll();
    EXPECT_EQ(sample->Number, 5);
    EXPECT_EQ(sample->Big, 6);
    EXPECT_TRUE(sample->Flag);
    EXPECT_EQ(sample->Kind, bkDiagonal);
    EXPECT_DOUBLE_EQ(sample->Ratio, 2.5);
    EXPECT_EQ(sample->Styles, 1u);
    EXPECT_EQ(sample->Letter, 'z');
    EXPECT_EQ(sample->Buddy, buddy);
    EXPECT_EQ(sample->Lines.Count(), 1);
    ASSERT_EQ(sample->Points.Count(), 1);
    EXPECT_EQ(static_cast<TPoint2Item*>(sample->Points.Items(0))->X, 3);
    // A name of a component that is not there is damaged too.
    store.values[{"TForm1", "Sample1_Buddy"}] = "Nobody";
    LoadAll();
    EXPECT_EQ(sample->Buddy, buddy);
}

// A component whose setters refuse some values: 0 is out of range (the
// program's own exception), -1 cannot be stored at all (no memory).
class TPicky : public TComponent {
public:
    using TComponent::TComponent;
    int First = 1;
    int Second = 2;
};

TEST(Exprops, ARefusedValueKeepsItsPropertyButNoMemoryIsNotSwallowed) {
    auto setter = [](int TPicky::*field) {
        return [field](TPicky& p, int v) {
            if (v == 0) throw ERangeError("Range check error");
            if (v < 0) throw std::bad_alloc();
            p.*field = v;
        };
    };
    PublishProperties<TPicky>({
        IntegerProperty<TPicky>("First", [](TPicky& p) { return p.First; }, setter(&TPicky::First)),
        IntegerProperty<TPicky>("Second", [](TPicky& p) { return p.Second; }, setter(&TPicky::Second)),
    });
    TPicky picky(nullptr);
    MemoryStore store;
    TPropsStorage storage;
    store.Bind(storage);
    storage.AObject = &picky;
    storage.Section = "S";
    TPropInfoList props(&picky, tkProperties);
    store.values = {{{"S", "First"}, "0"}, {{"S", "Second"}, "7"}};
    for (int i = 0; i < props.Count(); ++i) storage.LoadAnyProperty(props.Items(i));
    EXPECT_EQ((std::pair{picky.First, picky.Second}), (std::pair{1, 7}));
    store.values[{"S", "First"}] = "-1";
    EXPECT_THROW(storage.LoadAnyProperty(props.Find("First")), std::bad_alloc);
    EXPECT_EQ(picky.First, 1);
}

TEST_F(Fixture, ReferencesToComponentsOfOtherOwners) {
    TComponent otherForm(nullptr);
    otherForm.SetName("Form2");
    TComponent* far = new TComponent(&otherForm);
    far->SetName("Far");
    sample->Buddy = far;
    StoreAll();
    EXPECT_EQ(store.Get("TForm1", "Sample1_Buddy"), AnsiString("Form2.Far"));
    otherForm.SetName("");
    StoreAll();
    EXPECT_EQ(store.Get("TForm1", "Sample1_Buddy"), AnsiString("Component.Far")); // class name without "T"
    FindGlobalComponent = [&](const AnsiString& name) -> TComponent* {
        return SameText(name, "form2") ? &otherForm : nullptr;
    };
    sample->Buddy = nullptr;
    store.values[{"TForm1", "Sample1_Buddy"}] = " form2 . far ";
    LoadAll();
    EXPECT_EQ(sample->Buddy, far);
    FindGlobalComponent = nullptr;
}

TEST(Exprops, StoredItemsParseAndBind) {
    AnsiString comp, prop;
    EXPECT_TRUE(ParseStoredItem(" Splitter1 . Left ", comp, prop));
    EXPECT_EQ(comp, AnsiString("Splitter1"));
    EXPECT_EQ(prop, AnsiString("Left"));
    EXPECT_FALSE(ParseStoredItem("NoPoint", comp, prop));
    EXPECT_FALSE(ParseStoredItem(".Left", comp, prop));
    EXPECT_FALSE(ParseStoredItem("Splitter1. ", comp, prop));
    EXPECT_EQ(CreateStoredItem("A", "B"), AnsiString("A.B"));
    EXPECT_EQ(CreateStoredItem("", "B"), AnsiString());

    TComponent form(nullptr);
    TComponent* splitter = new TComponent(&form);
    splitter->SetName("Splitter1");
    TStringList lines;
    for (const char* l : {" Splitter1 . Left ", "Missing.Width", "garbage", "Splitter1.Top"}) lines.Add(l);
    UpdateStoredList(&form, &lines, true);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.GetObject(0), splitter);
    splitter->SetName("Splitter2");
    lines.AddObject("Unbound.Left", nullptr);
    UpdateStoredList(&form, &lines, false);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(0), AnsiString("Splitter2.Left")); // rewritten without the blanks
    EXPECT_EQ(lines.Get(1), AnsiString("Splitter2.Top"));
}

TEST_F(Fixture, StoredListsOfTheFormsComponents) {
    sample->Number = 321;
    TStringList lines;
    lines.Add("Sample1.Number");
    lines.Add("Sample1.NoSuchProperty");
    UpdateStoredList(&form, &lines, true);
    storage.StoreObjectsProps(&form, &lines);
    EXPECT_EQ(store.Get("TForm1", "Sample1_Number"), AnsiString("321"));
    EXPECT_EQ(storage.OwnerComponent, nullptr);
    sample->Number = 0;
    storage.LoadObjectsProps(&form, &lines);
    EXPECT_EQ(sample->Number, 321);
}

TEST(Exprops, PropertyListOperations) {
    PublishSample();
    TSample s(nullptr);
    TPropInfoList all(&s, tkProperties);
    TPropInfoList ints(&s, TypeKinds({tkInteger}));
    EXPECT_EQ(ints.Count(), 1);
    EXPECT_NE(all.Find("number"), nullptr);
    EXPECT_EQ(all.Find("Nothing"), nullptr);
    EXPECT_TRUE(all.Contains(ints.Items(0)));
    all.Intersect(&ints);
    ASSERT_EQ(all.Count(), 1);
    EXPECT_EQ(all.Items(0)->Name, AnsiString("Number"));
    all.Delete(0);
    EXPECT_EQ(all.Count(), 0);
    TSizeHolder size;
    EXPECT_EQ(TPropInfoList(&size, tkProperties).Count(), 2);
    EXPECT_EQ(ClassNameOf(&size), AnsiString("TSizeHolder"));
    EXPECT_EQ(ClassNameOf(nullptr), AnsiString());
}

TEST(ClassRef, NamesInstancesAndDerivation) {
    TClassRef list = ClassRefOf<TStringList>(), strings = ClassRefOf<TStrings>();
    TClassRef persistent = ClassRefOf<TPersistent>(), component = ClassRefOf<TComponent>();
    EXPECT_EQ(list.ClassName(), AnsiString("TStringList"));
    EXPECT_EQ(persistent.ClassName(), AnsiString("TPersistent"));
    struct Case { const TClassRef& cls; const TClassRef& base; bool derives; } cases[] = {
        {list, strings, true},  {list, persistent, true},  {strings, list, false},
        {list, list, true},     {component, persistent, true}, {list, component, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.cls.InheritsFrom(c.base), c.derives) << c.cls.ClassName().c_str() << " " << c.base.ClassName().c_str();
    TStringList object;
    EXPECT_TRUE(list.IsInstance(&object));
    EXPECT_TRUE(persistent.IsInstance(&object));
    EXPECT_FALSE(component.IsInstance(&object));
    EXPECT_FALSE(list.IsInstance(nullptr));
    EXPECT_TRUE(list == ClassRefOf<TStringList>());
    EXPECT_FALSE(list == strings);
}

} // namespace
