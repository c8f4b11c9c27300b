// The frame's file, project, translation and print commands.
#include <algorithm>

#include "app/Main.h"
#include "app/ProjectDlg.h"
#include "app/RunScope.h"
#include "document/InitModule.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "fsm/fsmScheme.h"
#include "platform/Bitmap.h"
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
    if (OpenDialog->Execute()) OpenFileByKind(OpenDialog->FileName, false);
}

void TMainForm::FileOpen1Execute(TObject*) {
    if (OpenDialog->Execute()) OpenFileByKind(OpenDialog->FileName, true);
}

void TMainForm::FileClose1Execute(TObject*) {
    if (ActiveEditor()) ActiveMDIChild()->Close();
}

void TMainForm::FileExit1Execute(TObject*) { Close(); }

AnsiString TMainForm::AskSaveName(bool fsm) {
    if (!SaveDialog1->Execute()) return AnsiString();
    const AnsiString name =
        fsm ? FsmSaveName(SaveDialog1->FileName) : SchemeSaveName(SaveDialog1->FileName, SaveDialog1->FilterIndex);
    if (!name.IsEmpty()) SaveDialog1->FileName = name;
    return name;
}

bool TMainForm::SaveWindow(TForm* child) {
    if (auto* s = dynamic_cast<ISchemeChild*>(child)) {
        TScheme* doc = s->SchemeDocument();
        if (doc->GetFileName().IsEmpty()) {
            const AnsiString name = AskSaveName(false);
            if (name.IsEmpty()) return false;
            doc->SetFileName(name);
        }
        return doc->SaveToFile();
    }
    if (auto* f = dynamic_cast<IFsmChild*>(child)) {
        TFSMScheme* doc = f->FsmDocument();
        if (FileKindOf(doc->GetFileName()) != TFileKind::Fsm) {
            SaveDialog1->FilterIndex = 5;
            const AnsiString name = AskSaveName(true);
            if (name.IsEmpty()) return false;
            doc->SetFileName(name);
        }
        return doc->SaveToFile();
    }
    return false;
}

bool TMainForm::SaveWindowAs(TForm* child) {
    if (auto* s = dynamic_cast<ISchemeChild*>(child)) {
        TScheme* doc = s->SchemeDocument();
        SaveDialog1->FileName = doc->GetFileName();
        const AnsiString name = AskSaveName(false);
        if (name.IsEmpty()) return false;
        if (SaveDialog1->FilterIndex == 3) {
            // A symbol is written beside the scheme, which keeps its own name.
            if (!doc->SaveAsSymbol(name)) return false;
        } else {
            if (CurrentProject && !doc->GetFileName().IsEmpty()) CurrentProject->ReplaceFile(name, doc->GetFileName());
            doc->SetFileName(name);
        }
        return doc->SaveToFile();
    }
    if (auto* f = dynamic_cast<IFsmChild*>(child)) {
        TFSMScheme* doc = f->FsmDocument();
        SaveDialog1->FilterIndex = 5;
        SaveDialog1->FileName = doc->GetFileName();
        const AnsiString name = AskSaveName(true);
        if (name.IsEmpty()) return false;
        doc->SetFileName(name);
        return doc->SaveToFile();
    }
    return false;
}

void TMainForm::FileSave1Execute(TObject*) { SaveWindow(ActiveMDIChild()); }

void TMainForm::FileSaveAs1Execute(TObject*) { SaveWindowAs(ActiveMDIChild()); }

// ---- the project ------------------------------------------------------------------------------

void TMainForm::LoadProject(const AnsiString& fileName) {
    CurrentProject = new TProject(this);
    CurrentProject->OnFilesChanged = [this](TProject* p) { ShowProjectFiles(p); };
    CurrentProject->SetFileName(fileName);
    const bool existed = FileExists(fileName);
    projectLoadFailed_ = !CurrentProject->Load() && existed;
    ShowProjectFiles(CurrentProject);
    CloseProjectAction->SetEnabled(true);
    InsertFileAction->SetEnabled(true);
}

void TMainForm::NewProjectActionExecute(TObject*) {
    ProjectDlg->Mode = TProjectDlg::ModeNew;
    ProjectDlg->Project = nullptr;
    if (ProjectDlg->ShowModal() != mrOk) return;
    if (!CloseProject()) return;
    N26->SetChecked(false);
    N26Click(this);
    CurrentProject = new TProject(this);
    CurrentProject->OnFilesChanged = [this](TProject* p) { ShowProjectFiles(p); };
    projectLoadFailed_ = false;
    ProjectDlg->StoreToProject(CurrentProject);
    ShowProjectFiles(CurrentProject);
    InsertFileAction->SetEnabled(true);
}

