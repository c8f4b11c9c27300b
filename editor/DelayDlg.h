#pragma once
// TForm1 ("Свойства элемента"): the property dialog of the timer with pre-set
// inputs. The generic dialog's pages with the delay on the first page; its
// pin buttons add and remove the pre-set inputs "0" .. "7" (the inputs "In"
// and "Reset" stay). The delay's limits and step are the settings' timer
// limits, read when the dialog is made; a delay outside them is shown and
// stored as the nearest limit. The order number goes through the element's
// own check only.

#include "controls/gui/EXSpin.h"
#include "editor/ElementDlg.h"

class TForm1 : public TElementPages {
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    TLabel *Label3, *Label4; // "Задержка", "мсек"
    TExSpinEdit* TimerValue;

    void FormCreate(TObject* Sender);
    void LoadEntity(TElement* element);
    void StoreEntity(TElement* element);
    // "Добавить": the next pre-set input (at most 10 inputs in all);
    // "Удалить": the last one (at least one stays), leaving the box one row
    // taller than its inputs need; the next "Добавить" puts its pin there.
    void Button3Click(TObject* Sender) override;
    void Button4Click(TObject* Sender) override;
};

// The spin edit's limits and step from the settings' timer limits, and its
// value at the lower limit.
void SetTimerLimits(TExSpinEdit* edit);
// The value brought within the limits, as a whole number of milliseconds.
int ClampedDelay(const TExSpinEdit* edit);

extern TForm1* Form1;
