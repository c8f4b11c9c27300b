#pragma once
// TShowExportDlg: the viewer of the translation work files. It shows, and
// lets the engineer edit by hand, the driver-types, drivers, signals and
// elements files that the last translation left in the translator's
// directory. It is opened modeless (Ctrl+E) and reloads the driver-types
// file every time it becomes active. A file that is not there (no
// translation yet) is reported once, with the place it was looked for.

#include <functional>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TShowExportDlg : public TForm {
public:
    explicit TShowExportDlg(TComponent* owner);
    ~TShowExportDlg() override;

    TLabel* Label1;
    TComboBox* ComboBox1;
    TBevel* Bevel1;
    TMemo* Memo1;
    TButton* OKBtn;
    TButton* CancelBtn;

    // The folder of the work files; the frame binds it (the open project's
    // folder, else the translator's). Unbound, the directory that was
    // current when the viewer was made serves (that is also the
    // translator's directory before its first run).
    std::function<AnsiString()> WorkDirectory;

    // Full path of the file now shown in Memo1; empty at first.
    const AnsiString& CurrentFile() const { return currentFile_; }

    void FormActivate(TObject* Sender);
    void ComboBox1Change(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);

private:
    // Writes the memo back to the current file after the user agreed. False
    // when the file could not be written (said so; the memo keeps the edits).
    bool OfferSave(const AnsiString& question);
    AnsiString startDir_;
    AnsiString currentFile_;
    // The file last reported missing or unreadable: the viewer becomes
    // active again after every message, and says it once until it closes.
    AnsiString reported_;
    // A save failed and was reported; the next activation leaves the edits.
    bool saveRefused_ = false;
};

extern TShowExportDlg* ShowExportDlg;
