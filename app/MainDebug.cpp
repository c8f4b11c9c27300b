// The frame's debugging commands: the files each command hands the debugger,
// and the buttons of the debugger and the timing diagram.
#include "app/Main.h"
#include "debugger/ui/Sharefun.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "translator/WorkPaths.h"

bool TMainForm::TDebugFiles::Exist() const { return FileExists(Data) && FileExists(Copy); }

TMainForm::TDebugFiles TMainForm::ProjectDebugFiles() const {
    if (!CurrentProject) return {};
    const AnsiString data = PathJoin(CurrentProject->GetDir(), CurrentWorkFileNames().DataFile);
    return {data, WithDebugPrefix(data)};
}

TMainForm::TDebugFiles TMainForm::SchemeDebugFiles(TScheme* scheme) const {
    if (!CurrentProject || !scheme) return {};
    // The name the single-scheme run wrote its copy under; a scheme without
    // a base name has none (its name would be the project's copy).
    const AnsiString base = SchemeBaseName(scheme->GetName());
    if (base.IsEmpty()) return {};
    const AnsiString copy = SchemeRunPaths(CurrentProject->GetDir(), base, CurrentWorkFileNames()).DebugData;
    return {copy, copy};
}

void TMainForm::OpenDebugFiles(const TDebugFiles& files, bool force) {
    if (!files.Data.IsEmpty()) OpenDebugData(files.Data, files.Copy, force);
}

bool TMainForm::StartDebugging(const char* noSchemeFiles, const char* noProjectFiles) {
    auto warn = [](const char* text) { MessageDlg(Utf8ToAnsi(text), mtWarning, mbYesOnly); };
    if (!CurrentProject) {
        warn("Нет открытого проекта\nОтладка только проекта!");
        return false;
    }
    TDebugFiles files;
    if (DebuCheck->Checked()) {
        ISchemeChild* scheme = ActiveScheme();
        if (!scheme) {
            warn(" Нет активной схемы! \n Для отладки проекта снимите флажок \"Работа со схемой\" (F7) ");
            return false;
        }
        files = SchemeDebugFiles(scheme->SchemeDocument());
        if (!files.Exist()) {
            warn(noSchemeFiles);
            return false;
        }
    } else {
        files = ProjectDebugFiles();
        if (!files.Exist()) {
            warn(noProjectFiles);
            return false;
        }
    }
    OpenDebugFiles(files, false);
    return true;
}

void TMainForm::ToolbarButtonEx26Click(TObject*) {
    if (StartDebugging(" Не найден файл данных \n Нажмите F8 для трансляции схемы ",
                       " Не найден файл данных \nНажмите Ctrl+F9 для трансляции проекта."))
        ShowDebugWindow(this);
}

void TMainForm::ToolbarButtonEx27Click(TObject*) {
    if (StartDebugging(" Не найден файл данных \nНажмите F8 для трансляции схемы ",
                       " Не найден файл данных \nНажмите Ctrl+F9 для трансляции "))
        ShowTimingDebugWindow(this);
}
