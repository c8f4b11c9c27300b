#pragma once
// TAboutBox: the about box, made on demand by the help menu's "О программе..."
// and freed when it closes. Its two link labels open the support address and
// the web site through the desktop.

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
    TLabel* Label3;
    TLabel* Label6;
    TLabel* Label4;
    TLabel* Label7;
    TLabel* Label5;
    TButton* OKButton;

    void FormCreate(TObject* Sender);
    void Label4Click(TObject* Sender);
    void Label5Click(TObject* Sender);
};
