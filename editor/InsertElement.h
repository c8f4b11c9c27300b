#pragma once
// TInsertElementForm: the dialog in which the user chooses the logic element
// that the scheme window places next: its kind, name, pin count or delay,
// and whether successive elements get numbered names. Widened, it shows the
// element as it will look on the scheme. The dialog never touches a scheme:
// the window reads its values at every placing click.

#include "controls/gui/EXSpin.h"
#include "model/ElementKinds.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"


class TInsertElementForm : public TForm {
public:
    explicit TInsertElementForm(TComponent* owner);
    ~TInsertElementForm() override;

    TLabel* Label2;
    TComboBox* ComboBox1;
    TLabel* Label1;
    TEdit* Edit1;
    TExSpinEdit* CSpinEdit2;
    TLabel *Label4, *Label6; // "Входов", "Выходов"
    TExSpinEdit* TimerValue;
    TLabel *Label3, *Label5; // "Задержка", "мсек"
    TButton *Button1, *Button2, *Button3;
    TPaintBox* PaintBox1;
    TCheckBox* InsertIncrement;

    // The running number appended to the names while InsertIncrement is
    // ticked; the scheme window reads it and counts it up. "Вставить" sets it to 0.
    int InsertCounter = 0;

    int GetPinCount() const;
    int GetDelay() const;
    AnsiString GetElementName() const;

    // The kinds in list order: those that the table of element kinds
    // (model/ElementKinds.h) offers, at the positions it gives them.
    static constexpr int KindCount = kOfferedKindCount;
    struct Kind {
        const char* Entry;       // the list entry (shown in double quotes)
        const char* DefaultName; // the name the dialog proposes
        int MaxCount;            // 0: the kind has no pin count
        bool CountsOutputs;      // "Выходов" rather than "Входов"
        bool HasDelay;
        TEntityKind EntityKind;
    };
    static const Kind& KindAt(int index);
    // Makes one element of the kind with the count and the delay applied as
    // insertion applies them; null for an index outside the list.
    static TElement* MakeElement(int index, int count, int delay, IEntityOwner* owner);

    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    // A kind chosen (or the dialog shown): its controls, its name proposed
    // over what the name field held, and its preview.
    void ComboBox1Change(TObject* Sender);
    // A new count and a repaint draw the preview again and leave the name
    // field alone: a name typed for the kind is not lost.
    void CSpinEdit2Change(TObject* Sender);
    void TimerValueChange(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void PaintBox1Paint(TObject* Sender);
    bool Expanded() const;

private:
    void FillPreview();
    // Black, then the element of the kind chosen when the preview is open.
    void PaintPreview();
    void DrawKind();
    void ReportRebuildFailure();
    // Centres the element on the preview area and draws it there once.
    void DrawPreview(TElement* element);
};

extern TInsertElementForm* InsertElementForm;
