#pragma once
// TForm5 ("Вывод драйвера"): the property dialog of a driver pin, a pin that
// stands for one bit of the signal table. The user names the signal; a name
// the table knows brings its driver, bit and comment. "Применить" brings the
// table in use up to date (adds the signal, or updates its comment) before
// the element takes the dialog's values; a name the table holds with other
// values, or values the table refuses for a chosen driver, keep the dialog
// open. "Настроить" opens the signal-table dialog, "В отладчик" applies and
// puts the signal among the debugger's wanted signals (only with a
// debugger), and the search button finds the signal in the schemes (only
// when the frame offers the search).

#include "controls/gui/EXSpin.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TDriver;

class TForm5 : public TForm {
public:
    explicit TForm5(TComponent* owner);
    ~TForm5() override;

    TPageControl* PageControl1;
    TTabSheet *TabSheet1, *TabSheet2; // "Параметры", "Вывод"
    TLabel* Label1;
    TComboBox* NameEdit;
    TButton* Button3; // "Настроить"
    TBitBtn* btFind;
    TGroupBox *GroupBox1, *GroupBox2, *GroupBox4; // "Драйвер", "Бит", "Комментарии"
    TComboBox* DrvComboBox;
    TExSpinEdit* BitEdit;
    TEdit* ComentEdit;
    TCheckBox* CheckBox1; // "Зеркально" (hidden)
    TButton* Button1;      // "Применить"
    TButton* btAddToDebug; // "В отладчик"
    TButton* Button2;      // "Отменить"

    void LoadEntity(TDriver* element);
    void StoreEntity(TDriver* element);

    void FormActivate(TObject* Sender);
    void NameEditChange(TObject* Sender);
    void Button1Click(TObject* Sender);
    void btAddToDebugClick(TObject* Sender);
    void Button3Click(TObject* Sender);
    void btFindClick(TObject* Sender);

private:
    // Driver, bit and comment as the element finds them by its name.
    void ShowBitOf(TDriver* element);
    void FillDrivers();
    void FillNames();
};

extern TForm5* Form5;