void TMainForm::OpenProjectActionExecute(TObject*) {
    ProjectDlg->Mode = TProjectDlg::ModeOpen;
    OpenDialogPrj->FileName = InitModule ? InitModule->GetDefaultProjectName() : AnsiString();
    if (!OpenDialogPrj->Execute()) return;
    if (!CloseProject()) return;
    N26->SetChecked(false);
    N26Click(this);
    LoadProject(OpenDialogPrj->FileName);
    AddRecentProject(CurrentProject->GetFileName());
    FindSignalListView->Items()->Clear();
}

void TMainForm::SaveProjectActionExecute(TObject*) {
    if (CurrentProject && CurrentProject->Save()) projectLoadFailed_ = false;
}

bool TMainForm::CloseProject() {
    // The windows go first: one that stays open (its document unsaved)
    // keeps the project open as well.
    if (!CloseChildWindows()) return false;
    if (CurrentProject) {
        // A file that did not load as a project is never written over.
        if (!projectLoadFailed_) CurrentProject->Save();
        delete CurrentProject;
        CurrentProject = nullptr;
        projectLoadFailed_ = false;
    }
    InsertFileAction->SetEnabled(false);
    FileListBox->Items()->Clear();
    N26->SetChecked(true);
    N26Click(this);
    return true;
}

void TMainForm::CloseProjectActionExecute(TObject*) { CloseProject(); }

void TMainForm::InsertFileActionExecute(TObject*) {
    if (!CurrentProject) return;
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
        if (!alive.expired() && window->Showing()) return;
    }
    CurrentProject->DeleteFile(index);
}

void TMainForm::ActivateFileProjectActionExecute(TObject*) {
    TListItem* row = FileListBox->Selected();
    if (!CurrentProject || !row) return;
    const AnsiString name = row->Caption();
    if (!ActivateSchemeWindow(name)) CreateMDIChild(CurrentProject->GetFilePath(name));
}

void TMainForm::OptionProjectActionExecute(TObject*) {
    if (!CurrentProject) return;
    ProjectDlg->Project = CurrentProject;
    ProjectDlg->Mode = TProjectDlg::ModeProperties;
    ProjectDlg->ShowModal();
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
        LogFile->TranslateProject(CurrentProject);
    }
    ShowErrorAction->SetEnabled(true);
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

void TMainForm::PrintSchemActionExecute(TObject*) {
    int from = 0, to = 0, copies = 1;
    if (!AskPrintRange(from, to, copies)) return;
    const int sheetW = std::max(1, InitModule ? int(InitModule->MaxWidth) : 800);
    const int sheetH = std::max(1, InitModule ? int(InitModule->MaxHeight) : 600);
    TPrinter* printer = Printer();
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
        printer->Title = "Печать схемы"_a;
        printer->BeginDoc();
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0) printer->NewPage();
            // Each copy starts from a white sheet: the scheme draws by
            // inverting, so drawing it on an old picture would erase it.
            TBitmap sheet;
            sheet.SetSize(sheetW, sheetH);
            sheet.Canvas()->Brush()->SetColor(clWhite);
            sheet.Canvas()->FillRect(Rect(0, 0, sheetW, sheetH));
            sheet.Canvas()->CopyMode = cmSrcInvert;
            if (s) s->PrintSchemeTo(sheet.Canvas());
            else f->PrintSchemeTo(sheet.Canvas());
            sheet.Mask(clWhite);
            printer->Canvas()->CopyMode = cmSrcCopy;
            printer->Canvas()->StretchDraw(target, &sheet);
        }
        printer->EndDoc();
    }
}

void TMainForm::PrintElementActionExecute(TObject*) {
    int from = 0, to = 0, copies = 1;
    if (!AskPrintRange(from, to, copies)) return;
    TPrinter* printer = Printer();
    for (int page = from; page <= to; ++page) {
        auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(page - 1));
        if (!s) continue;
        printer->Title = "Печать элементов схемы"_a;
        printer->BeginDoc();
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0) printer->NewPage();
            s->PrintElements();
        }
        printer->EndDoc();
    }
}
