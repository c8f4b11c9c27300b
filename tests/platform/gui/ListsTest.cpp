// List views in report view, combo boxes, list boxes, radio groups and page
// controls, used the way the project pane, the search dialog, the element
// list and the option dialogs use them.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>

#include "GuiTest.h"
#include "platform/Canvas.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

class Lists : public GuiTest {
protected:
    // The project pane's file list: "Имя" and "Путь", one row per file.
    TListView* FileList(TForm* f, const std::vector<std::pair<const char*, const char*>>& rows) {
        auto* lv = NewControl<TListView>(f, f, "FileListBox");
        lv->SetBounds(0, 0, 300, 200);
        lv->Columns()->Add()->SetCaption("Имя"_a);
        lv->Columns()->Add()->SetCaption("Путь"_a);
        for (auto& r : rows) {
            TListItem* it = lv->Items()->Add();
            it->SetCaption(r.first);
            it->SubItems()->Add(r.second);
        }
        return lv;
    }
    // What the list shows, row by row: "caption|first sub-item" from the
    // widget, checked against the items.
    static std::vector<std::string> Shown(TListView* lv) {
        std::vector<std::string> v;
        QTreeWidget* t = lv->Tree();
        EXPECT_EQ(t->topLevelItemCount(), lv->Items()->Count());
        for (int i = 0; i < t->topLevelItemCount(); ++i) {
            QTreeWidgetItem* q = t->topLevelItem(i);
            std::string row = (q->text(0) + "|" + q->text(1)).toStdString();
            TListItem* it = lv->Items()->Item(i);
            EXPECT_EQ(it->Caption(), FromQStringForTest(q->text(0)));
            EXPECT_EQ(it->Index(), i);
            v.push_back(row);
        }
        return v;
    }
    static AnsiString FromQStringForTest(const QString& s) { return Utf8ToAnsi(s.toStdString()); }
};

TEST_F(Lists, ProjectFileRowsMoveUpAndDownInPlaceAndADeletedSelectionLeavesNoneSelected) {
    TForm* f = MakeForm();
    TListView* lv = FileList(f, {{"a.tvs", "C:\\p\\"}, {"b.tvs", "C:\\p\\s\\"}, {"c.tvs", "C:\\q\\"}});
    f->Show();
    // Moving row i up: insert at i - 1, copy row i + 1 into it, delete row
    // i + 1, select row i - 1, all inside one update bracket.
    auto move = [&](int i, bool up) {
        int at = up ? i - 1 : i + 2, from = up ? i + 1 : i, select = up ? i - 1 : i + 1;
        lv->Items()->BeginUpdate();
        TListItem* n = lv->Items()->Insert(at);
        TListItem* src = lv->Items()->Item(from);
        n->SetCaption(src->Caption());
        n->SubItems()->Assign(src->SubItems());
        lv->Items()->Delete(from);
        lv->Items()->Item(select)->SetSelected(true);
        lv->Items()->EndUpdate();
    };
    move(2, true);
    EXPECT_EQ(Shown(lv), (std::vector<std::string>{"a.tvs|C:\\p\\", "c.tvs|C:\\q\\", "b.tvs|C:\\p\\s\\"}));
    EXPECT_EQ(lv->ItemIndex(), 1);
    move(0, false);
    EXPECT_EQ(Shown(lv), (std::vector<std::string>{"c.tvs|C:\\q\\", "a.tvs|C:\\p\\", "b.tvs|C:\\p\\s\\"}));
    EXPECT_EQ(lv->ItemIndex(), 1);
    EXPECT_EQ(lv->SelCount(), 1);
    EXPECT_EQ(lv->Selected()->SubItems()->Get(0), AnsiString("C:\\p\\"));

    // Deleting another row keeps the selection; deleting the selected row
    // leaves none (the commands that need a selection then do nothing).
    lv->Items()->Delete(2);
    EXPECT_EQ(lv->Selected(), lv->Items()->Item(1));
    lv->Items()->Delete(1);
    EXPECT_EQ(lv->Selected(), nullptr);
    EXPECT_EQ(lv->ItemIndex(), -1);
    EXPECT_EQ(lv->SelCount(), 0);
    lv->SetItemIndex(0);
    EXPECT_EQ(lv->Selected()->Caption(), AnsiString("c.tvs"));
    lv->SetItemIndex(-1);
    EXPECT_EQ(lv->Selected(), nullptr);
    lv->Clear();
    EXPECT_EQ(lv->Items()->Count(), 0);
    EXPECT_EQ(lv->Tree()->topLevelItemCount(), 0);
    EXPECT_THROW(lv->Items()->Item(0), EListError);
}

