#include <gtest/gtest.h>

#include "common/Printers.h"

#include <map>

#include "controls/Placemnt.h"
#include "controls/Strutils.h"

namespace {

// The section a form storage writes stored values into.
struct Section : IStoredValuesStorage {
    std::map<std::string, AnsiString> values;
    int changes = 0;
    AnsiString ReadString(const AnsiString& ident, const AnsiString& def) override {
        auto it = values.find(ident.str());
        return it == values.end() ? def : it->second;
    }
    void WriteString(const AnsiString& ident, const AnsiString& value) override { values[ident.str()] = value; }
    void StoredValueChanged() override { ++changes; }
};

struct StoredValues : ::testing::Test {
    Section section;
    TStoredValues values{nullptr, &section};
};

TEST_F(StoredValues, PlainAndScrambledValuesRoundTrip) {
    values.SetStoredValue("MWCol1Width", 80);
    values.SetStoredValue("DoTextLogicFile", true);
    values.GetValue("DoTextLogicFile")->KeyString = "k1";
    values.SetStoredValue("Name", "Схема"_a);
    values.GetValue("Name")->KeyString = "секрет"_a;
    values.SaveValues();
    EXPECT_EQ(section.values["MWCol1Width"], AnsiString("80")); // no key string: plain text
    EXPECT_EQ(section.values["DoTextLogicFile"], XorEncode("k1", "True"));
    EXPECT_EQ(section.values["Name"], XorEncode("секрет"_a, "Схема"_a));

    TStoredValues again(nullptr, &section);
    for (auto [name, key] : {std::pair<const char*, AnsiString>{"MWCol1Width", ""}, {"DoTextLogicFile", "k1"},
                             {"Name", "секрет"_a}}) {
        again.SetStoredValue(name, Variant());
        again.GetValue(name)->KeyString = key;
    }
    again.RestoreValues();
    // A restored value is text; the typed reads convert it.
    EXPECT_EQ(again.GetStoredValue("MWCol1Width").VarType(), varString);
    EXPECT_EQ(again.GetStoredValue("MWCol1Width").AsString(), AnsiString("80"));
    EXPECT_EQ(again.GetStoredValue("MWCol1Width", 70).AsInteger(), 80);
    EXPECT_TRUE(again.GetStoredValue("DoTextLogicFile", false).AsBoolean());
    EXPECT_EQ(again.GetStoredValue("Name").AsString(), "Схема"_a);
}

TEST_F(StoredValues, TypedReadsGiveTheDefaultForAbsentOrDamagedValues) {
    // Nothing stored: the restore reads the (empty) default text.
    values.SetStoredValue("MWCol2Width", Variant());
    values.SetStoredValue("CheckBit", Variant());
    values.RestoreValues();
    EXPECT_EQ(values.GetStoredValue("MWCol2Width", 70).AsInteger(), 70);
    EXPECT_FALSE(values.GetStoredValue("CheckBit", false).AsBoolean());
    EXPECT_EQ(values.GetStoredValue("NotThere", 5).AsInteger(), 5);
    EXPECT_TRUE(values.GetStoredValue("NotThere").IsNull());
    section.values["MWCol2Width"] = "wide";
    section.values["CheckBit"] = "perhaps";
    values.RestoreValues();
    EXPECT_EQ(values.GetStoredValue("MWCol2Width", 70).AsInteger(), 70);
    EXPECT_TRUE(values.GetStoredValue("CheckBit", true).AsBoolean());
}

TEST_F(StoredValues, FlagsReadAsWordsAndNumbers) {
    struct Case {
        const char* text;
        bool value;
    } cases[] = {{"True", true}, {"False", false}, {"true", true}, {"-1", true}, {"1", true}, {"0", false}};
    values.SetStoredValue("SortBits", Variant());
    for (const Case& c : cases) {
        section.values["SortBits"] = c.text;
        values.RestoreValues();
        EXPECT_EQ(values.GetStoredValue("SortBits", !c.value).AsBoolean(), c.value) << c.text;
    }
    values.SetStoredValue("SortBits", false);
    values.SaveValues();
    EXPECT_EQ(section.values["SortBits"], AnsiString("False"));
}

TEST_F(StoredValues, NamesAreUniqueIgnoringCase) {
    values.SetStoredValue("SortDr", 0);
    values.SetStoredValue("sortdr", -1); // the same item
    ASSERT_EQ(values.Count(), 1);
    EXPECT_EQ(values.GetStoredValue("SORTDR").AsInteger(), -1);
    TStoredValue* other = values.Add();
    other->SetName("Other");
    try {
        other->SetName("SORTDR");
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, AnsiString("String list does not allow duplicates"));
    }
    EXPECT_EQ(other->Name(), AnsiString("Other"));
    other->SetName("OTHER"); // its own name in another case is fine
    EXPECT_EQ(other->DisplayName(), AnsiString("OTHER"));
    EXPECT_EQ(values.IndexOf("other"), 1);
}

TEST_F(StoredValues, EventsAssignAndChangeNotices) {
    values.SetStoredValue("A", 1);
    int before = section.changes;
    values.SetStoredValue("A", 2);
    EXPECT_EQ(section.changes, before + 1);
    TStoredValue* a = values.GetValue("A");
    a->OnSave = [](TStoredValue*, Variant& v) { v = Variant(v.AsInteger() * 10); };
    a->OnRestore = [](TStoredValue*, Variant& v) { v = Variant(v.AsString() + "!"); };
    values.SaveValues();
    EXPECT_EQ(section.values["A"], AnsiString("20"));
    int changesBeforeRestore = section.changes;
    values.RestoreValues();
    EXPECT_EQ(values.GetStoredValue("A").AsString(), AnsiString("20!"));
    EXPECT_EQ(section.changes, changesBeforeRestore); // restoring is not a change to save
    TStoredValues other(nullptr, nullptr);
    TStoredValue* b = other.Add();
    b->Assign(a);
    EXPECT_EQ(b->Name(), AnsiString("A"));
    EXPECT_EQ(b->Value().AsString(), AnsiString("20!"));
    b->Clear();
    EXPECT_TRUE(b->Value().IsEmpty());
    values.SetValue("A", b);
    EXPECT_TRUE(a->Value().IsEmpty());
    // Assigning an item to another of the same collection would duplicate the name.
    TStoredValue* c = values.Add();
    EXPECT_THROW(c->Assign(a), EStringListError);
    EXPECT_THROW(values.Items(5), EListError);
}

} // namespace
