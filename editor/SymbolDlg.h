#pragma once
// Three small forms of the property family:
//  - TForm3 ("Свойства символа"): what to do with a symbol or a state-machine
//    element: read it again from its file, open its scheme (or machine), or
//    edit its properties. The choice stays from one use to the next.
//  - TForm6 ("Свойства связи"): a wire's name and the name of its chain;
//    a chain name typed by the user renames the whole chain and marks it as
//    named by the user.
//  - TfmPrewIm: an image form made at start-up that nothing shows.

#include "controls/gui/ExLabel.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TLink;

class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* owner);
    ~TForm3() override;
    TExLabel* ExLabel1;
    TRadioGroup* Check;
    TButton *Button1, *Button2; // "ОК", "Выход"
};

class TForm6 : public TForm {
public:
    explicit TForm6(TComponent* owner);
    ~TForm6() override;
    TGroupBox *GroupBox1, *GroupBox2; // "Имя", "Имя цепи"
    TEdit* Name;
    TEdit* Chain;
    TBevel* Bevel1;
    TButton *Button1, *Button2; // "Применить", "Отменить"

    void LoadEntity(TLink* link);
    void StoreEntity(TLink* link);
};

class TfmPrewIm : public TForm {
public:
    explicit TfmPrewIm(TComponent* owner);
    ~TfmPrewIm() override;
    TImage* Image1;
};

extern TForm3* Form3;
extern TForm6* Form6;
extern TfmPrewIm* fmPrewIm;
