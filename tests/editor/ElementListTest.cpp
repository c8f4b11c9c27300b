// The element list: its entries in either mode, the pin grid, selecting,
// renumbering and printing the chosen elements.
#include "editor/SchemeWindowTest.h"

#include "editor/ListElement.h"
#include "platform/gui/Dialogs.h"

namespace {

class ElementList : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        SeedSignals();
        ListElementDlg = MakeForm<TListElementDlg>();
        Doc()->SetFileName(dir.File("pump.tvs"));
    }
    TListElementDlg* D() const { return ListElementDlg; }
    TElement* Named(const AnsiString& name, int x, int y, int number) {
        TElement* e = Device(x, y);
        e->SetName(name);
        e->AssignNumber(number);
        return e;
    }
    std::vector<AnsiString> Entries() const {
        std::vector<AnsiString> v;
        for (int i = 0; i < D()->ListElementBox->Items()->Count(); ++i) v.push_back(D()->ListElementBox->Items()->Get(i));
        return v;
    }
    std::vector<std::vector<AnsiString>> Grid() const {
        std::vector<std::vector<AnsiString>> rows;
        for (int r = 0; r < D()->SG->RowCount(); ++r) {
            std::vector<AnsiString> row;
            for (int c = 0; c < D()->SG->ColCount(); ++c) row.push_back(D()->SG->Cells(c, r));
            rows.push_back(row);
        }
        return rows;
    }
    void Choose(std::initializer_list<int> entries) {
        for (int i = 0; i < D()->ListElementBox->Items()->Count(); ++i) D()->ListElementBox->SetSelected(i, false);
        for (int i : entries) D()->ListElementBox->SetSelected(i, true);
        D()->ListElementBox->SetItemIndex(*entries.begin());
        D()->ListElementBoxClick(D()->ListElementBox);
    }
    void Mode(int mode) {
        D()->ComboBox1->SetItemIndex(mode);
        D()->FormActivate(D()->ComboBox1);
    }
};

using Rows = std::vector<std::vector<AnsiString>>;

TEST_F(ElementList, ElementsInNumberOrderOnlyWhenTheNumbersHaveNoGap) {
    struct Case {
        std::vector<int> numbers;
        std::vector<AnsiString> entries;
    };
    const Case cases[] = {
        {{2, 1, 3}, {"A - 1", "B - 2", "C - 3"}},
        {{2, 1, 4}, {"B - 2", "A - 1", "C - 4"}}, // a gap
        {{2, 1, 1}, {"B - 2", "A - 1", "C - 1"}}, // a number used twice
        {{2, 0, 1}, {"B - 2", "A - 0", "C - 1"}}, // a 0
    };
    TElement* b = Named("B", 100, 100, 0);
    TElement* a = Named("A", 200, 100, 0);
    TElement* c = Named("C", 300, 100, 0);
    for (const Case& k : cases) {
        b->AssignNumber(k.numbers[0]);
        a->AssignNumber(k.numbers[1]);
        c->AssignNumber(k.numbers[2]);
        D()->FormActivate(D());
        EXPECT_EQ(Entries(), k.entries);
    }
    // "Сортировать": numbers by names.
    D()->SortirClick(D()->Sortir);
    EXPECT_EQ(Entries(), (std::vector<AnsiString>{"A - 1", "B - 2", "C - 3"}));
    EXPECT_TRUE(Doc()->IsModified());
    c->SetName("A");
    D()->SortirClick(D()->Sortir);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{
                                   " В схеме "_a + dir.File("pump.tvs") + " обнаружено более одного элемента с именем A и номером 3"_a,
                                   " Схема "_a + dir.File("pump.tvs") + " не упорядочена"_a}));
    EXPECT_EQ(Entries(), (std::vector<AnsiString>{"A - 1", "B - 2", "A - 3"}));
}

