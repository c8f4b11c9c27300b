#pragma once
// TEntryForm: the common frame of the signal table's entry forms: a dialog
// with only a system menu, centred on the desktop, a panel on the left for
// the fields and, at the top right, "Применить" (OK, default) and "Отмена"
// (cancel). The signal-table dialog fills the fields, shows the form modally
// and reads the fields back after OK.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TEntryForm : public TForm {
public:
    TEntryForm(TComponent* owner, const AnsiString& caption, int panelHeight);

    TPanel* Panel1;
    TButton* Button1;
    TButton* Button2;

protected:
    // A caption above a field of the panel.
    TLabel* FieldLabel(const char* name, const AnsiString& caption, int top);
};
