// The property dialogs opened while the element list is shown, from its
// "Свойства" or by a double click on the sheet: the list stays on top of the
// program's other windows, and the dialog shows above it and takes the keyboard.
#include <QWindow>

#include "editor/ListElement.h"
#include "editor/PropertyDialogTest.h"

namespace {

class ElementListDialogs : public PropertyDialogTest {
protected:
    void SetUp() override {
        PropertyDialogTest::SetUp();
        ListElementDlg = MakeForm<TListElementDlg>();
    }
    void TearDown() override {
        Application->OnModalStart = nullptr;
        PropertyDialogTest::TearDown();
    }
};

TEST_F(ElementListDialogs, ThePropertyDialogShowsAboveTheListAndHasTheKeyboard) {
    Device(100, 100)->SetName("AND");
    QWidget* list = ListElementDlg->Widget();
    ListElementDlg->Show();
    const QPoint middle = list->geometry().center();
    ASSERT_TRUE(ProcessUntil([&] { return QGuiApplication::topLevelAt(middle) == list->windowHandle(); }));
    ASSERT_EQ(ListElementDlg->ListElementBox->Items()->Count(), 1);
    ListElementDlg->ListElementBox->SetSelected(0, true);
    ListElementDlg->ListElementBox->SetItemIndex(0);
    struct Way {
        const char* name;
        std::function<void()> open;
    };
    const Way ways[] = {
        {"Свойства", [&] { QTest::mouseClick(ListElementDlg->Button2->Widget(), Qt::LeftButton); }},
        {"a double click on the sheet",
         [&] {
             Click(110, 110);
             Send(QEvent::MouseButtonDblClick, 110, 110);
             Release(110, 110);
         }},
    };
    for (const Way& way : ways) {
        TForm* shown = nullptr;
        bool onTop = false;
        Application->OnModalStart = [&](TForm* f) {
            shown = f;
            QTimer::singleShot(0, [&, f] {
                onTop = ProcessUntil(
                    [&] {
                        QWidget* focus = QApplication::focusWidget();
                        return testenv::Above(f->Widget(), list) && QApplication::activeWindow() == f->Widget() && focus &&
                               focus->window() == f->Widget();
                    });
                f->ModalResult = mrCancel;
            });
        };
        way.open();
        Application->OnModalStart = nullptr;
        EXPECT_EQ(shown, Form4) << way.name;
        EXPECT_TRUE(onTop) << way.name;
        EXPECT_TRUE(list->isVisible()) << way.name;
    }
}

} // namespace
