#pragma once
// TOptionDlg: the program's settings ("Изменение конфигурации"): the colours
// of the scheme editor and of the state-machine editor, grid and autosave,
// the sheet size, the checks and sortings of translation and debugging, and
// the names of the work files. Colours take effect at once (the open windows
// show them at their next repaint); "Отмена" restores the colours of the
// scheme editor and the other values it saved when the dialog was shown.
// Two previews show a scheme file and a state-machine file in the current
// colours; a rubber band in them shows the dashed-line colour.
//
// Five options are stored values of the frame's form storage, which the
// frame hands the dialog (FormS); without one they read as unset.

#include <memory>
#include <vector>

#include "fsm/FsmView.h"
#include "model/ModelHooks.h"
#include "platform/Variant.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TExCheckListBox;
class TExSpinEdit;
class TFSMScheme;
class TFormStorage;
class TScheme;

class TOptionDlg : public TForm {
public:
    explicit TOptionDlg(TComponent* owner);
    ~TOptionDlg() override;

    TPageControl* PageControl1;
    TTabSheet *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4; // "Цвета", "Другие параметры", "Файлы", "Цвета FSM"
    TPanel* Panel1;
    TButton *OKBtn, *CancelBtn, *Button1; // "OK", "Отмена", "Сброс"
    TBitBtn* BitBtn10;                    // "Открыть"
    // The colour buttons by number: BitBtn[1] .. BitBtn[22] (BitBtn[10] is null).
    TBitBtn* BitBtn[23] = {};
    TScrollBox *ScrollBox1, *ScrollBox2;
    TPaintBox *PaintBox1, *PaintBox2;
    TColorDialog* ColorDialog1;
    TOpenDialog* OpenDialog1;
    TCheckBox *CheckBox1, *CheckBox2, *cbCheckBit, *cbCheckSchemes, *cbSortBits, *cbTextFile;
    TExSpinEdit *ExSpinEdit1, *ExSpinEdit2, *ExSpinEdit3, *AutoInterval;
    TExCheckListBox* SortDr;
    TEdit *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;

    // The frame's form storage (not owned).
    TFormStorage* FormS = nullptr;
    // The documents the previews show.
    std::unique_ptr<TScheme> PreviewScheme;
    std::unique_ptr<TFSMScheme> PreviewFSM;
    int PreviewGridStep = 10;

    void FormShow(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void BitBtn10Click(TObject* Sender);
    // A colour button: the colour dialog for its setting.
    void ColourClick(int button);
    void SortDrClickCheck(TObject* Sender);
    void PaintBox1Paint(TObject* Sender);
    void PaintBox2Paint(TObject* Sender);
    void PaintBoxMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PaintBoxMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void PaintBoxMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    // What the previews' documents draw on: the dialog's two paint boxes
    // (their captions are not the dialog's).
    class TPreviewOwner : public IEntityOwner, public IFsmView {
    public:
        explicit TPreviewOwner(TOptionDlg* dialog) : dialog_(dialog) {}
        TCanvas* GetCanvas() override;
        TCanvas* FsmCanvas() override;

    private:
        TOptionDlg* dialog_;
    };
    TPreviewOwner previewOwner_{this};
    void MakeColourPages();
    void MakeOtherPage();
    void MakeFilesPage();
    void LoadStored();
    Variant Stored(const char* name, const Variant& def) const;
    void Store(const char* name, const Variant& value);
    void DrawBand();
    // The file last opened in each preview ("Открыть" cancelled loads it again).
    AnsiString schemeFile_, fsmFile_;
    // Saved when the dialog is shown, written back by "Отмена".
    std::vector<TColor> savedColours_;
    int savedGrid_ = 0, savedWidth_ = 0, savedHeight_ = 0;
    bool savedGridVisible_ = false, savedCheckOrder_ = false;
    std::vector<Variant> savedStored_;
    // The rubber band: on, on which box, its rectangle and last point.
    bool band_ = false;
    TPaintBox* bandBox_ = nullptr;
    TRect bandRect_;
    TPoint bandPoint_;
};

extern TOptionDlg* OptionDlg;
