#include "editor/ShowExport.h"

#include "document/InitModule.h"
#include "platform/Exceptions.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"

TShowExportDlg* ShowExportDlg = nullptr;

TShowExportDlg::TShowExportDlg(TComponent* owner) : TForm(owner), startDir_(GetCurrentDir()) {
    SetName("ShowExportDlg");
    SetCaption("Промежуточные файлы трансляции"_a);
    SetFormStyle(fsStayOnTop);
    SetPosition(poDesktopCenter);
    SetClientWidth(450);
    SetClientHeight(370);
    // The window never gets smaller than it was designed.
    Constraints()->SetMinWidth(ClientWidth());
    Constraints()->SetMinHeight(ClientHeight());

    Label1 = NewControl<TLabel>(this, this, "Label1");
    Label1->SetCaption("Файл"_a);
    Label1->SetBounds(12, 12, 40, 16);
    ComboBox1 = NewControl<TComboBox>(this, this, "ComboBox1");
    ComboBox1->SetStyle(csDropDownList);
    ComboBox1->SetBounds(56, 8, 200, 21);
    ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };

    Bevel1 = NewControl<TBevel>(this, this, "Bevel1");
    Bevel1->SetShape(bsFrame);
    Bevel1->SetBounds(8, 36, 434, 286);
    Bevel1->SetAnchors(akLeft | akTop | akRight | akBottom);
    Memo1 = NewControl<TMemo>(this, this, "Memo1");
    Memo1->SetScrollBars(ssBoth);
    Memo1->SetWordWrap(false);
    Memo1->SetBounds(12, 40, 426, 278);
    Memo1->SetAnchors(akLeft | akTop | akRight | akBottom);

    OKBtn = NewControl<TButton>(this, this, "OKBtn");
    OKBtn->SetCaption("Да"_a);
    OKBtn->SetDefault(true);
    OKBtn->SetBounds(282, 332, 75, 25);
    OKBtn->SetAnchors(akRight | akBottom);
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
    CancelBtn = NewControl<TButton>(this, this, "CancelBtn");
    CancelBtn->SetCaption("Отмена"_a);
    CancelBtn->SetCancel(true);
    CancelBtn->SetBounds(366, 332, 75, 25);
    CancelBtn->SetAnchors(akRight | akBottom);
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };

    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnHide = [this](TObject*) {
        reported_ = AnsiString();
        saveRefused_ = false;
    };
}

TShowExportDlg::~TShowExportDlg() {
    if (ShowExportDlg == this) ShowExportDlg = nullptr;
}

void TShowExportDlg::FormActivate(TObject* Sender) {
    // The activation that follows the report of a failed save keeps the
    // edits where they are, rather than asking about them again at once.
    if (saveRefused_) {
        saveRefused_ = false;
        return;
    }
    // The comments file is not offered: it is rebuilt from the schemes on
    // every run and nobody edits it by hand.
    TStrings* items = ComboBox1->Items();
    items->BeginUpdate();
    items->Clear();
    items->Add(InitModule->DriverTypesFile);
    items->Add(InitModule->DriversFile);
    items->Add(InitModule->SignalsFile);
    items->Add(InitModule->ElementsFile);
    items->EndUpdate();
    ComboBox1->SetItemIndex(0);
    ComboBox1Change(Sender);
}

bool TShowExportDlg::OfferSave(const AnsiString& question) {
    if (!Memo1->Modified) return true;
    if (MessageDlg(question, mtWarning, mbYesNo) != mrYes || currentFile_.IsEmpty()) return true;
    try {
        Memo1->Lines()->SaveToFile(currentFile_);
    } catch (const EFCreateError&) {
        saveRefused_ = true;
        ShowMessage(CannotCreateFileText(currentFile_));
        return false;
    }
    Memo1->Modified = false;
    return true;
}

void TShowExportDlg::ComboBox1Change(TObject*) {
    if (!OfferSave("Файл был изменен! Сохранить?"_a)) {
        // The edits stay, with the name of the file they belong to.
        ComboBox1->SetItemIndex(ComboBox1->Items()->IndexOf(ExtractFileName(currentFile_)));
        return;
    }
    AnsiString dir = WorkDirectory ? WorkDirectory() : AnsiString();
    if (dir.IsEmpty()) dir = startDir_;
    const AnsiString path = PathJoin(dir, ComboBox1->Text());
    // A file that cannot be read leaves the memo and the current file as
    // they were, and says why.
    TStringList lines;
    AnsiString failure;
    if (!FileExists(path) && !DirectoryExists(path)) {
        failure = "Промежуточных файлов трансляции пока нет: не найден файл "_a + path;
    } else {
        try {
            lines.LoadFromFile(path);
        } catch (const Exception&) {
            failure = "Невозможно прочитать файл "_a + path;
        }
    }
    if (!failure.IsEmpty()) {
        if (path == reported_) return;
        reported_ = path;
        MessageDlg(failure, mtInformation, mbOKOnly);
        return;
    }
    reported_ = AnsiString();
    Memo1->SetLines(&lines);
    Memo1->Modified = false;
    currentFile_ = path;
}

void TShowExportDlg::OKBtnClick(TObject*) {
    // A file that could not be written keeps the viewer open with its edits.
    if (OfferSave("Файл изменен! Сохранить?"_a)) Close();
}

void TShowExportDlg::CancelBtnClick(TObject*) {
    Memo1->Modified = false;
    Close();
}
