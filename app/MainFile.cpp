// The frame's file, project, translation and print commands.
#include <algorithm>
#include <memory>

#include "app/Main.h"
#include "app/ProjectDlg.h"
#include "app/RunScope.h"
#include "document/InitModule.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "editor/qrprint.h"
#include "fsm/fsmScheme.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "translator/Logfile.h"
#include "translator/TranslatorHost.h"

// ---- scheme and state-machine files --------------------------------------------------------

void TMainForm::OpenFileByKind(const AnsiString& fileName, bool recoveryToo) {
    switch (FileKindOf(fileName)) {
    case TFileKind::Fsm: OpenFSMWindow(fileName); return;
    case TFileKind::Scheme: CreateMDIChild(fileName); return;
    case TFileKind::Recovery:
        if (recoveryToo) {
            OpenSchemeWindow(fileName, true);
            return;
        }
        break;
    default: break;
    }
    ShowMessage(" Не мой файл схемы!!! "_a);
}

void TMainForm::FileNew1Execute(TObject*) {
    StartInProjectFolder(OpenDialog);
    if (OpenDialog->Execute()) OpenFileByKind(OpenDialog->FileName, false);
}

void TMainForm::FileOpen1Execute(TObject*) {
    StartInProjectFolder(OpenDialog);
    if (OpenDialog->Execute()) OpenFileByKind(OpenDialog->FileName, true);
}

void TMainForm::StartInProjectFolder(TOpenDialog* dialog) {
    // The name proposed last keeps only its bare name, so the folder is the
    // project's; without a project the dialog starts where it was.
    if (!CurrentProject) return;
    dialog->InitialDir = CurrentProject->GetDir();
    dialog->FileName = ExtractFileName(dialog->FileName);
}

void TMainForm::FileClose1Execute(TObject*) {
    if (!ActiveEditor()) return;
    TForm* window = ActiveMDIChild();
    // Its question names no file: a minimized window shows itself first.
    if (window->WindowState() == wsMinimized) BringBack(window);
    window->Close();
}

void TMainForm::FileExit1Execute(TObject*) { Close(); }

AnsiString TMainForm::AskSaveName(bool fsm) {
    // The dialog gives back the name the document's kind writes, and asks
    // about that file, not about the name as typed.
    if (fsm) SaveDialog1->WrittenName = [](const AnsiString& chosen, int) { return FsmSaveName(chosen); };
    else SaveDialog1->WrittenName = SchemeSaveName;
    return SaveDialog1->Execute() ? SaveDialog1->FileName : AnsiString();
}

namespace {

// Saves the document under the name. A name that cannot be written is not
// taken on: the document keeps the name it had (none, for an untitled one).
template <class Document>
bool SaveUnder(Document* doc, const AnsiString& name) {
    const AnsiString old = doc->GetFileName();
    doc->SetFileName(name);
    if (doc->SaveToFile()) return true;
    doc->SetFileName(old);
    return false;
}

} // namespace

bool TMainForm::SaveWindow(TForm* child) {
    if (auto* s = dynamic_cast<ISchemeChild*>(child)) {
        TScheme* doc = s->SchemeDocument();
        if (doc->GetFileName().IsEmpty()) {
            StartInProjectFolder(SaveDialog1);
            SaveDialog1->FilterIndex = SchemeFilterIndex(doc->GetFileName());
            const AnsiString name = AskSaveName(false);
            return !name.IsEmpty() && SaveUnder(doc, name);
        }
        return doc->SaveToFile();
    }
    if (auto* f = dynamic_cast<IFsmChild*>(child)) {
        TFSMScheme* doc = f->FsmDocument();
        if (FileKindOf(doc->GetFileName()) != TFileKind::Fsm) {
            SaveDialog1->FilterIndex = 5;
            const AnsiString name = AskSaveName(true);
            return !name.IsEmpty() && SaveUnder(doc, name);
        }
        return doc->SaveToFile();
    }
    return false;
}

