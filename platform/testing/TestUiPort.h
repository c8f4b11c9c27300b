#pragma once
// The port that tests install: it records every call with its exact text and
// buttons, and answers from a script. An unscripted question gets
// DefaultAnswer (and is counted in Unscripted, so a test can insist on none).

#include <deque>
#include <functional>
#include <vector>

#include "platform/UiPort.h"

class TestUiPort : public IUserInterfacePort {
public:
    enum CallKind { kMessageDlg, kMessageBox, kShowMessage, kFileDialog, kColorDialog, kPrintDialog,
                    kSelectDirectory, kHelp, kOpenUrl, kViewTextFile };
    struct Call {
        CallKind kind;
        AnsiString text;     // message, dialog title, help topic, URL or file name
        AnsiString caption;  // MessageBox caption, help file
        TMsgDlgType type = mtCustom;
        TMsgDlgButtons buttons = 0;
        unsigned flags = 0;
        int context = 0;
        int answer = 0;
    };

    TestUiPort();  // installs itself
    ~TestUiPort() override; // restores the previous port

    // Script: answers to questions (modal results) in order. Boxes with a
    // single button are reports and answer with that button.
    void Answer(int modalResult) { answers_.push_back(modalResult); }
    // Script: names for file dialogs in order; an empty name cancels. A save
    // dialog with OverwritePrompt that is given an existing file asks
    // (recorded after the dialog, answered from the script); after any answer
    // but Yes the next scripted name is the user's next choice, and without
    // one the dialog is cancelled.
    void AnswerFile(const AnsiString& name) { files_.push_back(name); }
    void AnswerColor(TColor c) { colors_.push_back(c); }
    // Called when a file, print or colour dialog opens, to fill it by hand.
    std::function<bool(FileDialogRequest&)> OnFileDialog;
    std::function<bool(PrintDialogRequest&)> OnPrintDialog;
    // Folder dialogs (recorded as kSelectDirectory with the help context) run
    // this when set; otherwise the starting selection, the initialisation and
    // then the next scripted name (AnswerFile; empty cancels) as the user's
    // selection, accepted only when OK is enabled for it.
    std::function<bool(FolderDialogRequest&)> OnFolderDialog;
    // Called for every message box before it answers; may return an answer (>0).
    std::function<int(const Call&)> OnMessage;

    int DefaultAnswer = mrOk;
    int Unscripted = 0;
    std::vector<Call> Calls;

    // The texts of message calls, in order.
    std::vector<AnsiString> Messages() const;
    const Call& Last() const { return Calls.back(); }
    void Clear() { Calls.clear(); Unscripted = 0; }

    int MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) override;
    int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) override;
    void ShowMessage(const AnsiString& text) override;
    bool FileDialog(FileDialogRequest& request) override;
    bool ColorDialog(TColor& color) override;
    bool PrintDialog(PrintDialogRequest& request) override;
    bool SelectDirectory(const AnsiString& caption, AnsiString& directory) override;
    bool FolderDialog(FolderDialogRequest& request) override;
    void Help(const AnsiString& helpFile, const AnsiString& topic, int context) override;
    void OpenUrl(const AnsiString& url) override;
    void ViewTextFile(const AnsiString& fileName) override;

private:
    int NextAnswer(Call& call);
    bool NextFile(FileDialogRequest& request);
    IUserInterfacePort* previous_;
    std::deque<int> answers_;
    std::deque<AnsiString> files_;
    std::deque<TColor> colors_;
};
