#pragma once
// TfmFormuls: the formula editor of the timing diagram. The engineer picks
// an input of the diagram, types a formula (10H5L: ten ticks high, five
// low, over again) and adds it; a signal that has a formula gets the new
// one in its place. "Просмотр  >>" widens the dialog to the list of
// formulas, where a line is picked for deleting, and a click with Shift
// copies a line's formula back into the edit. The edit's list offers the
// formulas removed before.
//
// Line k of the list and of the name list (name=formula) belongs to
// formula k of the diagram.

#include <memory>
#include <vector>

#include "debugger/StimulusFormula.h"
#include "platform/gui/Actions.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

// The window whose formulas the editor edits: the timing diagram.
class IFormulaOwner {
public:
    virtual ~IFormulaOwner() = default;
    virtual TFormulaSet& Formulas() = 0;
    // The names of the input trace rows in use, in row order.
    virtual std::vector<AnsiString> InputNames() = 0;
    // Where a new formula sets its input's level.
    virtual IFormulaSink& FormulaSink() = 0;
};

class TfmFormuls : public TForm {
public:
    explicit TfmFormuls(TComponent* owner);
    ~TfmFormuls() override;

    // ---- controls ----
    TLabel* Label1;        // "Сигнал"
    TComboBox* ComboBox;   // the signal
    TLabel* Label2;        // "Формула"
    TComboBox* Edit;       // the formula text; its list holds the history
    TBitBtn* BitBtn3;      // add
    TBitBtn* btDeleteFormula;
    TButton* Button3;      // "Просмотр  >>"
    TListBox* ListBox;
    TBitBtn* BitBtn1;      // "OK"
    TBitBtn* BitBtn2;      // "Выход"
    TBitBtn* BitBtn4;      // "Помощь"
    TSpeedButton* SpeedButton1; // appends "H" (hidden)
    TSpeedButton* SpeedButton2; // appends "L" (hidden)
    TActionList* ActionList1;
    TAction* HelpAction;

    // The formulas edited; the dialog does nothing without.
    IFormulaOwner* Owner = nullptr;

    // ---- handlers ----
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void BitBtn3Click(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void btDeleteFormulaClick(TObject* Sender);
    void ListBoxMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Button3Click(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void HelpActionExecute(TObject* Sender);

    // ---- operations ----
    // Edit's text read into steps; answers the number of steps.
    int ParseFormula(int32_t durations[kMaxFormulaSteps + 1], uint8_t levels[kMaxFormulaSteps]);
    // Checks Edit's text; a refused text is cut or cleared in Edit.
    bool CheckFormula();
    // The formula of ComboBox's signal, -1 when it has none.
    int FindFormula();
    // The lines name=formula, parallel to ListBox.
    TStringList* NameList() const { return names_.get(); }

    // The message for deleting without a line picked.
    static AnsiString PickToDeleteText();

private:
    void Build();
    std::unique_ptr<TStringList> names_;
};

extern TfmFormuls* fmFormuls;
