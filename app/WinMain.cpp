#include "app/WinMain.h"

#include "app/AutoForms.h"
#include "app/Main.h"
#include "app/SplashSource.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"

int RunProtected(const std::function<int()>& steps) {
    try {
        return steps();
    } catch (Exception& e) {
        Application->ShowException(&e);
    } catch (const std::exception& e) {
        Exception report(AnsiString(e.what()));
        Application->ShowException(&report);
    } catch (...) {
        Exception report("Unknown exception");
        Application->ShowException(&report);
    }
    return 1;
}

void StartProgram(int argc, char** argv) {
    SplashForm = new TSplashForm(nullptr);
    SplashForm->DoCreate();
    SplashForm->Show();
    SplashForm->ProgressBar->SetMax(100);
    Application->ProcessMessages();
    Application->SetTitle("Графический редактор электроавтоматики"_a);
    SplashForm->ProgressBar->StepBy(10);
    Application->HelpFile = "Ge.hlp";
    SplashForm->ProgressBar->StepBy(10);
    CreateAutoForms();
    if (argc > 1 && MainForm) MainForm->CommandLineFile = ExpandFileName(FromFsPath(argv[1]));
    SplashForm->ProgressBar->StepBy(10);
    SplashForm->ProgressBar->StepBy(10);
}

int WinMain(int argc, char** argv) {
    return RunProtected([&] {
        Application->Initialize();
        StartProgram(argc, argv);
        Application->Run();
        return 0;
    });
}
