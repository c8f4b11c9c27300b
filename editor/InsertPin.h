#pragma once
// TInsertPinForm: the dialog in which the user names the controller signal
// that the next driver pins placed on the scheme stand for. A driver pin
// finds its driver, bit and comment in the signal table by its name, so the
// name is all the dialog gives; it offers the names of the table in use and
// opens the signal-table dialog ("Настроить") to change the table on the spot.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TDriver;

class TInsertPinForm : public TForm {
public:
    explicit TInsertPinForm(TComponent* owner);
    ~TInsertPinForm() override;

    TBevel* Bevel1;
    TLabel* Label1;
    TComboBox* NamePin;
    TButton* Button1; // "Настроить"
    TButton* OKBtn;
    TButton* CancelBtn;

    // Gives the driver pin the chosen name.
    void ApplyToDriver(TDriver* target);

    // Refills the names from the signal table in use and chooses the name
    // chosen last time again (nothing when the table no longer has it),
    // selected and with the focus.
    void FormActivate(TObject* Sender);
    void Button1Click(TObject* Sender);
};

extern TInsertPinForm* InsertPinForm;