bool TMainForm::SaveWindowAs(TForm* child) {
    if (auto* s = dynamic_cast<ISchemeChild*>(child)) {
        TScheme* doc = s->SchemeDocument();
        // The dialog opens on the window's own kind, not on the one chosen last.
        SaveDialog1->FilterIndex = SchemeFilterIndex(doc->GetFileName());
        SaveDialog1->FileName = doc->GetFileName();
        const AnsiString name = AskSaveName(false);
        if (name.IsEmpty()) return false;
        if (IsSymbolFile(name)) {
            // A symbol is written beside the scheme, which keeps its own name.
            return doc->SaveAsSymbol(name) && doc->SaveToFile();
        }
        // The project follows the file only once it is written.
        const AnsiString old = doc->GetFileName();
        if (!SaveUnder(doc, name)) return false;
        if (CurrentProject && !old.IsEmpty()) CurrentProject->ReplaceFile(name, old);
        return true;
    }
    if (auto* f = dynamic_cast<IFsmChild*>(child)) {
        TFSMScheme* doc = f->FsmDocument();
        SaveDialog1->FilterIndex = 5;
        SaveDialog1->FileName = doc->GetFileName();
        const AnsiString name = AskSaveName(true);
        return !name.IsEmpty() && SaveUnder(doc, name);
    }
    return false;
}

void TMainForm::FileSave1Execute(TObject*) { SaveWindow(ActiveMDIChild()); }

void TMainForm::FileSaveAs1Execute(TObject*) { SaveWindowAs(ActiveMDIChild()); }

// ---- the project ------------------------------------------------------------------------------

void TMainForm::InstallProject(std::unique_ptr<TProject> project) {
    CurrentProject = std::move(project);
    // The project file follows every change of the list, so that a program
    // that ends without closing the project (killed, a crash) loses none.
    CurrentProject->OnFilesChanged = [this](TProject* p) {
        ShowProjectFiles(p);
        WriteChangedList();
    };
    projectRefusalTold_ = false;
    ShowProjectFiles(CurrentProject.get());
    CloseProjectAction->SetEnabled(true);
    InsertFileAction->SetEnabled(true);
    UpdateCaption();
}

bool TMainForm::LoadProject(const AnsiString& fileName) {
    // The file is read before anything is closed: a file that is not a
    // project leaves the open project, the pane and the recent list alone.
    const FileStamp read = StampOf(fileName);
    auto project = std::make_unique<TProject>(nullptr);
    project->SetFileName(fileName);
    bool damaged = !project->Load() && FileExists(fileName);
    if (project->Refused()) return false;
    // Closing writes the open project, which may be this very file: what was
    // read above is then out of date, and the file is read again.
    if (!CloseProject()) return false;
    if (StampOf(fileName) != read) {
        project = std::make_unique<TProject>(nullptr);
        project->SetFileName(fileName);
        damaged = !project->Load() && FileExists(fileName);
        if (project->Refused()) return false;
    }
    N26->SetChecked(false);
    N26Click(this);
    InstallProject(std::move(project));
    projectDamaged_ = damaged;
    return true;
}

void TMainForm::NewProjectActionExecute(TObject*) {
    StartInProjectFolder(ProjectDlg->ProjectFileDialog);
    ProjectDlg->Mode = TProjectDlg::ModeNew;
    ProjectDlg->Project = nullptr;
    if (ProjectDlg->ShowModal() != mrOk) return;
    if (!CloseProject()) return;
    N26->SetChecked(false);
    N26Click(this);
    auto project = std::make_unique<TProject>(nullptr);
    ProjectDlg->StoreToProject(project.get());
    InstallProject(std::move(project));
    // A new project is on disk from the start, and can be reopened.
    if (WriteProject()) AddRecentProject(CurrentProject->GetFileName());
}

void TMainForm::OpenProjectActionExecute(TObject*) {
    ProjectDlg->Mode = TProjectDlg::ModeOpen;
    OpenDialogPrj->FileName = InitModule ? InitModule->GetDefaultProjectName() : AnsiString();
    StartInProjectFolder(OpenDialogPrj);
    if (!OpenDialogPrj->Execute()) return;
    if (!LoadProject(OpenDialogPrj->FileName)) return;
    AddRecentProject(CurrentProject->GetFileName());
    FindSignalListView->Items()->Clear();
    OpenDebugFiles(ProjectDebugFiles(), false);
}

void TMainForm::SaveProjectActionExecute(TObject*) { WriteProject(); }

bool TMainForm::WriteProject() {
    if (!CurrentProject) return false;
    projectRefusalTold_ = !CurrentProject->Save();
    if (projectRefusalTold_) return false;
    projectDamaged_ = false;
    return true;
}

void TMainForm::WriteChangedList() {
    if (!CurrentProject || holdProjectWrites_) return;
    // The change is unsaved until written (a move marks nothing by itself).
    CurrentProject->Modified = true;
    if (!CurrentProject->Save(projectRefusalTold_)) {
        projectRefusalTold_ = true;
        return;
    }
    projectRefusalTold_ = false;
    projectDamaged_ = false;
}

