// The frame's debugging commands: the files each command hands the debugger,
// and the debug button.
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
    // The name the single-scheme run wrote its copy under.
    const AnsiString copy =
        SchemeRunPaths(CurrentProject->GetDir(), SchemeBaseName(scheme->GetName()), CurrentWorkFileNames()).DebugData;
    return {copy, copy};
}

void TMainForm::OpenDebugFiles(const TDebugFiles& files, bool force) {
    if (!files.Data.IsEmpty()) OpenDebugData(files.Data, files.Copy, force);
}

void TMainForm::ToolbarButtonEx26Click(TObject*) {
    auto warn = [](const char* text) { MessageDlg(Utf8ToAnsi(text), mtWarning, mbYesOnly); };
    if (!CurrentProject) {
        warn("Нет открытого проекта\nОтладка только проекта!");
        return;
    }
    if (DebuCheck->Checked()) {
        ISchemeChild* scheme = ActiveScheme();
        if (!scheme) {
            warn(" Нет активной схемы! \n Для отладки проекта снимите флажок \"Работа со схемой\" (F7) ");
            return;
        }
        const TDebugFiles files = SchemeDebugFiles(scheme->SchemeDocument());
        if (!files.Exist()) {
            warn(" Не найден файл данных \n Нажмите F8 для трансляции схемы ");
            return;
        }
        OpenDebugFiles(files, false);
    } else {
        const TDebugFiles files = ProjectDebugFiles();
        if (!files.Exist()) {
            warn(" Не найден файл данных \nНажмите Ctrl+F9 для трансляции проекта.");
            return;
        }
        OpenDebugFiles(files, false);
    }
    ShowDebugWindow(this);
}
