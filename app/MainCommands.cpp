// The frame's other commands: recent projects, the project list moves, the
// single-scheme and CASE translations, the signal table, statistics, help.
#include "app/About.h"
#include "app/Main.h"
#include "app/RunScope.h"
#include "app/Stat.h"
#include "debugger/ui/Sharefun.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "editor/Option.h"
#include "editor/PinDriver.h"
#include "editor/ShowExport.h"
#include "platform/FileUtils.h"
#include "translator/Logfile.h"
#include "translator/TranslatorHost.h"
#include "translator/WorkPaths.h"

void TMainForm::MRUManClick(TObject*, const AnsiString& RecentName, const AnsiString&, int) {
    // A project that is gone is reported; the frame stays as it was.
    if (!FileExists(RecentName)) {
        ShowMessage("Не найден файл проекта"_a);
        return;
    }
    if (LoadProject(RecentName)) OpenDebugFiles(ProjectDebugFiles(), false);
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
    // The order is the project's too: it is written as every change of the list.
    WriteChangedList();
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
    WriteChangedList();
}

namespace {

const char* const kNoActiveScheme = " Нет активной схемы \n F8 - трансляция только активной схемы !\n Трансляция проекта - Ctrl+F9";

} // namespace

TScheme* TMainForm::ActiveSchemeToTranslate() {
    ISchemeChild* scheme = ActiveScheme();
    if (!scheme) MessageDlg(Utf8ToAnsi(kNoActiveScheme), mtWarning, mbYesOnly);
    return scheme ? scheme->SchemeDocument() : nullptr;
}

TForm* TMainForm::WindowOfScheme(TScheme* scheme) {
    for (int i = 0; i < MDIChildCount(); ++i)
        if (auto* child = dynamic_cast<ISchemeChild*>(MDIChildren(i)); child && child->SchemeDocument() == scheme)
            return MDIChildren(i);
    return nullptr;
}

bool TMainForm::NameSchemeForTranslation(TScheme* scheme) {
    // The run names its work files and debugging copy after the scheme's
    // file: without a name they would be the project's own.
    if (scheme->GetFileName().IsEmpty()) {
        if (MessageDlg("Схема не сохранена в файл!\nТранслируется только сохранённая схема. Сохранить?"_a, mtWarning,
                       mbYesNo) != mrYes)
            return false;
        TForm* window = WindowOfScheme(scheme);
        if (!window || !SaveWindow(window)) return false;
    }
    if (!SchemeBaseName(scheme->GetName()).IsEmpty()) return true;
    MessageDlg("У файла схемы "_a + scheme->GetFileName() + " нет имени: трансляция невозможна."_a, mtWarning,
               mbYesOnly);
    return false;
}

TMainForm::TSchemeRun TMainForm::TranslateScheme(TScheme* scheme, bool caseRun) {
    // The run's files lie in the project directory: without a project there
    // is nowhere to put them.
    if (!CurrentProject) {
        MessageDlg("Нет открытого проекта"_a, mtWarning, mbYesOnly);
        return TSchemeRun::NotRun;
    }
    if (!NameSchemeForTranslation(scheme)) return TSchemeRun::NotRun;
    const AnsiString dir = CurrentProject->GetDir();
    const AnsiString log = WithDebugPrefix(CurrentProject->GetErrorFile());
    bool ok = false;
    {
        TRunScope run;
        ok = caseRun ? LogFile->TranslateCase(dir, log, scheme) : LogFile->TranslateScheme(dir, log, scheme);
    }
    ShowErrorAction->SetEnabled(true);
    return ok ? TSchemeRun::Succeeded : TSchemeRun::Failed;
}

void TMainForm::CheckScheme(TScheme* scheme) {
    if (!scheme) return;
    switch (TranslateScheme(scheme)) {
    case TSchemeRun::NotRun: return;
    case TSchemeRun::Failed:
        ShowMessage(" Сначала надо исправить ошибки,\n а потом запускать проверку схемы."_a);
        return;
    case TSchemeRun::Succeeded: break;
    }
    // The copy the run wrote is both the file that must exist and the one
    // the emulator loads.
    const TDebugFiles files = SchemeDebugFiles(scheme);
    if (IFrameDebugger* debugger = FrameWindowFactories().Debugger) {
        debugger->OpenDebugData(files.Data, files.Copy, true);
        debugger->RunSignatureAnalysis(files.Data, files.Copy);
    }
}

void TMainForm::ExportSchemeActionExecute(TObject*) {
    TScheme* scheme = ActiveSchemeToTranslate();
    if (!scheme || TranslateScheme(scheme, false) == TSchemeRun::NotRun) return;
    // The debugger takes the new copy at once.
    if (!DebuCheck->Checked()) {
        OpenDebugFiles(ProjectDebugFiles(), true);
        return;
    }
    const TDebugFiles files = SchemeDebugFiles(scheme);
    if (files.Exist()) OpenDebugFiles(files, true);
}

bool TMainForm::ExportCase(TForm* window, std::vector<int32_t>* outputs) {
    auto* child = dynamic_cast<ISchemeChild*>(window);
    if (!child) MessageDlg(Utf8ToAnsi(kNoActiveScheme), mtWarning, mbYesOnly);
    TScheme* scheme = child ? child->SchemeDocument() : nullptr;
    if (!scheme || TranslateScheme(scheme, true) == TSchemeRun::NotRun) return false;
    const TDebugFiles files = SchemeDebugFiles(scheme);
    if (!files.Exist()) return false;
    OpenDebugFiles(files, true);
    return VerifyCaseTable(files.Data, files.Copy, true, outputs);
}

void TMainForm::N72Click(TObject*) {
    if (!CurrentProject) return;
    fmStat->Project = CurrentProject.get();
    fmStat->ShowModal();
}

void TMainForm::ConfigActionExecute(TObject*) {
    if (!OptionDlg) return;
    OptionDlg->ShowModal();
    if (ISchemeChild* s = ActiveScheme()) s->RepaintSheet();
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