bool TMainForm::CloseProject(bool exiting) {
    // The windows go first: one that stays open (its document unsaved)
    // keeps the project open as well. The project is written last, so that
    // what the windows changed in it on closing is written too.
    if (!CloseChildWindows()) return false;
    if (CurrentProject) {
        // A project that cannot be written is lost only when the user says
        // so; Cancel keeps it open, to be saved elsewhere (its properties).
        const bool write = !projectDamaged_ || CurrentProject->Modified;
        if (write && !CurrentProject->Save(projectRefusalTold_) &&
            MessageDlg(exiting ? "Проект не сохранён. Выйти из программы без сохранения проекта?"_a
                               : "Проект не сохранён. Закрыть проект без сохранения?"_a,
                       mtWarning, MsgButtons({mbYes, mbCancel})) != mrYes)
            return false;
        CurrentProject.reset();
        projectDamaged_ = false;
    }
    InsertFileAction->SetEnabled(false);
    FileListBox->Items()->Clear();
    N26->SetChecked(true);
    N26Click(this);
    UpdateCaption();
    return true;
}

void TMainForm::CloseProjectActionExecute(TObject*) { CloseProject(); }

void TMainForm::InsertFileActionExecute(TObject*) {
    if (!CurrentProject) return;
    StartInProjectFolder(OpenDialog);
    if (OpenDialog->Execute()) CurrentProject->AddFile(OpenDialog->FileName);
}

void TMainForm::DeleteFileActionExecute(TObject*) {
    TListItem* row = FileListBox->Selected();
    if (!CurrentProject || !row) return;
    const int index = row->Index();
    if (ActivateSchemeWindow(row->Caption())) {
        TForm* window = ActiveMDIChild();
        std::weak_ptr<char> alive = window->Alive();
        window->Close();
        // The window kept its document (Cancel): the entry stays too.
        if (!alive.expired() && !window->Releasing()) return;
    }
    CurrentProject->DeleteFile(index);
}

void TMainForm::ActivateFileProjectActionExecute(TObject*) {
    TListItem* row = FileListBox->Selected();
    if (!CurrentProject || !row) return;
    ShowSchemeWindow(row->Caption());
}

void TMainForm::OptionProjectActionExecute(TObject*) {
    if (!CurrentProject) return;
    ProjectDlg->Project = CurrentProject.get();
    ProjectDlg->Mode = TProjectDlg::ModeProperties;
    const AnsiString oldFile = CurrentProject->GetFileName();
    holdProjectWrites_ = true;
    const bool changed = ProjectDlg->ShowModal() == mrOk && CurrentProject->Modified;
    holdProjectWrites_ = false;
    // What the dialog changed is written at once, under the file it names.
    if (changed && WriteProject() && CurrentProject->GetFileName() != oldFile)
        AddRecentProject(CurrentProject->GetFileName());
    UpdateCaption();
    OpenDebugFiles(ProjectDebugFiles(), false);
}

void TMainForm::ShowProjectFiles(TProject* project) {
    TListItems* rows = FileListBox->Items();
    rows->BeginUpdate();
    rows->Clear();
    if (project) {
        for (int i = 0; i < project->GetFileCount(); ++i) {
            const AnsiString path = project->GetFile(i);
            TListItem* row = rows->Add();
            row->SetCaption(ExtractFileName(path));
            row->SubItems()->Add(ExtractFilePath(path));
        }
    }
    rows->EndUpdate();
}

// ---- translation ------------------------------------------------------------------------------

void TMainForm::ExportActionExecute(TObject*) {
    if (!CurrentProject) {
        MessageDlg("Нет открытого проекта\nТрансляция только проекта!!"_a, mtWarning, mbYesOnly);
        return;
    }
    {
        TRunScope run;
        // A run that did not take place (a scheme of the project could not
        // be saved, and said so) leaves the log and the debugger as they are.
        if (!LogFile->TranslateProject(CurrentProject.get())) return;
        ShowErrorAction->SetEnabled(true);
        // A new translation replaces the debugger's program even when the
        // file name stays.
        OpenDebugFiles(ProjectDebugFiles(), true);
    }
}

void TMainForm::ShowErrorActionExecute(TObject*) {
    if (CurrentProject) UiPort().ViewTextFile(CurrentProject->GetErrorFile());
}

// ---- printing ---------------------------------------------------------------------------------

