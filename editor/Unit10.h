#pragma once
// TForm10 ("Свойства элемента"): the property dialog of the four CASE
// elements (byte, 16-bit, with masks, of ranges). Besides the generic pages
// (name, order number, pins) it edits the number of outputs and the table of
// correspondence with bit views of the selected row's values.
//
// The dialog holds the table as records (input, output, mask); the grid only
// shows them, and values change through the spin edits and the bit views. A
// mask of 65535 marks a plain row; a row of the CASE with masks whose mask has
// cleared bits (the grayed input bits, not compared) is stored in the
// element's mask list, every other row in its option list, each in table
// order. A table holds at most as many rows as an element's record may
// (65,536). The counter fill ("счетчик с шагом", then "заполнить") makes a
// table whose blocks of |step| inputs from the first to the last input give
// the outputs 0, 1, 2 ...

#include <cstdint>
#include <vector>

#include "controls/gui/EXSpin.h"
#include "controls/gui/ExCheckListBox.h"
#include "editor/ElementDlg.h"

class TCaseElement;

class TForm10 : public TElementPages {
public:
    explicit TForm10(TComponent* owner);
    ~TForm10() override;

    TTabSheet* TabSheet3; // "Таблица соответствия"
    TDrawGrid* Tabl;
    TButton *Button6, *Button7; // "Добавить", "Удалить"
    TExSpinEdit *ExIn, *ExOut, *ExOutDef, *exStep;
    TExCheckListBox *ExCheckListBox1, *ExCheckListBox2, *ExCheckListBox3;
    TButton *btInv1, *btInv2, *btInv3;
    TSpeedButton* sbCou;
    TLabel *exlb1, *exlb2, *exlb3, *exlb4, *exlb5, *exlb7;
    TCheckBox *CheckBox1, *CheckBox2, *CheckBox3; // hidden, no behaviour
    TButton* Button5;                             // "Нарисовать логику" (hidden)

    // One row of the table.
    struct TRow {
        int32_t Input = 0;
        int32_t Output = 0;
        int32_t Mask = 65535;
    };
    std::vector<TRow> Rows;
    TCaseElement* CurrentElement = nullptr;
    // 0 byte CASE, 1 16-bit, 2 with masks, 3 of ranges.
    uint8_t CaseKind = 0;
    int InputBitCount = 8;
    static constexpr int MaxRows = 65536;

    void LoadEntity(TCaseElement* element);
    void StoreEntity(TCaseElement* element);
    // Sets a bit view from its spin edit: 1 input, 2 output, 3 default.
    void ShowBits(int which);
    // The text a cell shows (empty beyond the rows).
    AnsiString CellText(int col, int row) const;

    void FormActivate(TObject* Sender);
    // "Добавить" appends an output (at most 16), "Удалить" removes the last
    // one (never the only one); both act at once.
    void Button3Click(TObject* Sender) override;
    void Button4Click(TObject* Sender) override;
    void TablClick(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void ExInChange(TObject* Sender);
    void ExOutChange(TObject* Sender);
    void ExOutDefChange(TObject* Sender);
    void ExCheckListBox1ClickCheck(TObject* Sender);
    void ExCheckListBox2ClickCheck(TObject* Sender);
    void ExCheckListBox3ClickCheck(TObject* Sender);
    void btInv1Click(TObject* Sender);
    void btInv2Click(TObject* Sender);
    void btInv3Click(TObject* Sender);
    void sbCouClick(TObject* Sender);
    void Button5Click(TObject* Sender);
    // Whether the counter fill is being set up (its second step is next).
    bool FillPending() const;

private:
    void ShowRowCount();
    // The labels and edits of the table page for the kind, or for setting
    // up the fill.
    void ShowFillSetup(bool setup);
    TRow* Selected();
    static int BitsOf(TExCheckListBox* box, int count);
    static void ShowValue(TExCheckListBox* box, int value, int count);
    bool filling_ = false;
};

extern TForm10* Form10;