TEST_F(Lists, ColumnWidthsFollowTheUserAndSurviveHidingAndADoubleClickFindsItsRowSelected) {
    TForm* f = MakeForm();
    TListView* lv = FileList(f, {{"a.tvs", "C:\\p\\"}, {"b.tvs", "D:\\"}, {"c.tvs", "E:\\"}});
    lv->Columns()->Items(0)->SetWidth(80);
    lv->Columns()->Items(1)->SetWidth(70);
    f->Show();
    QHeaderView* header = lv->Tree()->header();
    EXPECT_EQ(header->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Путь"));
    header->resizeSection(1, 140); // the user drags the column edge
    EXPECT_EQ(lv->Columns()->Items(1)->Width(), 140);
    f->Hide(); // the pane stores the widths when it is hidden
    EXPECT_EQ(lv->Columns()->Items(0)->Width(), 80);
    EXPECT_EQ(lv->Columns()->Items(1)->Width(), 140);
    f->Show();

    std::vector<std::string> log;
    lv->OnClick = [&](TObject*) { log.push_back("click " + std::to_string(lv->ItemIndex())); };
    lv->OnDblClick = [&](TObject*) { log.push_back("dblclick " + std::to_string(lv->ItemIndex())); };
    QWidget* vp = lv->Tree()->viewport();
    QRect row = lv->Tree()->visualItemRect(lv->Tree()->topLevelItem(1));
    QPoint p(row.left() + 100, row.center().y()); // in the second column
    Send(vp, QEvent::MouseButtonPress, Qt::LeftButton, p);
    Send(vp, QEvent::MouseButtonRelease, Qt::LeftButton, p);
    Send(vp, QEvent::MouseButtonDblClick, Qt::LeftButton, p);
    Send(vp, QEvent::MouseButtonRelease, Qt::LeftButton, p);
    EXPECT_EQ(log, (std::vector<std::string>{"click 1", "dblclick 1"}));
    QPoint inList = vp->mapTo(lv->Tree(), p);
    EXPECT_EQ(lv->GetItemAt(inList.x(), inList.y()), lv->Items()->Item(1));
    EXPECT_EQ(lv->GetItemAt(inList.x(), 195), nullptr);
}

TEST_F(Lists, ATypedNameKeepsItsLetterCaseWhenTheBoxLosesTheFocus) {
    TForm* f = MakeForm();
    auto* box = NewControl<TComboBox>(f, f, "ComboBox");
    box->Items()->Add("X1");
    box->Items()->Add("Пуск"_a);
    auto* other = NewControl<TEdit>(f, f, "Edit1");
    other->SetTop(40);
    f->Show();
    QApplication::setActiveWindow(f->Widget());
    for (const AnsiString& typed : {AnsiString("x1"), "пуск"_a, AnsiString("X1")}) {
        box->SetFocus();
        box->SetText(typed);
        other->SetFocus();
        // Leaving the box ends its editing, as closing a dialog does.
        Q_EMIT box->Combo()->lineEdit()->editingFinished();
        Application->ProcessMessages();
        EXPECT_EQ(box->Text(), typed);
    }
}

TEST_F(Lists, ComboBoxesChooseByTextOnlyAmongTheirItemsUnlessTheyTakeFreeText) {
    TForm* f = MakeForm();
    auto* list = NewControl<TComboBox>(f, f, "ComboBox1"); // "Инверсия": choose only
    list->SetStyle(csDropDownList);
    list->Items()->Add("Нет"_a);
    list->Items()->Add("Да"_a);
    auto* order = NewControl<TComboBox>(f, f, "Order"); // takes any number typed
    order->SetTop(30);
    order->Items()->Add("1");
    order->Items()->Add("2");
    int changes = 0;
    list->OnChange = order->OnChange = [&](TObject*) { ++changes; };
    struct Step {
        TComboBox* box;
        std::function<void()> act;
        int index;
        AnsiString text;
    };
    const Step steps[] = {
        {list, [] {}, -1, ""},
        {list, [&] { list->SetText("Да"_a); }, 1, "Да"_a},
        {list, [&] { list->SetText("Может быть"_a); }, -1, ""},
        {list, [&] { list->SetItemIndex(0); }, 0, "Нет"_a},
        {list, [&] { list->SetItemIndex(7); }, -1, ""},
        {order, [&] { order->SetText("5"); }, -1, "5"},
        {order, [&] { order->SetItemIndex(1); }, 1, "2"},
        {order, [&] { order->SetText("1"); }, 0, "1"},
        {order, [&] { order->SetItemIndex(-1); }, -1, ""},
        {order, [&] { order->Items()->Insert(0, "0"); }, -1, ""},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EXPECT_EQ(steps[i].box->ItemIndex(), steps[i].index) << "step " << i;
        EXPECT_EQ(steps[i].box->Text(), steps[i].text) << "step " << i;
    }
    EXPECT_EQ(changes, 0); // nothing done in code is a change of the user's

    // The search dialog selects the whole remembered name and focuses it.
    order->SetText("Сигнал1"_a);
    f->Show();
    order->SetFocus();
    order->SelectAll();
    EXPECT_EQ(order->SelLength(), 7);
    order->Clear();
    EXPECT_EQ(order->Items()->Count(), 0);
    EXPECT_EQ(order->Text(), AnsiString(""));
}

TEST_F(Lists, ItemSearchIgnoresLetterCaseCyrillicAndYoIncludedButNotOtherLetters) {
    TForm* f = MakeForm();
    auto* combo = NewControl<TComboBox>(f, f, "ComboBox1");
    auto* box = NewControl<TListBox>(f, f, "ListBox1");
    for (TStrings* items : {combo->Items(), box->Items()}) {
        items->Add("Элементы"_a);
        items->Add("Выводы драйверов"_a);
        items->Add("ёлка"_a);
        items->Add("Pump МОТОР"_a);
        struct Case {
            AnsiString probe;
            int index;
        };
        const Case cases[] = {{"элементы"_a, 0}, {"ВЫВОДЫ ДРАЙВЕРОВ"_a, 1}, {"ЁЛКА"_a, 2},
                              {"елка"_a, -1},    {"pump мотор"_a, 3},       {"Выводы"_a, -1}};
        for (const Case& c : cases) EXPECT_EQ(items->IndexOf(c.probe), c.index) << AnsiToUtf8(c.probe);
    }
}

TEST_F(Lists, AListBoxSelectsOneOrManyAndItsLinesKeepTheirObjects) {
    TForm* f = MakeForm();
    auto* lb = NewControl<TListBox>(f, f, "ListElementBox");
    lb->SetBounds(0, 0, 150, 120);
    TObject and1, or2, x1;
    lb->SetSorted(true); // lines go into place, each with its object
    lb->Items()->AddObject("OR2 - 2", &or2);
    lb->Items()->AddObject("X1", &x1);
    lb->Items()->AddObject("AND1 - 1", &and1);
    ASSERT_EQ(lb->Items()->Get(0), AnsiString("AND1 - 1"));
    EXPECT_EQ(lb->Items()->Objects(0), &and1);
    EXPECT_EQ(lb->Items()->Objects(1), &or2);
    EXPECT_EQ(lb->Items()->Objects(2), &x1);
    EXPECT_EQ(lb->Items()->IndexOfObject(&x1), 2);

    // Single selection: selecting makes the line current; unselecting a
    // line that is not current changes nothing.
    lb->SetSelected(1, true);
    EXPECT_EQ(lb->ItemIndex(), 1);
    lb->SetSelected(2, false);
    EXPECT_EQ(lb->ItemIndex(), 1);
    lb->SetSelected(1, false);
    EXPECT_EQ(lb->ItemIndex(), -1);
    EXPECT_EQ(lb->SelCount(), -1);

    // Several lines picked by the user with Ctrl; each pick is a click.
    lb->SetMultiSelect(true);
    f->Show();
    int clicks = 0, dblclicks = 0;
    lb->OnClick = [&](TObject*) { ++clicks; };
    lb->OnDblClick = [&](TObject*) { ++dblclicks; };
    QWidget* vp = lb->List()->viewport();
    auto at = [&](int i) { return lb->List()->visualItemRect(lb->List()->item(i)).center(); };
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, at(0));
    QTest::mouseClick(vp, Qt::LeftButton, Qt::ControlModifier, at(2));
    EXPECT_TRUE(lb->Selected(0));
    EXPECT_FALSE(lb->Selected(1));
    EXPECT_TRUE(lb->Selected(2));
    EXPECT_EQ(lb->SelCount(), 2);
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(clicks, 2); // one click per pick, as the selection changes
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier, at(1));
    EXPECT_EQ(dblclicks, 1);
    EXPECT_THROW(lb->SetSelected(3, true), EStringListError);
    lb->Clear();
    EXPECT_EQ(lb->SelCount(), 0);
}

