#include "platform/UiPort.h"

namespace {

int FirstButtonResult(TMsgDlgButtons b) {
    static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
    for (int i = 0; i <= mbHelp; ++i)
        if (b & (1u << i)) return results[i];
    return mrOk;
}

// Used before any port is installed (a program without windows, a tool).
class FallbackPort : public IUserInterfacePort {
public:
    int MessageDlg(const AnsiString&, TMsgDlgType, TMsgDlgButtons buttons, int) override { return FirstButtonResult(buttons); }
    int MessageBox(const AnsiString&, const AnsiString&, unsigned flags) override {
        return (flags & 0xF) == MB_YESNO || (flags & 0xF) == MB_YESNOCANCEL ? IDYES : IDOK;
    }
    void ShowMessage(const AnsiString&) override {}
    bool FileDialog(FileDialogRequest&) override { return false; }
    bool ColorDialog(TColor&) override { return false; }
    bool PrintDialog(PrintDialogRequest&) override { return false; }
    bool SelectDirectory(const AnsiString&, AnsiString&) override { return false; }
    void Help(const AnsiString&, const AnsiString&, int) override {}
    void OpenUrl(const AnsiString&) override {}
    void ViewTextFile(const AnsiString&) override {}
};

FallbackPort g_fallback;
IUserInterfacePort* g_port = nullptr;

} // namespace

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
