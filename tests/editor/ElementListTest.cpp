// The element list: its entries in either mode, the pin grid, selecting, renumbering; printing the chosen elements,
// or all of them from the scheme window.
#include "editor/SchemeWindowTest.h"

#include "editor/ListElement.h"
#include "platform/gui/Dialogs.h"
#include "platform/testing/TestPrinter.h"

namespace {

using Rows = std::vector<std::vector<AnsiString>>;
using Entries = std::vector<AnsiString>;
using Texts = std::vector<std::string>;

class ElementList : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        SeedSignals(), ListElementDlg = MakeForm<TListElementDlg>();
        Doc()->SetFileName(dir.File("pump.tvs"));
    }
    TListElementDlg* D() const { return ListElementDlg; }
    TElement* Named(const AnsiString& name, int x, int number) {
        TElement* e = Device(x, 100);
        return e->SetName(name), e->AssignNumber(number), e;
    }
    Entries Listed() const {
        Entries v;
        for (int i = 0; i < D()->ListElementBox->Items()->Count(); ++i) v.push_back(D()->ListElementBox->Items()->Get(i));
        return v;
    }
    Rows Grid() const {
        Rows rows(std::size_t(D()->SG->RowCount()));
        for (int r = 0; r < D()->SG->RowCount(); ++r)
            for (int c = 0; c < D()->SG->ColCount(); ++c) rows[std::size_t(r)].push_back(D()->SG->Cells(c, r));
        return rows;
    }
    void Choose(std::initializer_list<int> entries) {
        TListBox* box = D()->ListElementBox;
        for (int i = 0; i < box->Items()->Count(); ++i) box->SetSelected(i, false);
        for (int i : entries) box->SetSelected(i, true);
        box->SetItemIndex(*entries.begin()), D()->ListElementBoxClick(box);
    }
    void Mode(int mode) { D()->ComboBox1->SetItemIndex(mode), D()->FormActivate(D()->ComboBox1); }
    void PrintAll() { Printer()->BeginDoc(), window->PrintElements(), Printer()->EndDoc(); }
    // The texts of each page of the first document printed.
    std::vector<Texts> Pages() const {
        std::vector<Texts> v;
        for (const auto& t : pages->Documents.at(0).texts) {
            v.resize(std::max(v.size(), std::size_t(t.page) + 1));
            v[std::size_t(t.page)].push_back(AnsiToUtf8(t.text));
        }
        return v;
    }
    CapturedPrinter printer;
    TestPrinterBackend* const pages = printer.pages;
    const Texts header = {"Елементы", "Имя", "Тип", "Инв.", "Имя выв.", "Имя дрв.", "Бит"};
};

TEST_F(ElementList, ElementsInNumberOrderOnlyWhenTheNumbersHaveNoGapAndRenumberedByNames) {
    const std::pair<std::vector<int>, Entries> cases[] = {
        {{2, 1, 3}, {"A - 1", "B - 2", "C - 3"}},
        {{2, 1, 4}, {"B - 2", "A - 1", "C - 4"}}, // a gap: as stored
        {{2, 1, 1}, {"B - 2", "A - 1", "C - 1"}}, // a number twice
        {{2, 0, 1}, {"B - 2", "A - 0", "C - 1"}}, // a 0
    };
    TElement* e[] = {Named("B", 100, 0), Named("A", 200, 0), Named("C", 300, 0)};
    for (const auto& [numbers, entries] : cases) {
        for (int i = 0; i < 3; ++i) e[i]->AssignNumber(numbers[std::size_t(i)]);
        D()->FormActivate(D());
        EXPECT_EQ(Listed(), entries);
    }
    D()->SortirClick(D()->Sortir);
    EXPECT_EQ(std::pair(Listed(), Doc()->IsModified()), std::pair(Entries{"A - 1", "B - 2", "C - 3"}, true));
    e[2]->SetName("A"), D()->SortirClick(D()->Sortir);
    const AnsiString file = dir.File("pump.tvs");
    EXPECT_EQ(port.Messages(), (Entries{" В схеме "_a + file + " обнаружено более одного элемента с именем A и номером 3"_a,
                                        " Схема "_a + file + " не упорядочена"_a}));
    // The caption names the scheme once however often it is activated.
    D()->FormActivate(D()->ComboBox1);
    EXPECT_EQ(D()->Caption(), "Список элементов в схеме   pump.tvs"_a);
    D()->FormDeactivate(D());
    EXPECT_EQ(D()->Caption(), "Список элементов в схеме "_a);
}

TEST_F(ElementList, DriverPinsOncePerNameSortingOnlyForElementsAndClosedWithoutAScheme) {
    Pin("X1", 100, 300), Pin("Y1", 200, 300), Pin("X1", 300, 300);
    Doc()->CreateVarDriver()->SetName("K"), Named("A", 100, 1), Mode(1);
    EXPECT_EQ(std::pair(Listed(), D()->Sortir->Visible()), std::pair(Entries{"X1", "Y1", "K"}, false));
    Choose({1});
    EXPECT_EQ(Grid(), (Rows{{"Имя дрв"_a, "Тип дрв"_a, "Бит"_a}, {"Y1", "D2", "0"}}));
    Choose({0, 2});
    EXPECT_EQ(Grid(), (Rows{{"Имя дрв"_a, "Тип дрв"_a, "Бит"_a}, {"K", "var", "0"}})) << "the last one chosen";
    Mode(0);
    EXPECT_EQ(std::tuple(Listed(), D()->Sortir->Visible(), D()->SG->RowCount()), std::tuple(Entries{"A - 1"}, true, 1));
    // No scheme window in front: the list closes.
    D()->Show(), window->Close(), Application->ProcessMessages(), Forget(window), D()->FormActivate(D());
    EXPECT_FALSE(D()->Visible());
}

