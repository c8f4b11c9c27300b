// The frame's cross-scheme services: finding and opening windows, reading
// other schemes of the project, resolving names across schemes.
#include "app/Main.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "fsm/fsmScheme.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "translator/Logfile.h"

bool TMainForm::ActivateSchemeWindow(const AnsiString& name) {
    auto* window = dynamic_cast<TForm*>(FindSchemeWindow(name));
    if (!window) return false;
    BringBack(window);
    return true;
}

AnsiString TMainForm::AskFileName(const AnsiString& proposed) {
    OpenDialog->FileName = proposed;
    OpenDialog->FilterIndex = 5;
    const bool chosen = OpenDialog->Execute();
    OpenDialog->FilterIndex = 1;
    return chosen ? OpenDialog->FileName : proposed;
}

void TMainForm::CheckFSMPins(const AnsiString&, TStrings* inputs, TStrings* outputs) {
    IFsmChild* f = ActiveFsm();
    TFSMScheme* doc = f ? f->FsmDocument() : nullptr;
    if (!doc || !inputs || !outputs) return;
    if (inputs->Count() != doc->GetInputCount()) {
        ShowMessage("Несовпадение количества входных сигналов в схеме и элементе!"_a);
        return;
    }
    if (outputs->Count() != doc->GetOutputCount()) {
        ShowMessage("Несовпадение количества выходных сигналов в схеме и элементе!"_a);
        return;
    }
    doc->SetPins(inputs, outputs);
}

bool TMainForm::ListProjectFiles(const AnsiString& unused, TStrings* list) {
    if (CurrentProject && list) CurrentProject->GetFileNames(unused, list);
    return true;
}

bool TMainForm::ListSchemeElements(const AnsiString& schemeName, TStrings* list) {
    if (!list) return true;
    TScheme doc;
    if (CurrentProject) {
        const AnsiString path = CurrentProject->GetFilePath(schemeName);
        if (!path.IsEmpty()) {
            doc.SetFileName(path);
            doc.LoadFromFile();
        }
    }
    doc.ListDeviceNames(list);
    return true;
}

bool TMainForm::ResolveGotoTarget(const AnsiString& sourceFile, const AnsiString& targetScheme, int,
                                  const AnsiString& jumpName, AnsiString& targetElement) {
    auto report = [this](const AnsiString& text) {
        if (LogFile) LogFile->Error(text);
        else ReportTranslationError(text);
    };
    TScheme doc;
    if (CurrentProject) {
        const AnsiString path = CurrentProject->GetFilePath(targetScheme);
        if (!path.IsEmpty()) {
            doc.SetFileName(path);
            doc.LoadFromFile();
        }
    }
    const AnsiString unknown = "В элементе "_a + jumpName + " схемы "_a + sourceFile +
                               " переход на неизвестный элемент "_a;
    if (!targetElement.IsEmpty()) {
        // A named target must be an element of the target scheme.
        for (TElement* e = doc.FirstDevice(); e; e = doc.NextDevice())
            if (e->Name() == targetElement) return false;
        report(unknown + targetElement + " схемы "_a + targetScheme);
        return true;
    }
    if (doc.CheckNumbers(0) != 0) {
        report("Схема "_a + targetScheme + " не упорядочена! \n Невозможно определить элемент для перехода "_a +
               jumpName + " на схеме "_a + sourceFile);
        return true;
    }
    TElement* first = doc.NextByNumber(true);
    if (!first) {
        report(unknown + targetElement + " схемы "_a + targetScheme);
        return true;
    }
    targetElement = first->Name();
    return false;
}

AnsiString TMainForm::MakeProjectPath(const AnsiString& name) {
    if (IsAbsoluteFileName(name)) return name;
    if (CurrentProject) return CurrentProject->GetDir() + name;
    return PathJoin(GetCurrentDir(), name);
}
