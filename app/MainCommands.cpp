// The frame's other commands: recent projects, the project list moves, the
// single-scheme and CASE translations, the signal table, statistics, help.
#include "app/About.h"
#include "app/Main.h"
#include "app/RunScope.h"
#include "app/Stat.h"
#include "document/Project.h"
#include "editor/PinDriver.h"
#include "editor/ShowExport.h"
#include "platform/FileUtils.h"
#include "translator/Logfile.h"
#include "translator/TranslatorHost.h"
#include "translator/WorkPaths.h"

void TMainForm::MRUManClick(TObject*, const AnsiString& RecentName, const AnsiString&, int) {
    if (FileExists(RecentName)) {
        LoadProject(RecentName);
        return;
    }
    // A project that is gone: nothing is left open and the pane stays.
    if (!CloseProject()) return;
    N26->SetChecked(false);
    N26Click(this);
    ShowMessage("Не найден файл проекта"_a);
}

void TMainForm::FileListBoxDblClick(TObject* Sender) {
    if (FileListBox->Selected()) ActivateFileProjectActionExecute(Sender);
}

void TMainForm::MoveFileUpExecute(TObject*) {
    TListItem* row = FileListBox->Selected();
    if (!CurrentProject || !row || row->Index() == 0) return;
    const int i = row->Index();
    CurrentProject->MoveFileUp(i);
    // The list is edited in place: the row and its neighbour change places.
    TListItems* rows = FileListBox->Items();
    rows->BeginUpdate();
    TListItem* moved = rows->Insert(i - 1);
    moved->SetCaption(rows->Item(i + 1)->Caption());
    moved->SubItems()->Assign(rows->Item(i + 1)->SubItems());
    rows->Delete(i + 1);
    rows->EndUpdate();
    FileListBox->SetSelected(rows->Item(i - 1));
}

void TMainForm::MoveFileDownExecute(TObject*) {
    TListItem* row = FileListBox->Selected();
    if (!CurrentProject || !row || row->Index() >= FileListBox->Items()->Count() - 1) return;
    const int i = row->Index();
    CurrentProject->MoveFileDown(i);
    TListItems* rows = FileListBox->Items();
    rows->BeginUpdate();
    TListItem* moved = rows->Insert(i + 2);
    moved->SetCaption(rows->Item(i)->Caption());
    moved->SubItems()->Assign(rows->Item(i)->SubItems());
    rows->Delete(i);
    rows->EndUpdate();
    FileListBox->SetSelected(rows->Item(i + 1));
}

namespace {

const char* const kNoActiveScheme = " Нет активной схемы \n F8 - трансляция только активной схемы !\n Трансляция проекта - Ctrl+F9";

} // namespace

void TMainForm::TranslateActiveScheme(bool caseRun) {
    ISchemeChild* scheme = ActiveScheme();
    if (!scheme) {
        MessageDlg(Utf8ToAnsi(kNoActiveScheme), mtWarning, mbYesOnly);
        return;
    }
    // The run's files lie in the project directory: without a project there
    // is nowhere to put them.
    if (!CurrentProject) {
        MessageDlg("Нет открытого проекта"_a, mtWarning, mbYesOnly);
        return;
    }
    const AnsiString dir = CurrentProject->GetDir();
    const AnsiString log = WithDebugPrefix(CurrentProject->GetErrorFile());
    {
        TRunScope run;
        if (caseRun) LogFile->TranslateCase(dir, log, scheme->SchemeDocument());
        else LogFile->TranslateScheme(dir, log, scheme->SchemeDocument());
    }
    ShowErrorAction->SetEnabled(true);
}

void TMainForm::ExportSchemeActionExecute(TObject*) { TranslateActiveScheme(false); }

void TMainForm::ExportCase() { TranslateActiveScheme(true); }

void TMainForm::N72Click(TObject*) {
    if (!CurrentProject) return;
    fmStat->Project = CurrentProject;
    fmStat->ShowModal();
}

void TMainForm::TypeActionExecute(TObject*) {
    PinDriverDlg->ShowModal();
    if (CurrentProject) CurrentProject->Modified = true;
}

void TMainForm::HelpAbout1Execute(TObject*) {
    TAboutBox* about = NewForm<TAboutBox>(this);
    about->ShowModal();
    Free(about);
}

void TMainForm::HelpContenstActionExecute(TObject*) { Application->HelpJump("Context"); }

void TMainForm::ShowFileExportActionExecute(TObject*) { ShowExportDlg->Show(); }
