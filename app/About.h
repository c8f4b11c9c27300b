#pragma once
// TAboutBox: the about box, made on demand by the help menu's "О программе..."
// and freed when it closes. It is as wide as its longest line. It names no
// support address or web site: the program has none to give.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TAboutBox : public TForm {
public:
    explicit TAboutBox(TComponent* owner);

    TPanel* Panel1;
    TImage* ProgramIcon;
    TLabel* ProductName;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Version;
    TLabel* Copyright;
    TLabel* Comments;
    TMemo* Memo1;
    TButton* OKButton;

    void FormCreate(TObject* Sender);
};