TEST_F(ElementList, EachPinShowsTheDriverOfItsNetInTheGridAndOnPaper) {
    // An OR with input 1 inverted and fed by the driver pin X1, input 2 by G's output only, its own output joined to
    // nothing.
    TElement* e = Shown(Doc()->CreateOrElement(), 200, 100);
    e->SetName("A B"); // a name with a blank works
    e->AssignNumber(1), e->Pin(1)->SetInverse(true);
    TDriver* x1 = Pin("X1", e->Pin(1)->TipX() - TDriver::kWidth - 10, e->Pin(1)->TipY() - 10);
    Doc()->AttachElement(x1);
    TElement* g = Named("G", 40, 2);
    Doc()->CreateWire(g->Pin(0)->TipX(), g->Pin(0)->TipY(), e->Pin(2)->TipX(), e->Pin(2)->TipY());
    ASSERT_EQ(x1->Terminal()->Net(), e->Pin(1)->Net());
    D()->FormActivate(D());
    ASSERT_EQ(Listed(), (Entries{"A B - 1", "G - 2"}));
    Choose({0});
    EXPECT_EQ(Grid(), (Rows{{"Имя"_a, "Тип"_a, "Инв"_a, "Имя дрв"_a, "Тип дрв"_a, "Бит"_a},
                            {"Out", "Выход"_a, "Нет"_a, "Нет"_a, "Нет"_a, "Нет"_a},
                            {"In", "Вход"_a, "Да"_a, "X1", "D1", "2"},
                            {"In", "Вход"_a, "Нет"_a, "", "var", "Нет"_a}}));
    Doc()->AddToSelection(g, true), D()->Button1Click(D()->Button1);
    EXPECT_EQ(Doc()->Selection(), std::vector<TEntity*>{e});
    // The window prints every element only when given the printer.
    window->PrintInfoActionExecute(window), PrintAll();
    Texts expected = header;
    expected.insert(expected.end(), {"A B", "or", "Out", "Выход", "Нет", "Нет", "Нет", "Нет", "In", "Вход", "Да", "X1",
                                     "D1", "2", "In", "Вход", "Нет", "G", "and", "Out", "Выход", "Нет", "In", "Вход",
                                     "Нет", "Нет", "Нет", "Нет", "In", "Вход", "Нет", "Нет", "Нет", "Нет"});
    EXPECT_EQ(Pages(), std::vector<Texts>{expected});
    const auto& texts = pages->Documents[0].texts;
    const int c = 595 / 7; // a seventh of the page per column
    EXPECT_EQ(std::tuple(texts[7].box.Left, texts[8].box.Left, texts[18].box.Left), std::tuple(40, 2 * c + 30, 4 * c));
}

TEST_F(ElementList, ADeviceLongerThanAPageGoesOnUnderTheHeaderOfTheNext) {
    Doc()->CreateOrElement()->SetInputCount(120), PrintAll();
    const auto got = Pages();
    ASSERT_GE(got.size(), 2u);
    int pins = 0;
    for (const auto& page : got) {
        EXPECT_EQ(Texts(page.begin(), page.begin() + 7), header);
        pins += int(std::count(page.begin(), page.end(), "Вход") + std::count(page.begin(), page.end(), "Выход"));
    }
    EXPECT_EQ(pins, 121);
    // Every row lies on its page, below the header's last row.
    int headerBottom = 0;
    for (const auto& t : pages->Documents[0].texts) {
        EXPECT_LE(t.box.Bottom, 842);
        if (t.page != 1) continue;
        if (t.text == "Бит"_a) headerBottom = t.box.Bottom;
        else EXPECT_GE(t.box.Top, headerBottom) << AnsiToUtf8(t.text);
    }
}

TEST_F(ElementList, TheChosenElementsOfEveryOpenSchemeEachCopyOnItsOwnPage) {
    Named("A", 100, 1), Named("B", 200, 2);
    OpenWindow()->Scheme->CreateAndElement()->SetName("A");
    window->BringToFront(), Application->ProcessMessages(), D()->FormActivate(D());
    Choose({0});
    port.OnPrintDialog = [&](PrintDialogRequest& r) { return r.Copies = 2, true; };
    D()->Button4Click(D()->Button4);
    ASSERT_EQ(pages->Documents.size(), 1u);
    EXPECT_EQ(pages->Documents[0].title, "Печать элементов схемы"_a);
    Texts copy = header;
    for (int i = 0; i < 2; ++i)
        for (const char* t : {"A", "and", "Out", "Выход", "Нет", "Нет", "Нет", "Нет", "In", "Вход", "Нет", "Нет", "Нет",
                              "Нет", "In", "Вход", "Нет", "Нет", "Нет", "Нет"})
            copy.push_back(t);
    EXPECT_EQ(Pages(), (std::vector<Texts>{copy, copy}));
    // Driver pins print the header alone; a cancelled dialog prints nothing.
    Mode(1), D()->Button4Click(D()->Button4);
    port.OnPrintDialog = [](PrintDialogRequest&) { return false; }, D()->Button4Click(D()->Button4);
    EXPECT_EQ(pages->Documents.size(), 2u);
}

} // namespace
