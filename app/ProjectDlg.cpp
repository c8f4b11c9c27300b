#include "app/ProjectDlg.h"

#include <algorithm>

#include "app/FileKinds.h"
#include "document/Project.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"

TProjectDlg* ProjectDlg = nullptr;

namespace {

TButton* MakeButton(TProjectDlg* dlg, const char* name, const AnsiString& caption, int x, int y, int w = 75) {
    TButton* b = NewControl<TButton>(dlg, dlg, name);
    b->SetCaption(caption);
    b->SetBounds(x, y, w, 25);
    return b;
}

TLabel* MakeLabel(TProjectDlg* dlg, const char* name, const AnsiString& caption, int x, int y) {
    TLabel* l = NewControl<TLabel>(dlg, dlg, name);
    l->SetCaption(caption);
    l->SetLeft(x);
    l->SetTop(y);
    return l;
}

} // namespace

TProjectDlg::TProjectDlg(TComponent* owner) : TForm(owner), work_(std::make_unique<TProject>(nullptr)) {
    SetName("ProjectDlg");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(420);
    SetClientHeight(330);

    Label1 = MakeLabel(this, "Label1", "Файл проекта"_a, 8, 12);
    FileEdit = NewControl<TEdit>(this, this, "FileEdit");
    FileEdit->SetBounds(112, 8, 268, 21);
    BrowseBtn = MakeButton(this, "BrowseBtn", "...", 384, 7, 28);
    BrowseBtn->SetHeight(23);
    BrowseBtn->OnClick = [this](TObject* s) { BrowseBtnClick(s); };

    Label2 = MakeLabel(this, "Label2", "Имя проекта"_a, 8, 40);
    NameEdit = NewControl<TEdit>(this, this, "NameEdit");
    NameEdit->SetBounds(112, 36, 300, 21);

    Label3 = MakeLabel(this, "Label3", "Число итераций"_a, 8, 68);
    IterEdit = NewControl<TExSpinEdit>(this, this, "IterEdit");
    IterEdit->SetButtonKind(bkStandard);
    IterEdit->MinValue = 1;
    IterEdit->MaxValue = TProject::MaxIterations;
    IterEdit->SetBounds(112, 64, 66, 21);
    ConvertCheck = NewControl<TCheckBox>(this, this, "ConvertCheck");
    ConvertCheck->SetCaption("Конвертировать файл контроллера"_a);
    ConvertCheck->SetBounds(200, 66, 212, 17);

    Label4 = MakeLabel(this, "Label4", "Файлы проекта"_a, 8, 96);
    FileList = NewControl<TListBox>(this, this, "FileList");
    FileList->SetBounds(8, 114, 320, 170);
    FileList->OnClick = [this](TObject*) { UpdateButtons(); };
    AddBtn = MakeButton(this, "AddBtn", "Добавить"_a, 336, 114);
    AddBtn->OnClick = [this](TObject* s) { AddBtnClick(s); };
    DeleteBtn = MakeButton(this, "DeleteBtn", "Удалить"_a, 336, 144);
    DeleteBtn->OnClick = [this](TObject* s) { DeleteBtnClick(s); };
    UpBtn = MakeButton(this, "UpBtn", "Вверх"_a, 336, 174);
    UpBtn->OnClick = [this](TObject* s) { UpBtnClick(s); };
    DownBtn = MakeButton(this, "DownBtn", "Вниз"_a, 336, 204);
    DownBtn->OnClick = [this](TObject* s) { DownBtnClick(s); };

    OKBtn = MakeButton(this, "OKBtn", "Да"_a, 252, 296);
    OKBtn->SetDefault(true);
    OKBtn->ModalResult = mrOk;
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
    CancelBtn = MakeButton(this, "CancelBtn", "Отмена"_a, 337, 296);
    CancelBtn->SetCancel(true);
    CancelBtn->ModalResult = mrCancel;

    // The check box is as wide as its text in the program's font; the
    // dialog widens to hold it, its right-hand controls moving along.
    const int extra = std::max(0, ConvertCheck->Left() + ConvertCheck->Width() + 8 - ClientWidth());
    if (extra > 0) {
        SetClientWidth(ClientWidth() + extra);
        for (TControl* c : std::initializer_list<TControl*>{FileEdit, NameEdit, FileList})
            c->SetWidth(c->Width() + extra);
        for (TControl* c : std::initializer_list<TControl*>{BrowseBtn, AddBtn, DeleteBtn, UpBtn, DownBtn, OKBtn, CancelBtn})
            c->SetLeft(c->Left() + extra);
    }

    ProjectFileDialog = NewComponent<TSaveDialog>(this, "ProjectFileDialog");
    ProjectFileDialog->Title = "Файл проекта"_a;
    ProjectFileDialog->Filter = "Файлы проектов|*.tvp;*.prj|Все файлы|*.*"_a;
    ProjectFileDialog->DefaultExt = "tvp";
    ProjectFileDialog->Options |= OpenOption(ofOverwritePrompt);
    SchemeFileDialog = NewComponent<TOpenDialog>(this, "SchemeFileDialog");
    SchemeFileDialog->Title = "Файлы проекта"_a;
    SchemeFileDialog->Filter = "Файлы схем|*.tvs;*.sch|Все файлы (*.*)|*.*"_a;
    SchemeFileDialog->DefaultExt = "tvs";
    SchemeFileDialog->Options |= OpenOption(ofAllowMultiSelect);

    work_->OnFilesChanged = [this](TProject*) { ShowFiles(); };
    OnShow = [this](TObject* s) { FormShow(s); };
}

