#include "platform/testing/TestUiPort.h"

#include "platform/FileUtils.h"

TestUiPort::TestUiPort() : previous_(SetUiPort(this)) {}

TestUiPort::~TestUiPort() { SetUiPort(previous_); }

std::vector<AnsiString> TestUiPort::Messages() const {
    std::vector<AnsiString> r;
    for (const Call& c : Calls)
        if (c.kind == kMessageDlg || c.kind == kMessageBox || c.kind == kShowMessage) r.push_back(c.text);
    return r;
}

int TestUiPort::NextAnswer(Call& call) {
    if (OnMessage) {
        int a = OnMessage(call);
        if (a > 0) return call.answer = a;
    }
    if (!answers_.empty()) {
        call.answer = answers_.front();
        answers_.pop_front();
        return call.answer;
    }
    ++Unscripted;
    return call.answer = DefaultAnswer;
}

int TestUiPort::MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    Call c{kMessageDlg, text, {}, type, buttons, 0, helpContext, 0};
    // A box with one button is a report, not a question: it takes no scripted answer.
    int a = buttons == mbOKOnly || buttons == mbYesOnly ? (buttons == mbYesOnly ? mrYes : mrOk) : NextAnswer(c);
    c.answer = a;
    Calls.push_back(c);
    return a;
}

int TestUiPort::MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) {
    Call c{kMessageBox, text, caption, mtCustom, 0, flags, 0, 0};
    int a = (flags & 0xF) == MB_OK ? IDOK : NextAnswer(c);
    c.answer = a;
    Calls.push_back(c);
    return a;
}

void TestUiPort::ShowMessage(const AnsiString& text) {
    Call c{kShowMessage, text, {}, mtCustom, mbOKOnly, 0, 0, mrOk};
    if (OnMessage) OnMessage(c);
    Calls.push_back(c);
}

bool TestUiPort::FileDialog(FileDialogRequest& request) {
    const std::size_t at = Calls.size();
    Calls.push_back(Call{kFileDialog, request.Title, request.Filter, mtCustom, 0, unsigned(request.kind), 0, 0});
    const bool confirm = request.kind != FileDialogRequest::Open && request.OverwritePrompt;
    bool ok;
    if (OnFileDialog) {
        ok = OnFileDialog(request);
    } else if (!files_.empty()) {
        ok = NextFile(request);
    } else {
        ++Unscripted;
        ok = false;
    }
    // The question about a file that exists, as the real dialog asks it; after
    // "Нет" the user chooses again: the next scripted name, else Cancel.
    while (ok && confirm && !ConfirmOverwrite(*this, GivenFileName(request, request.FileName, request.FilterIndex)))
        ok = !files_.empty() && NextFile(request);
    Calls[at].answer = ok ? mrOk : mrCancel;
    return ok;
}

bool TestUiPort::NextFile(FileDialogRequest& request) {
    const AnsiString name = files_.front();
    files_.pop_front();
    if (name.IsEmpty()) return false;
    request.FileName = name;
    request.Files = {name};
    return true;
}

bool TestUiPort::ColorDialog(TColor& color) {
    Call c{kColorDialog, {}, {}, mtCustom, 0, 0, 0, 0};
    bool ok = !colors_.empty();
    if (ok) {
        color = colors_.front();
        colors_.pop_front();
    } else {
        ++Unscripted;
    }
    c.answer = ok ? mrOk : mrCancel;
    Calls.push_back(c);
    return ok;
}

bool TestUiPort::PrintDialog(PrintDialogRequest& request) {
    Call c{kPrintDialog, {}, {}, mtCustom, 0, 0, 0, 0};
    bool ok = OnPrintDialog ? OnPrintDialog(request) : (NextAnswer(c) == mrOk);
    c.answer = ok ? mrOk : mrCancel;
    Calls.push_back(c);
    return ok;
}

bool TestUiPort::SelectDirectory(const AnsiString& caption, AnsiString& directory) {
    Call c{kSelectDirectory, caption, {}, mtCustom, 0, 0, 0, 0};
    bool ok = !files_.empty() && !files_.front().IsEmpty();
    if (!files_.empty()) {
        if (ok) directory = files_.front();
        files_.pop_front();
    } else {
        ++Unscripted;
    }
    c.answer = ok ? mrOk : mrCancel;
    Calls.push_back(c);
    return ok;
}

bool TestUiPort::FolderDialog(FolderDialogRequest& request) {
    Call c{kSelectDirectory, request.Title, {}, mtCustom, 0, 0, request.HelpContext, 0};
    bool ok = false;
    if (OnFolderDialog) {
        ok = OnFolderDialog(request);
    } else {
        auto select = [&request](const AnsiString& path) {
            return request.OnSelChanged ? request.OnSelChanged(path) : DirectoryExists(path);
        };
        if (!request.Folder.IsEmpty()) select(request.Folder);
        if (request.OnInitialized) request.OnInitialized();
        if (files_.empty()) {
            ++Unscripted;
        } else {
            AnsiString chosen = files_.front();
            files_.pop_front();
            ok = !chosen.IsEmpty() && select(chosen);
            if (ok) request.Folder = chosen;
        }
    }
    c.answer = ok ? mrOk : mrCancel;
    Calls.push_back(c);
    return ok;
}

void TestUiPort::Help(const AnsiString& helpFile, const AnsiString& topic, int context) {
    Calls.push_back(Call{kHelp, topic, helpFile, mtCustom, 0, 0, context, 0});
}

void TestUiPort::OpenUrl(const AnsiString& url) { Calls.push_back(Call{kOpenUrl, url, {}, mtCustom, 0, 0, 0, 0}); }

void TestUiPort::ViewTextFile(const AnsiString& fileName) {
    Calls.push_back(Call{kViewTextFile, fileName, {}, mtCustom, 0, 0, 0, 0});
}
