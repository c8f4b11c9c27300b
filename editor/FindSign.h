#pragma once
// TFindSignalDlg: the question of the project-wide signal search ("Поиск
// сигнала"). It offers the names of the signal table (after the names that
// the caller put into its list, such as the selected driver pins of the
// active scheme) and the choice between the project's schemes and the open
// windows. The frame runs the search with what the dialog kept in SignalName
// and in the choice of RadioGroup.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFindSignalDlg : public TForm {
public:
    explicit TFindSignalDlg(TComponent* owner);
    ~TFindSignalDlg() override;

    TGroupBox* GroupBox1;
    TComboBox* ComboBox;
    // 0 "по всем схемам в проекте", 1 "по всем открытым схемам ".
    TRadioGroup* RadioGroup;
    TButton* OKBtn;
    TButton* CancelBtn;

    // The name the box held when the dialog was last closed.
    AnsiString SignalName;

    // Adds the signal table's names to the list (once per showing).
    void FormActivate(TObject* Sender);
    // Keeps the name and empties the box, so that no list outlives a search.
    void FormDeactivate(TObject* Sender);
};

extern TFindSignalDlg* FindSignalDlg;
