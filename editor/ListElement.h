#pragma once
// TListElementDlg: the list of the elements, or of the driver pins, of the
// active scheme window ("Список элементов в схеме"). It shows the pins of
// the chosen entries with the signals they are wired to, selects the chosen
// entries in the scheme, opens their property dialogs, renumbers the
// processing order by names and prints the chosen elements.
//
// Entries are found again by name in the active window's scheme: the list
// never holds objects that a closed window took with it.

#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

class ISchemeChild;
class TScheme;

class TListElementDlg : public TForm {
public:
    explicit TListElementDlg(TComponent* owner);
    ~TListElementDlg() override;

    TGroupBox* GroupBox1;
    // 0 "Элементы", 1 "Выводы драйверов".
    TComboBox* ComboBox1;
    TListBox* ListElementBox;
    TGroupBox* GroupBox2;
    TStringGrid* SG;
    TButton *Button1, *Button2, *Sortir, *Button4, *OKBtn, *Button3;
    TCheckBox* CheckBox1;

    // The caption every activation starts from.
    static const char* const kCaption;

    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void ListElementBoxClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void SortirClick(TObject* Sender);
    void Button4Click(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void FillElements();
    void FillDrivers();

    // The full name an entry stands for.
    AnsiString EntryName(int index) const;

private:
    // The active child of the program's frame when it is a scheme window.
    static ISchemeChild* ActiveScheme();
    // The names of the chosen entries, in list order.
    std::vector<AnsiString> ChosenNames() const;
    // The elements (or, listing driver pins, the driver pins) of that name.
    std::vector<class TEntity*> Matching(TScheme* doc, const AnsiString& name) const;
    void ShowElementPins(class TElement* element);
    void ShowDriver(class TDriver* driver);
    std::vector<AnsiString> names_;
};

extern TListElementDlg* ListElementDlg;
