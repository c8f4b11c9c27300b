#include "platform/UiPort.h"

#include <cstdio>
#include <string>

#include "platform/FileUtils.h"

namespace {

// A box with one button is a report: it answers with that button. A question
// answered by nobody takes the answer that changes nothing: Cancel where the
// box has it, else No, else Abort; never Yes.
int SafeAnswer(TMsgDlgButtons b) {
    auto has = [b](TMsgDlgBtn x) { return (b & (1u << x)) != 0; };
    if (has(mbCancel)) return mrCancel;
    if (has(mbNo)) return mrNo;
    if (has(mbNoToAll)) return mrNoToAll;
    if (has(mbAbort)) return mrAbort;
    static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
    int single = -1;
    for (int i = 0; i <= mbHelp; ++i)
        if (has(TMsgDlgBtn(i))) {
            if (single >= 0) return mrCancel; // a question without a way back: as if the box were closed
            single = i;
        }
    return single >= 0 ? results[single] : mrOk;
}

int SafeBoxAnswer(unsigned flags) {
    switch (flags & 0xF) {
    case MB_OKCANCEL: case MB_YESNOCANCEL: case MB_RETRYCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
    }
}

// Every line of the text on standard error, in UTF-8.
void Report(const AnsiString& text) {
    std::string utf8 = AnsiToUtf8(text);
    std::fprintf(stderr, "%s\n", utf8.c_str());
    std::fflush(stderr);
}

// Used before any port is installed (a program without windows, a tool):
// messages and questions go to standard error, questions take their safe answer.
class FallbackPort : public IUserInterfacePort {
public:
    int MessageDlg(const AnsiString& text, TMsgDlgType, TMsgDlgButtons buttons, int) override {
        Report(text);
        return SafeAnswer(buttons);
    }
    int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) override {
        Report(caption.IsEmpty() ? text : caption + ": " + text);
        return SafeBoxAnswer(flags);
    }
    void ShowMessage(const AnsiString& text) override { Report(text); }
    bool FileDialog(FileDialogRequest&) override { return false; }
    bool ColorDialog(TColor&) override { return false; }
    bool PrintDialog(PrintDialogRequest&) override { return false; }
    bool SelectDirectory(const AnsiString&, AnsiString&) override { return false; }
    bool FolderDialog(FolderDialogRequest&) override { return false; }
    void Help(const AnsiString&, const AnsiString&, int) override {}
    void OpenUrl(const AnsiString&) override {}
    void ViewTextFile(const AnsiString&) override {}
};

FallbackPort g_fallback;
IUserInterfacePort* g_port = nullptr;

} // namespace

AnsiString WithDefaultExt(const AnsiString& name, const AnsiString& ext) {
    if (name.IsEmpty() || ext.IsEmpty()) return name;
    const int slash = name.LastDelimiter("/\\:");
    const int dot = name.LastDelimiter(".");
    return dot > slash && dot > 0 ? name : name + "." + ext;
}

AnsiString GivenFileName(const FileDialogRequest& request, const AnsiString& chosen, int filterIndex) {
    const AnsiString name =
        request.WrittenName ? request.WrittenName(chosen, filterIndex) : WithDefaultExt(chosen, request.DefaultExt);
    return ExpandFileName(name);
}

bool ConfirmOverwrite(IUserInterfacePort& port, const AnsiString& fileName) {
    if (fileName.IsEmpty() || !FileExists(fileName) || DirectoryExists(fileName)) return true;
    return port.MessageDlg("Файл "_a + fileName + " уже существует. Заменить его?"_a, mtWarning, mbYesNo, 0) == mrYes;
}

bool ConfirmOverwrite(const AnsiString& fileName) { return ConfirmOverwrite(UiPort(), fileName); }

IUserInterfacePort& UiPort() { return g_port ? *g_port : g_fallback; }

IUserInterfacePort* SetUiPort(IUserInterfacePort* port) {
    IUserInterfacePort* prev = g_port;
    g_port = port;
    return prev;
}

int MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    return UiPort().MessageDlg(text, type, buttons, helpContext);
}

void ShowMessage(const AnsiString& text) { UiPort().ShowMessage(text); }

int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) {
    return UiPort().MessageBox(text, caption, flags);
}
