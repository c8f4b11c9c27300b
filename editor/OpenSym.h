#pragma once
// TfmOpenSymbolFile: the dialog in which the user picks the symbol file (a
// scheme saved as a symbol, ".tvy") and the name of the symbol elements that
// the scheme window places next. Widened, it shows the symbol as it will look
// on the scheme. The window reads the file name and SymbolName at every
// placing click; with "Вставка с увеличением" the names are numbered as the
// element dialog numbers elements.

#include <memory>

#include "controls/gui/ExLabel.h"
#include "controls/gui/ToolEdit.h"
#include "platform/Bitmap.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TfmOpenSymbolFile : public TForm {
public:
    explicit TfmOpenSymbolFile(TComponent* owner);
    ~TfmOpenSymbolFile() override;

    TExLabel* ExLabel1;
    TFilenameEdit* FilenameEdit;
    TExLabel* ExLabel2;
    TEdit* Edit1;
    TCheckBox* InsertIncrement;
    TButton *Button1, *Button2, *Button3;
    TScrollBox* ScrollBox1;
    TPaintBox* PaintBox1;

    // The name given to each placed symbol.
    AnsiString SymbolName;
    // The running number of the names while InsertIncrement is ticked; "OK"
    // sets it to 0.
    int InsertCounter = 0;

    void FormShow(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void FilenameEditChange(TObject* Sender);
    // Accepts a file whose bare name holds ".tvy" after its first character.
    void Button1Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void PaintBox1Paint(TObject* Sender);
    bool Expanded() const;
    // The file the preview shows (empty when none).
    const AnsiString& PreviewFile() const { return previewFile_; }

private:
    // Loads the symbol of the named file once and draws it into the
    // preview's picture; the picture is what painting shows.
    void BuildPreview();
    std::unique_ptr<TBitmap> preview_;
    AnsiString previewFile_;
};

extern TfmOpenSymbolFile* fmOpenSymbolFile;
