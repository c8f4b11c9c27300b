#include "editor/connectChains.h"

#include "platform/Graphics.h"

TfmConnect* fmConnect = nullptr;

TfmConnect::TfmConnect(TComponent* owner) : TForm(owner) {
    SetName("fmConnect");
    SetCaption("Соединение"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);
    SetPosition(poScreenCenter);
    SetClientWidth(347);
    SetClientHeight(204);
    Font()->SetHeight(-13);

    auto label = [this](const char* name, const AnsiString& caption, int left, int top) {
        TExLabel* l = NewControl<TExLabel>(this, this, name);
        l->SetCaption(caption);
        l->SetShadowSize(0);
        l->SetBounds(left, top, 10, 16);
        l->AdjustBounds();
        return l;
    };
    ExLabel1 = label("ExLabel1", "Вы пытаетесь соединить две цепи:"_a, 16, 12);
    lblChain1 = label("lblChain1", AnsiString(), 40, 40);
    ExLabel3 = label("ExLabel3", "и"_a, 16, 64);
    lblChain2 = label("lblChain2", AnsiString(), 40, 88);
    ExLabel2 = label("ExLabel2", "назовите новую цепь"_a, 16, 116);
    Edit1 = NewControl<TEdit>(this, this, "Edit1");
    Edit1->SetBounds(16, 136, 315, 24);
    BitBtn1 = NewControl<TBitBtn>(this, this, "BitBtn1");
    BitBtn1->SetKind(bkYes);
    BitBtn1->SetCaption("Да"_a);
    BitBtn1->SetBounds(80, 170, 90, 27);
    BitBtn2 = NewControl<TBitBtn>(this, this, "BitBtn2");
    BitBtn2->SetKind(bkNo);
    BitBtn2->SetCaption("Нет"_a);
    BitBtn2->SetBounds(180, 170, 90, 27);

    lblChain1->OnClick = [this](TObject* s) { lblChain1Click(s); };
    lblChain2->OnClick = [this](TObject* s) { lblChain2Click(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
    SetActiveControl(Edit1);
}

TfmConnect::~TfmConnect() {
    if (fmConnect == this) fmConnect = nullptr;
}

void TfmConnect::SetChains(const AnsiString& first, const AnsiString& second) {
    lblChain1->SetCaption(first);
    lblChain2->SetCaption(second);
    Edit1->SetText(first);
}

bool TfmConnect::Ask(const AnsiString& first, const AnsiString& second, AnsiString& joined) {
    SetChains(first, second);
    if (ShowModal() != mrYes) return false;
    joined = Edit1->Text();
    return true;
}

void TfmConnect::lblChain1Click(TObject*) { Edit1->SetText(lblChain1->Caption()); }

void TfmConnect::lblChain2Click(TObject*) { Edit1->SetText(lblChain2->Caption()); }

void TfmConnect::FormCloseQuery(TObject*, bool& CanClose) {
    // The joined chain needs a name; "Нет" needs none, since nothing is joined.
    CanClose = ModalResult == mrNo || !Edit1->Text().IsEmpty();
}
