#pragma once
// The small property dialogs without a pin grid: TForm8 ("Триггер") for the
// RS and D triggers and TForm7 ("Таймер") for the timer. Pins are neither
// added nor removed; their inversion is set with tick boxes. The order number
// goes through the element's own check only; an emptied name field keeps the
// old name.

#include "controls/gui/EXSpin.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TElement;

// What the two share: name and order on the first page, a tick-box list on
// the second, "Применить" and "Отменить".
class TTickForm : public TForm {
public:
    TPageControl* PageControl1;
    TTabSheet *TabSheet1, *TabSheet2;
    TLabel *Label1, *Label2; // "Имя", "Порядок "
    TEdit* Edit1;
    TComboBox* Order;
    TCheckListBox* CheckListBox1;
    TButton *Button3, *Button4; // "Применить", "Отменить"

    void FormActivate(TObject* Sender);
    // Refuses an order number that is not a whole number.
    void Button3Click(TObject* Sender);

protected:
    TTickForm(TComponent* owner, const AnsiString& caption, const AnsiString& secondPage);
    // The order label and box at that height of the first page.
    void PlaceOrder(int top);
    void LoadNameAndOrder(TElement* element);
    void StoreNameAndOrder(TElement* element);
};

class TForm8 : public TTickForm {
public:
    explicit TForm8(TComponent* owner);
    ~TForm8() override;
    // One line per input pin, ticked when it is inverted.
    void LoadEntity(TElement* element);
    void StoreEntity(TElement* element);
};

class TForm7 : public TTickForm {
public:
    explicit TForm7(TComponent* owner);
    ~TForm7() override;
    TLabel *Label3, *Label4, *Label5; // "Задержка", "мсек", "Инверсия"
    TExSpinEdit* TimerValue;

    void FormCreate(TObject* Sender);
    // The lines "Вход", "Отключение", "Выход" stand for the pins in list order.
    void LoadEntity(TElement* element);
    void StoreEntity(TElement* element);
};

extern TForm8* Form8;
extern TForm7* Form7;