TEST_F(ElementList, DriverPinsOncePerNameAndSortingOnlyForElements) {
    Pin("X1", 100, 300);
    Pin("Y1", 200, 300);
    Pin("X1", 300, 300);
    TVarDriver* k = Doc()->CreateVarDriver();
    k->SetName("K");
    Named("A", 100, 100, 1);
    Mode(1);
    EXPECT_EQ(Entries(), (std::vector<AnsiString>{"X1", "Y1", "K"}));
    EXPECT_FALSE(D()->Sortir->Visible());
    Choose({1});
    EXPECT_EQ(Grid(), (Rows{{"Имя дрв"_a, "Тип дрв"_a, "Бит"_a}, {"Y1", "D2", "0"}}));
    Choose({0, 2});
    EXPECT_EQ(Grid(), (Rows{{"Имя дрв"_a, "Тип дрв"_a, "Бит"_a}, {"K", "var", "0"}})) << "the last one chosen";
    Mode(0);
    EXPECT_EQ(Entries(), (std::vector<AnsiString>{"A - 1"}));
    EXPECT_TRUE(D()->Sortir->Visible());
    EXPECT_EQ(D()->SG->RowCount(), 1) << "the grid is cut to its header";
}

TEST_F(ElementList, ThePinGridShowsTheDriverOfEachPinsNet) {
    TElement* e = Doc()->CreateOrElement();
    e->SetName("A B"); // a name with a blank works
    e->SetX(200);
    e->SetY(100);
    e->AssignNumber(1);
    e->Show();
    e->Pin(1)->SetInverse(true);
    TDriver* x1 = Pin("X1", e->Pin(1)->TipX() - TDriver::kWidth - 10, e->Pin(1)->TipY() - 10);
    Doc()->AttachElement(x1);
    TElement* g = Named("G", 40, 300, 2);
    Doc()->CreateWire(g->Pin(0)->TipX(), g->Pin(0)->TipY(), e->Pin(2)->TipX(), e->Pin(2)->TipY());
    D()->FormActivate(D());
    ASSERT_EQ(Entries(), (std::vector<AnsiString>{"A B - 1", "G - 2"}));
    Choose({0});
    EXPECT_EQ(Grid(), (Rows{{"Имя"_a, "Тип"_a, "Инв"_a, "Имя дрв"_a, "Тип дрв"_a, "Бит"_a},
                            {"Out", "Выход"_a, "Нет"_a, "Нет"_a, "Нет"_a, "Нет"_a},  // joined to nothing
                            {"In", "Вход"_a, "Да"_a, "X1", "D1", "2"},               // joined to X1
                            {"In", "Вход"_a, "Нет"_a, "", "var", "Нет"_a}}));        // joined to G only
    // "Выделить": the element, alone.
    Doc()->AddToSelection(g, true);
    D()->Button1Click(D()->Button1);
    ASSERT_EQ(Doc()->Selection().size(), 1u);
    EXPECT_EQ(Doc()->Selection()[0], e);
}

TEST_F(ElementList, TheCaptionNamesTheSchemeOnceAndTheDialogClosesWithoutAScheme) {
    D()->Show();
    D()->FormActivate(D());
    D()->FormActivate(D()->ComboBox1);
    EXPECT_EQ(D()->Caption(), "Список элементов в схеме   pump.tvs"_a);
    D()->FormDeactivate(D());
    EXPECT_EQ(D()->Caption(), "Список элементов в схеме "_a);
    window->Close();
    Application->ProcessMessages();
    Forget(window);
    D()->FormActivate(D());
    EXPECT_FALSE(D()->Visible()) << "no scheme window in front";
    EXPECT_TRUE(Entries().empty());
}

class ElementPrint : public ElementList {
protected:
    void SetUp() override {
        ElementList::SetUp();
        auto backend = std::make_unique<TestPrinterBackend>(72, TSize(595, 842));
        pages = backend.get();
        previous = Printer()->SetBackend(std::move(backend));
    }
    void TearDown() override {
        Printer()->SetBackend(std::move(previous));
        ElementList::TearDown();
    }
    // The texts of each page of the first document.
    std::vector<std::vector<std::string>> Pages() const {
        std::vector<std::vector<std::string>> v;
        for (const auto& t : pages->Documents.at(0).texts) {
            if (int(v.size()) <= t.page) v.resize(std::size_t(t.page) + 1);
            v[std::size_t(t.page)].push_back(AnsiToUtf8(t.text));
        }
        return v;
    }
    TestPrinterBackend* pages = nullptr;
    std::unique_ptr<IPrinterBackend> previous;
};

