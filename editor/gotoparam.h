#pragma once
// TForm12 ("Параметры перехода"): the property dialog of the conditional
// jump. Besides name and order number it sets the inversion of the jump's
// input and its target: a scheme of the open project and, when "На элемент"
// is ticked, an element of that scheme. The frame lists the project's
// schemes and a scheme's elements. Choosing the jump's own scheme offers only
// the elements after the jump. A target that the lists no longer hold is
// reported when the dialog opens and stays stored unless the user picks
// another or unticks "На элемент".

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TGotoElement;

class TForm12 : public TForm {
public:
    explicit TForm12(TComponent* owner);
    ~TForm12() override;

    TPageControl* PageControl1;
    TTabSheet *TabSheet1, *TabSheet2; // "Параметры", "Выводы"
    TEdit* Edit2;
    TComboBox* ComboBox2;
    TComboBox* Order;
    TLabel* Label1; // "Вход (инверсия)"
    TCheckBox* cbIn;
    TGroupBox* GroupBox4; // "Переход"
    TLabel* Label2;       // "на схему"
    TComboBox* cbSch;
    TCheckBox* ckbElem; // "На элемент"
    TComboBox* cbElem;
    TButton *Button1, *Button2; // "Применить", "Отменить"

    TGotoElement* Element = nullptr;

    void FillGoto(TGotoElement* element);
    void ApplyGoto(TGotoElement* element);
    void ckbElemClick(TObject* Sender);
    void cbSchChange(TObject* Sender);
    // Refuses an order number that is not a whole number.
    void Button1Click(TObject* Sender);

private:
    // The element names of a project scheme.
    void ListElements(const AnsiString& scheme, TStrings* list);
    // Whether the scheme is the one the jump lies in.
    bool IsOwnScheme(const AnsiString& scheme) const;
};

extern TForm12* Form12;