TEST_F(Lists, OwnerDrawnListBoxesDrawEachLineInItsRectangleWithItsState) {
    TForm* f = MakeForm();
    auto* lb = NewControl<TListBox>(f, f, "ListBox1");
    lb->SetBounds(0, 0, 150, 120);
    lb->SetStyle(lbOwnerDrawVariable);
    lb->OnMeasureItem = [](TWinControl*, int index, int& h) { h = 14 + 4 * index; };
    lb->Items()->Add("in1");
    lb->Items()->Add("in2");
    lb->Items()->Add("in3");
    std::map<int, TOwnerDrawState> states;
    std::map<int, TRect> rects;
    lb->OnDrawItem = [&](TWinControl*, int index, TRect r, TOwnerDrawState s) {
        states[index] = s;
        rects[index] = r;
        lb->Canvas()->FillRect(r);
    };
    lb->SetItemIndex(1);
    f->Show();
    lb->List()->viewport()->grab();
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(rects[0].Height(), 14);
    EXPECT_EQ(rects[2].Height(), 22);
    EXPECT_EQ(rects[1].Top, rects[0].Bottom);
    EXPECT_EQ(lb->ItemRect(2).Height(), 22);
    EXPECT_TRUE(states[1] & odSelected);
    EXPECT_FALSE(states[0] & odSelected);

    // Without a drawing handler the box draws the line's text itself.
    lb->OnDrawItem = nullptr;
    std::vector<std::string> texts;
    lb->Canvas()->OnText = [&](const TCanvasText& t) { texts.push_back(t.Text.c_str()); };
    lb->List()->viewport()->grab();
    EXPECT_EQ(texts, (std::vector<std::string>{"in1", "in2", "in3"}));
}

