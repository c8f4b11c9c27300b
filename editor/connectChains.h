#pragma once
// TfmConnect: the question asked when a wire joins two chains that both
// carry names given by the user ("Соединение"). Either name can be taken by
// a click, or a new one typed; "Да" joins the chains under the name in
// Edit1, "Нет" leaves them apart.

#include "controls/gui/ExLabel.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TfmConnect : public TForm {
public:
    explicit TfmConnect(TComponent* owner);
    ~TfmConnect() override;

    TExLabel *ExLabel1, *lblChain1, *ExLabel3, *lblChain2, *ExLabel2;
    TEdit* Edit1;
    TBitBtn* BitBtn1; // "Да"
    TBitBtn* BitBtn2; // "Нет"

    // Shows both names; the first is offered as the joined name.
    void SetChains(const AnsiString& first, const AnsiString& second);
    // The question: true with the joined name on "Да".
    bool Ask(const AnsiString& first, const AnsiString& second, AnsiString& joined);

    void lblChain1Click(TObject* Sender);
    void lblChain2Click(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
};

extern TfmConnect* fmConnect;