bool TMainForm::AskPrintRange(int& from, int& to, int& copies) {
    const int n = MDIChildCount();
    PrintDialog1->MinPage = 1;
    PrintDialog1->MaxPage = n;
    PrintDialog1->FromPage = 1;
    PrintDialog1->ToPage = n;
    if (!PrintDialog1->Execute()) return false;
    copies = std::max(1, PrintDialog1->Copies);
    from = 1;
    to = n;
    if (PrintDialog1->PrintRange == prPageNums) {
        from = std::max(1, PrintDialog1->FromPage);
        to = std::min(n, PrintDialog1->ToPage);
    }
    return true;
}

namespace {

// The print jobs of a command that prints several windows. On a device each
// window is a job of its own, as the printer's queue lists them. Into a file
// every job would replace the file the one before wrote, leaving the last
// window's pages only: there the windows' pages go into one job, each window
// from a new page.
class TWindowJobs {
public:
    TWindowJobs(TPrinter* printer, const AnsiString& title, bool intoFile)
        : printer_(printer), title_(title), intoFile_(intoFile) {}
    // A job that a fault interrupted is given up: it is no finished
    // document, and left open it would refuse every later job.
    ~TWindowJobs() {
        if (open_ && printer_->Printing()) printer_->Abort();
    }
    TWindowJobs(const TWindowJobs&) = delete;
    TWindowJobs& operator=(const TWindowJobs&) = delete;
    // Starts the pages of the next window.
    void BeginWindow() {
        if (intoFile_ && open_) {
            printer_->NewPage();
            return;
        }
        printer_->Title = title_;
        printer_->BeginDoc();
        open_ = true;
    }
    void EndWindow() {
        if (!intoFile_) Finish();
    }
    // Ends the job still open (the one job of a file).
    void Finish() {
        if (!open_) return;
        open_ = false;
        printer_->EndDoc();
    }

private:
    TPrinter* printer_;
    AnsiString title_;
    bool intoFile_;
    bool open_ = false;
};

} // namespace

void TMainForm::PrintSchemActionExecute(TObject*) {
    int from = 0, to = 0, copies = 1;
    if (!AskPrintRange(from, to, copies)) return;
    const int sheetW = std::max(1, InitModule ? int(InitModule->MaxWidth) : 800);
    const int sheetH = std::max(1, InitModule ? int(InitModule->MaxHeight) : 600);
    TPrinter* printer = Printer();
    TWindowJobs jobs(printer, "Печать схемы"_a, PrintDialog1->PrintToFile);
    for (int page = from; page <= to; ++page) {
        // A state-machine window prints like a scheme.
        auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(page - 1));
        auto* f = s ? nullptr : dynamic_cast<IFsmChild*>(MDIChildren(page - 1));
        if (!s && !f) continue;
        // The sheet keeps its proportions on the page.
        int w = printer->PageWidth();
        int h = int(int64_t(w) * sheetH / sheetW);
        if (printer->PageHeight() < h) {
            h = printer->PageHeight();
            w = int(int64_t(h) * sheetW / sheetH);
        }
        const TRect target = Rect(0, 0, w, h);
        // A scheme is drawn at the page's scale, as sharp as the printer
        // prints; a state machine's pictures are drawn at their own size and
        // stretched.
        const int zoom = s ? PrintZoom(target, sheetW, sheetH) : 100;
        jobs.BeginWindow();
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0) printer->NewPage();
            // Each copy starts from a white sheet: the scheme draws by
            // inverting, so drawing it on an old picture would erase it.
            PrintPicture(printer->Canvas(), target, sheetW, sheetH, zoom,
                         [&](TCanvas* c, int z) {
                             if (s) s->PrintSchemeTo(c, z);
                             else f->PrintSchemeTo(c);
                         },
                         false);
        }
        jobs.EndWindow();
    }
    jobs.Finish();
}

void TMainForm::PrintElementActionExecute(TObject*) {
    int from = 0, to = 0, copies = 1;
    if (!AskPrintRange(from, to, copies)) return;
    TPrinter* printer = Printer();
    TWindowJobs jobs(printer, "Печать элементов схемы"_a, PrintDialog1->PrintToFile);
    for (int page = from; page <= to; ++page) {
        auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(page - 1));
        if (!s) continue;
        jobs.BeginWindow();
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0) printer->NewPage();
            s->PrintElements();
        }
        jobs.EndWindow();
    }
    jobs.Finish();
}

void TMainForm::PreviewActionExecute(TObject*) {
    if (!Report1) return;
    TForm* child = ActiveMDIChild();
    if (ActiveScheme()) Report1->PreviewScheme(child);
    else if (ActiveFsm()) Report1->PreviewFSM(child);
}