TEST_F(Lists, ARadioGroupKeepsItsChoiceAcrossModalShowingsAndReportsTheUsersPick) {
    TForm* f = MakeForm();
    auto* rg = NewControl<TRadioGroup>(f, f, "RadioGroup");
    rg->SetBounds(8, 8, 240, 70);
    rg->Items()->Add("по всем схемам в проекте"_a);
    rg->Items()->Add("по всем открытым схемам "_a);
    rg->SetItemIndex(1);
    auto* ok = NewControl<TButton>(f, f, "OKBtn");
    ok->SetTop(90);
    ok->ModalResult = mrOk;
    std::vector<int> clicks;
    rg->OnClick = [&](TObject*) { clicks.push_back(rg->ItemIndex()); };
    auto buttons = [&] { return rg->Widget()->findChildren<QRadioButton*>(); };
    ASSERT_EQ(buttons().size(), 2);
    bool shownChecked = false;
    RunModal(f, {[&] {
                     shownChecked = buttons()[1]->isChecked();
                     QTest::mouseClick(buttons()[0], Qt::LeftButton);
                 },
                 [&] { ok->Click(); }});
    EXPECT_TRUE(shownChecked);
    EXPECT_EQ(clicks, std::vector<int>{0});
    RunModal(f, {[&] {
                     shownChecked = buttons()[0]->isChecked() && !buttons()[1]->isChecked();
                     ok->Click();
                 }});
    EXPECT_TRUE(shownChecked);
    EXPECT_EQ(rg->ItemIndex(), 0);

    // New items keep a choice that still exists; -1 clears every button.
    rg->Items()->Add("в буфере"_a);
    EXPECT_EQ(rg->ItemIndex(), 0);
    EXPECT_TRUE(buttons()[0]->isChecked());
    rg->SetItemIndex(-1);
    EXPECT_EQ(rg->ItemIndex(), -1);
    for (QRadioButton* b : buttons()) EXPECT_FALSE(b->isChecked());
    rg->SetItemIndex(2);
    rg->Items()->Delete(2);
    EXPECT_EQ(rg->ItemIndex(), -1);
    EXPECT_EQ(clicks, (std::vector<int>{0, 2}));
}

