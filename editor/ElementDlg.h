#pragma once
// The element property dialogs' common part and the generic dialog.
//
// Every property dialog is filled from its element (LoadEntity), shown
// modally and, when the user presses "Применить", written back (StoreEntity)
// between a hide and a show of the element, which the element's properties
// operation does. "Применить" refuses an order number that is not a whole
// number before anything is stored, so a store never stops half-way.
//
// TElementPages: the frame that the generic dialog, the delay dialog and
// the CASE table editor share: the page "Параметры" (name, type keyword,
// order number), the page "Выводы" (the pin grid; name and inversion of the
// selected pin; "Добавить" and "Удалить"), "Применить" and "Отменить". The
// pin buttons change the element at once, whatever the dialog's result;
// they update only the grid rows of the pins they changed, so whatever else
// was typed in this showing stays.
//
// TForm4 ("Свойства элемента"): the generic dialog of the AND and OR
// elements, the DRS trigger, the filter, and of symbols and state machines
// when their properties are edited. TForm2: the same with output-pin buttons
// and their limits by kind (counters, decoder, commutator), or with the
// buttons hidden (XOR, D8 trigger, byte comparator).

#include <functional>

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

class TElement;
class TInOut;

// ---- helpers of the dialogs that edit an order number --------------------------------------
namespace orderbox {
// The number of devices of the element's scheme when it is shown in a
// window (the active scheme window of the element), else 0.
int OfferedCount(TElement* element);
// Offers "1" .. the count in the list, each once; emptyFirst empties it first.
void Offer(TComboBox* order, TElement* element, bool emptyFirst);
// Whether the text reads as a whole number; otherwise says
// " Неправильно введены параметры! " and puts the focus on the box.
bool Accept(TComboBox* order);
// The dialogs' own check: with "Проверять порядок элементов" on, another
// device of the element's scheme window with that number is reported
// ("В схеме уже существует элемент с номером " + the text) and the number
// stays; otherwise the element takes it (through its own check).
void StoreChecked(TComboBox* order, TElement* element);
// The element's own check only.
void StorePlain(TComboBox* order, TElement* element);
} // namespace orderbox

// The button row of a property dialog: "Применить" (default, OK) at the
// left and "Отменить" (cancel) at the right edge of the form, at that height.
void MakeApplyCancel(TForm* form, const char* applyName, const char* cancelName, int top, int width, TButton*& apply,
                     TButton*& cancel);

// Builds the groups "Имя элемента", "Тип элемента" (disabled) and "Порядок
// элемента" across a page of that width.
void BuildParameterGroups(TComponent* owner, TWinControl* page, int pageWidth, TEdit*& edit2, TComboBox*& comboBox2,
                          TComboBox*& order);

class TElementPages : public TForm {
public:
    TElementPages(TComponent* owner, const AnsiString& caption, int clientWidth, int clientHeight);

    TPageControl* PageControl1;
    TTabSheet *TabSheet1, *TabSheet2; // "Параметры", "Выводы"
    TEdit* Edit2;                     // element name
    TComboBox* ComboBox2;             // type keyword (shown only)
    TComboBox* Order;                 // order number
    TStringGrid* InSG;                // "Имя", "Тип", "Инверсия"
    TLabel *Label1, *Label2;          // "Имя вывода", "Инверсия"
    TEdit* Edit1;                     // name of the selected pin
    TComboBox* ComboBox1;             // "Нет", "Да"
    TButton *Button3, *Button4;       // "Добавить", "Удалить"
    TButton *Button1, *Button2;       // "Применить", "Отменить"

    // The element last filled from (not owned).
    TElement* Entity = nullptr;

    void FormActivate(TObject* Sender);
    void InSGClick(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void ComboBox1Change(TObject* Sender);
    void Button1Click(TObject* Sender);
    virtual void Button3Click(TObject* Sender) { (void)Sender; }
    virtual void Button4Click(TObject* Sender) { (void)Sender; }

    // The grid row of a pin (pins from row 1); 0 when the element has no pins.
    int PinRows() const { return pinRows_; }

protected:
    // Name, type keyword, order number and the pin grid.
    void LoadParameters(TElement* element, bool emptyOrderList);
    void FillPins(TElement* element);
    // Each pin's name and inversion from its grid row.
    void StorePins(TElement* element);
    // The name when the field is not empty.
    void StoreName(TElement* element);
    // The grid follows a pin appended at the end / the pin removed from
    // position index.
    void AppendPinRow(TInOut* pin);
    void RemovePinRow(int index);
    // Whether the grid's cells and the selected pin's controls may be changed.
    void SetPinsEditable(bool editable);
    // A pin button's change: the element is hidden, changed, its nets rebuilt
    // and shown again; its document is marked modified.
    void ChangeAtOnce(TElement* element, const std::function<void()>& change);
    // Information box with a single Yes button.
    static void Refuse(const char* text);

private:
    void SetRow(int row, TInOut* pin);
    int pinRows_ = 0;
    bool pinsEditable_ = true;
};

class TForm4 : public TElementPages {
public:
    explicit TForm4(TComponent* owner);
    ~TForm4() override;

    void LoadEntity(TElement* element);
    void StoreEntity(TElement* element);
    // "Добавить" appends an input (at most 8), "Удалить" removes the last
    // input (never the only one).
    void Button3Click(TObject* Sender) override;
    void Button4Click(TObject* Sender) override;

protected:
    void ShowPinButtons(bool shown);
};

class TForm2 : public TForm4 {
public:
    explicit TForm2(TComponent* owner);
    ~TForm2() override;

    // For the kinds whose pins the dialog must not change.
    void HideControls();
    // "Добавить" appends an output (a commutator gets one more data pair),
    // "Удалить" removes the last output (never the only one).
    void Button3Click(TObject* Sender) override;
    void Button4Click(TObject* Sender) override;
    // The most outputs the kind may have.
    static int MaxOutputs(const TElement* element);
};

extern TForm4* Form4;
extern TForm2* Form2;
