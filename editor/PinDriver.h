#pragma once
// TPinDriverDlg: the machine-signal table's dialog. It holds the table in
// use, which every other part of the program reads through DriversInUse()
// (the dialog installs it), loaded from the signal-table file when the
// dialog is made. Shown modally, it edits a working copy in four grids
// (driver types, drivers, signals, variable signals) through the entry forms
// AddTypeDrvForm, AddDriverForm and AddPinForm; "Да" makes the copy the table
// in use and writes it to the signal-table file, "Отмена" drops it.
// The grids' column captions are the lines of StrList; the table's refusals
// are shown by ErrorDlg, and "Удалить" removes a row only when DeleteDlg's
// question is answered Yes.

#include <memory>

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

class TDriversInfo;
class TFormPlacement;
class TQKMsgDlg;
class TQKStrList;

class TPinDriverDlg : public TForm {
public:
    // The table is read from (and written to) fileName; a bare name lies in
    // the settings folder.
    explicit TPinDriverDlg(TComponent* owner);
    TPinDriverDlg(TComponent* owner, const AnsiString& fileName);
    ~TPinDriverDlg() override;

    TPageControl* PageControl1;
    TTabSheet *TypesSheet, *DriversSheet, *PinsSheet, *VarSheet;
    TStringGrid *TypesGrid, *DriversGrid, *PinGrid, *VarGrid;
    TButton *AddBtn, *EditBtn, *DeleteBtn;
    TButton* OKBtn;
    TButton* CancelBtn;
    TFormPlacement* Placement;
    TQKStrList* StrList;
    TQKMsgDlg* ErrorDlg;
    TQKMsgDlg* DeleteDlg;

    // The table in use, and the copy being edited (null unless shown).
    TDriversInfo* Table() const { return inUse_.get(); }
    TDriversInfo* WorkingCopy() const { return working_.get(); }

    // The first signal of exactly that name in the table in use: its
    // driver's name and its bit.
    bool FindBitDriver(const AnsiString& name, AnsiString& driverName, int& bitNumber) const;
    // One line per driver / driver type of the table in use (see
    // TDriversInfo::ListDrivers); the list is cleared first.
    void ListDrivers(TStrings* list) const;
    void ListDriverTypes(TStrings* list) const;
    // Selects the first row of the signal grid whose name equals name,
    // ignoring letter case.
    void SelectPin(const AnsiString& name);

    void FormShow(TObject* Sender);
    void AddBtnClick(TObject* Sender);
    void EditBtnClick(TObject* Sender);
    void DeleteBtnClick(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);

    // The grids show this table (the working copy while the dialog is shown).
    void ShowTable(const TDriversInfo* table);

private:
    void Build();
    enum Page { PageTypes, PageDrivers, PagePins, PageVars };
    Page CurrentPage() const;
    TStringGrid* GridOf(Page page) const;
    // The table row of the selected grid row; -1 when there is none.
    int SelectedRow(Page page) const;
    // The entry forms; each loops until the table accepts the values or the
    // user cancels, and answers whether the table changed.
    bool EditType(int index);
    bool EditDriver(int index);
    bool EditPin(int index);
    bool EditVar(int index);
    TDriversInfo* Edited() const;
    // Shows a refusal of the table (nothing for an empty text).
    void Refuse(const AnsiString& text);

    std::unique_ptr<TDriversInfo> inUse_;
    std::unique_ptr<TDriversInfo> working_;
};

extern TPinDriverDlg* PinDriverDlg;