TEST_F(Lists, APageControlOpensOnThePageLastShownAndReportsTheUsersTabChoice) {
    TForm* f = MakeForm();
    f->SetBounds(0, 0, 420, 300);
    auto* pc = NewControl<TPageControl>(f, f, "PageControl1");
    pc->SetBounds(0, 0, 400, 250);
    std::vector<TTabSheet*> pages;
    for (const char* caption : {"Цвета", "Другие параметры", "Файлы", "Цвета FSM"}) {
        auto* p = NewControl<TTabSheet>(f, nullptr, "TabSheet" + IntToStr(int(pages.size()) + 1));
        p->SetCaption(Utf8ToAnsi(caption));
        p->SetPageControl(pc);
        pages.push_back(p);
    }
    auto* edit = NewControl<TEdit>(f, pages[2], "FileEdit");
    pc->SetActivePage(pages[3]); // the first time: "Цвета FSM"
    std::vector<std::string> log;
    pc->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(pc->ActivePageIndex())); };
    for (TTabSheet* p : pages) {
        p->OnShow = [&, p](TObject*) { log.push_back("show " + std::to_string(p->PageIndex())); };
        p->OnHide = [&, p](TObject*) { log.push_back("hide " + std::to_string(p->PageIndex())); };
    }
    auto* tabs = pc->Widget()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(3), QString("Цвета FSM"));
    TTabSheet* seen = nullptr;
    RunModal(f, {[&] {
        seen = pc->ActivePage();
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(2).center());
        f->ModalResult = mrOk;
    }});
    EXPECT_EQ(seen, pages[3]);
    EXPECT_EQ(log, (std::vector<std::string>{"hide 3", "show 2", "change 2"}));
    RunModal(f, {[&] {
        seen = pc->ActivePage();
        f->ModalResult = mrOk;
    }});
    EXPECT_EQ(seen, pages[2]);
    f->Show(); // a control on a page shows only while its page is active
    EXPECT_TRUE(edit->Showing());
    pc->SetActivePageIndex(0);
    EXPECT_FALSE(edit->Showing());

    // A page whose tab is hidden cannot be chosen, and paging skips it.
    pages[1]->SetTabVisible(false);
    pc->SetActivePage(pages[1]);
    EXPECT_EQ(pc->ActivePage(), pages[0]);
    pc->SelectNextPage(true);
    EXPECT_EQ(pc->ActivePage(), pages[2]);
    pages[1]->SetTabVisible(true);
    EXPECT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(1), QString("Другие параметры"));
    EXPECT_EQ(pc->ActivePage(), pages[2]);
}

} // namespace
