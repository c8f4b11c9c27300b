#pragma once
// TForm9: the connector dialog ("Соединение"). A connector is a variable
// signal that joins schemes without a driver bit; the dialog names it and
// its comment, keeps the signal table's list of variable signals up to date,
// can search the schemes for the signal and add it to the debugger. It serves
// as the connector's property dialog and, without loading anything, for
// inserting connectors: the name and comment last used are offered again. A
// name the table does not know starts without the comment of the signal
// shown before it.
//
// The comment shown and translated is the signal table's; storing the dialog
// into a connector also gives it the comment the dialog shows, which its
// record keeps.

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TVarDriver;

class TForm9 : public TForm {
public:
    explicit TForm9(TComponent* owner);
    ~TForm9() override;

    TPageControl* PageControl1;
    TTabSheet* TabSheet1;
    TLabel* Label1;
    TComboBox* NameBox;
    TBitBtn* btFind;
    TEdit* EditComment;
    TButton* Button3;      // "Применить"
    TButton* btAddToDebug; // "В отладчик"
    TButton* Button4;      // "Отменить"

    void LoadEntity(TVarDriver* element);
    void StoreEntity(TVarDriver* element);

    void FormActivate(TObject* Sender);
    void NameBoxChange(TObject* Sender);
    void Button3Click(TObject* Sender);
    void btAddToDebugClick(TObject* Sender);
    void btFindClick(TObject* Sender);

private:
    // The name as a known variable signal (the list's search ignores letter
    // case); an unknown one is added with the comment. False, with the
    // table's message, when the table refused it.
    bool KeepSignal(bool updateComment);
    // The name the comment field was last shown for.
    AnsiString shownName_;
};

extern TForm9* Form9;
