#pragma once
// TProjectDlg: the project's settings: its file, name, iteration count,
// conversion flag and the list of its scheme files. The caller sets Mode
// (0 new project, 1 open project, 2 properties of the open project) and
// Project (the edited project, null for a new one) before ShowModal.
//
// The dialog edits a project of its own, so the list operations check their
// input as the real project does (duplicate bare names, unusable names);
// "Да" checks the fields and, for Mode 2, applies them to Project at once.
// For a new project the caller makes the project and calls StoreToProject.

#include <memory>

#include "controls/gui/EXSpin.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TProject;

class TProjectDlg : public TForm {
public:
    enum : int { ModeNew = 0, ModeOpen = 1, ModeProperties = 2 };

    explicit TProjectDlg(TComponent* owner);
    ~TProjectDlg() override;

    int Mode = ModeNew;
    TProject* Project = nullptr;

    TLabel* Label1;
    TEdit* FileEdit;
    TButton* BrowseBtn;
    TLabel* Label2;
    TEdit* NameEdit;
    TLabel* Label3;
    TExSpinEdit* IterEdit;
    TCheckBox* ConvertCheck;
    TLabel* Label4;
    TListBox* FileList;
    TButton* AddBtn;
    TButton* DeleteBtn;
    TButton* UpBtn;
    TButton* DownBtn;
    TButton* OKBtn;
    TButton* CancelBtn;
    TSaveDialog* ProjectFileDialog;
    TOpenDialog* SchemeFileDialog;

    // Copies the dialog's fields into a project (nothing for null).
    void StoreToProject(TProject* project);

    void FormShow(TObject* Sender);
    void BrowseBtnClick(TObject* Sender);
    void AddBtnClick(TObject* Sender);
    void DeleteBtnClick(TObject* Sender);
    void UpBtnClick(TObject* Sender);
    void DownBtnClick(TObject* Sender);
    void OKBtnClick(TObject* Sender);

    // The entries the dialog now lists (full paths, in order).
    int FileCount() const;
    AnsiString File(int index) const;

private:
    void ShowFiles();
    void UpdateButtons();
    // The iteration count typed, or 0 when the text is not one of 1..32.
    int TypedIterations() const;
    // The project file named in the dialog: a name with none of the
    // program's extensions gets ".tvp", since a file is opened as the kind
    // its extension names. The extension of another kind of the program's
    // files, in ext, cannot be a project's: the name is "" then.
    AnsiString TypedProjectFile(AnsiString& ext) const;
    std::unique_ptr<TProject> work_;
    // The file chosen in the file dialog, which asked before replacing it.
    AnsiString confirmedFile_;
};

extern TProjectDlg* ProjectDlg;