const std::vector<std::string> kHeader = {"Елементы", "Имя", "Тип", "Инв.", "Имя выв.", "Имя дрв.", "Бит"};

TEST_F(ElementPrint, ADeviceLongerThanAPageGoesOnUnderTheHeaderOfTheNext) {
    TElement* e = Doc()->CreateOrElement();
    e->SetName("Long");
    e->SetInputCount(120);
    Printer()->BeginDoc();
    window->PrintElements();
    Printer()->EndDoc();
    const auto& doc = pages->Documents.at(0);
    ASSERT_GE(doc.pages.size(), 2u);
    const auto got = Pages();
    int pins = 0;
    for (std::size_t p = 0; p < got.size(); ++p) {
        ASSERT_GE(got[p].size(), kHeader.size());
        EXPECT_EQ(std::vector<std::string>(got[p].begin(), got[p].begin() + 7), kHeader) << "page " << p;
        for (const auto& t : got[p]) pins += t == "Вход" || t == "Выход";
    }
    EXPECT_EQ(pins, 121);
    for (const auto& t : doc.texts) EXPECT_LE(t.box.Bottom, 842) << AnsiToUtf8(t.text) << " on page " << t.page;
    // Rows under a page's header never overlap it.
    for (std::size_t p = 1; p < got.size(); ++p) {
        int headerBottom = 0, firstRow = 1 << 30;
        for (const auto& t : doc.texts) {
            if (t.page != int(p)) continue;
            if (AnsiToUtf8(t.text) == "Бит" && t.box.Left == 6 * (595 / 7) && headerBottom == 0) headerBottom = t.box.Bottom;
            else if (headerBottom) firstRow = std::min(firstRow, t.box.Top);
        }
        EXPECT_GE(firstRow, headerBottom) << "page " << p;
    }
}

TEST_F(ElementPrint, TheChosenElementsOfEveryOpenSchemeEachCopyOnItsOwnPages) {
    Named("A", 100, 100, 1);
    Named("B", 200, 100, 2);
    TMDIChild* other = OpenWindow();
    TElement* a2 = other->Scheme->CreateAndElement();
    a2->SetName("A");
    window->BringToFront();
    Application->ProcessMessages();
    D()->FormActivate(D());
    ASSERT_EQ(Entries(), (std::vector<AnsiString>{"A - 1", "B - 2"}));
    Choose({0});
    int shown = 0;
    port.OnPrintDialog = [&](PrintDialogRequest& r) {
        ++shown;
        r.Copies = 2;
        return true;
    };
    D()->Button4Click(D()->Button4);
    ASSERT_EQ(pages->Documents.size(), 1u);
    EXPECT_EQ(pages->Documents[0].title, "Печать элементов схемы"_a);
    auto device = [](const char* name) {
        return std::vector<std::string>{name, "and", "Out", "Выход", "Нет", "Нет", "Нет", "Нет",
                                        "In",  "Вход", "Нет", "Нет", "Нет", "Нет", "In",  "Вход", "Нет", "Нет", "Нет", "Нет"};
    };
    std::vector<std::string> copy = kHeader;
    for (int i = 0; i < 2; ++i) {
        auto rows = device("A");
        copy.insert(copy.end(), rows.begin(), rows.end());
    }
    EXPECT_EQ(Pages(), (std::vector<std::vector<std::string>>{copy, copy}));
    // Driver pins print the header alone; a cancelled dialog prints nothing.
    Mode(1);
    D()->Button4Click(D()->Button4);
    EXPECT_EQ(pages->Documents.size(), 2u);
    port.OnPrintDialog = [](PrintDialogRequest&) { return false; };
    D()->Button4Click(D()->Button4);
    EXPECT_EQ(pages->Documents.size(), 2u);
    EXPECT_EQ(shown, 2);
}

} // namespace