TProjectDlg::~TProjectDlg() {
    if (ProjectDlg == this) ProjectDlg = nullptr;
}

int TProjectDlg::FileCount() const { return work_->GetFileCount(); }
AnsiString TProjectDlg::File(int index) const { return work_->GetFile(index); }

void TProjectDlg::ShowFiles() {
    const int keep = FileList->ItemIndex();
    TStrings* items = FileList->Items();
    items->BeginUpdate();
    items->Clear();
    for (int i = 0; i < work_->GetFileCount(); ++i) items->Add(work_->GetFile(i));
    items->EndUpdate();
    if (keep >= 0 && keep < items->Count()) FileList->SetItemIndex(keep);
    UpdateButtons();
}

void TProjectDlg::UpdateButtons() {
    const int i = FileList->ItemIndex();
    const int n = FileList->Items()->Count();
    DeleteBtn->SetEnabled(i >= 0);
    UpBtn->SetEnabled(i > 0);
    DownBtn->SetEnabled(i >= 0 && i < n - 1);
}

int TProjectDlg::TypedIterations() const {
    if (!IterEdit->TextIsNumber()) return 0;
    const int n = IterEdit->AsInteger();
    return n >= 1 && n <= TProject::MaxIterations ? n : 0;
}

void TProjectDlg::FormShow(TObject*) {
    static const char* const captions[] = {"Новый проект", "Открыть проект", "Свойства проекта"};
    SetCaption(Utf8ToAnsi(captions[Mode >= ModeNew && Mode <= ModeProperties ? Mode : ModeNew]));
    // The working copy starts from the edited project, or from a new
    // project's defaults.
    TProject defaults(nullptr);
    const TProject* from = (Mode == ModeProperties && Project) ? Project : &defaults;
    work_->SetFileName(from->GetFileName());
    while (work_->GetFileCount() > 0) work_->DeleteFile(0);
    for (int i = 0; i < from->GetFileCount(); ++i) work_->AddFile(from->GetFile(i));
    FileEdit->SetText(from->GetFileName());
    confirmedFile_ = AnsiString();
    NameEdit->SetText(from->ProjectName);
    IterEdit->SetText(IntToStr(from->Iterations));
    ConvertCheck->SetChecked(from->Convert != 0);
    ShowFiles();
    SetActiveControl(FileEdit);
}

void TProjectDlg::BrowseBtnClick(TObject*) {
    ProjectFileDialog->FileName = FileEdit->Text();
    if (!ProjectFileDialog->Execute()) return;
    FileEdit->SetText(ProjectFileDialog->FileName);
    confirmedFile_ = ProjectFileDialog->FileName;
}

void TProjectDlg::AddBtnClick(TObject*) {
    // Names are added relative to the project file being edited.
    work_->SetFileName(FileEdit->Text());
    if (!SchemeFileDialog->Execute()) return;
    TStrings* chosen = SchemeFileDialog->Files();
    if (chosen->Count() == 0) {
        work_->AddFile(SchemeFileDialog->FileName);
        return;
    }
    for (int i = 0; i < chosen->Count(); ++i) work_->AddFile((*chosen)[i]);
}

void TProjectDlg::DeleteBtnClick(TObject*) {
    const int i = FileList->ItemIndex();
    if (i < 0) return;
    work_->DeleteFile(i);
    FileList->SetItemIndex(std::min(i, FileList->Items()->Count() - 1));
    UpdateButtons();
}

void TProjectDlg::UpBtnClick(TObject*) {
    const int i = FileList->ItemIndex();
    if (i <= 0) return;
    work_->MoveFileUp(i);
    ShowFiles();
    FileList->SetItemIndex(i - 1);
    UpdateButtons();
}

void TProjectDlg::DownBtnClick(TObject*) {
    const int i = FileList->ItemIndex();
    if (i < 0 || i >= FileList->Items()->Count() - 1) return;
    work_->MoveFileDown(i);
    ShowFiles();
    FileList->SetItemIndex(i + 1);
    UpdateButtons();
}

AnsiString TProjectDlg::TypedProjectFile(AnsiString& ext) const {
    const AnsiString file = FileEdit->Text().Trim();
    ext = AnsiString();
    // The edited project keeps the name it has, whatever it is.
    if (file.IsEmpty() || (Mode == ModeProperties && Project && Project->GetFileName() == file)) return file;
    // A typed name is taken from the current folder and kept as a full
    // path: the project stays one file wherever the program starts next.
    switch (FileKindOf(file)) {
    case TFileKind::Project: return ExpandFileName(file);
    case TFileKind::None: return ExpandFileName(file + ".tvp");
    default: ext = ExtractFileExt(file); return AnsiString();
    }
}

void TProjectDlg::OKBtnClick(TObject*) {
    AnsiString ext;
    const AnsiString file = TypedProjectFile(ext);
    if (!ext.IsEmpty()) {
        ShowMessage("Файл проекта не может иметь расширение "_a + ext);
        ModalResult = mrNone;
        return;
    }
    if (file.IsEmpty()) {
        ShowMessage("Не задано имя файла проекта"_a);
        ModalResult = mrNone;
        return;
    }
    if (TypedIterations() == 0) {
        ShowMessage("Число итераций должно быть от 1 до 32"_a);
        ModalResult = mrNone;
        return;
    }
    // The project is written to this file: another project's file there
    // would be lost. A file the user agreed to replace in the file dialog is
    // not asked about twice.
    const bool sameFile = Mode == ModeProperties && Project && Project->GetFileName() == file;
    if (!sameFile && file != confirmedFile_ && !ConfirmOverwrite(file)) {
        ModalResult = mrNone;
        return;
    }
    if (Mode == ModeProperties) StoreToProject(Project);
}

void TProjectDlg::StoreToProject(TProject* project) {
    if (!project) return;
    AnsiString ext;
    const AnsiString file = TypedProjectFile(ext);
    if (!file.IsEmpty() && project->GetFileName() != file) project->SetFileName(file);
    const AnsiString name = NameEdit->Text();
    if (project->ProjectName != name) {
        project->ProjectName = name;
        project->Modified = true;
    }
    if (int n = TypedIterations(); n != 0 && project->Iterations != n) {
        project->Iterations = uint16_t(n);
        project->Modified = true;
    }
    const int32_t convert = ConvertCheck->Checked() ? 1 : 0;
    if ((project->Convert != 0) != (convert != 0)) {
        project->Convert = convert;
        project->Modified = true;
    }
    bool sameList = project->GetFileCount() == work_->GetFileCount();
    for (int i = 0; sameList && i < work_->GetFileCount(); ++i) sameList = project->GetFile(i) == work_->GetFile(i);
    if (!sameList) {
        while (project->GetFileCount() > 0) project->DeleteFile(0);
        for (int i = 0; i < work_->GetFileCount(); ++i) project->AddFile(work_->GetFile(i));
    }
}
