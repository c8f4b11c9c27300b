#pragma once
// The common dialogs as components (they go through the user-interface port,
// so tests answer them from a script), the Qt implementation of the port, and
// the printer.
//
// TPrinter draws every page on a canvas over a page image at the printer's
// dpi; the backend takes the finished pages: the Qt backend sends them to a
// real printer or a PDF file (the tests' backend, platform/testing/, keeps
// them and records every piece of text drawn).

#include <memory>
#include <vector>

#include "platform/StringList.h"
#include "platform/UiPort.h"
#include "platform/gui/Controls.h"

class QImage;
class TCanvas;
struct TCanvasText;

// The Qt port: message boxes, file, colour and print dialogs, folder
// selection, help, links and the read-only text viewer.
IUserInterfacePort* QtUiPortInstance();
// A filter of the file dialogs ("text|masks|text|masks", masks separated by
// ';') as the Qt file dialog takes it: each text followed by its masks in
// brackets, unless the text shows them already ("Bitmaps (*.bmp)").
std::vector<AnsiString> NameFilters(const AnsiString& filter);

// Open-dialog options (a set: bit (1 << option)).
enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify,
    ofEnableSizing,
};
using TOpenOptions = unsigned;
constexpr TOpenOptions OpenOption(TOpenOption o) { return 1u << o; }

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
    virtual bool Execute() = 0;
    int HelpContext = 0;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
};

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;
    // Runs the dialog through the port; false when cancelled or when
    // WrittenName leaves nothing of the chosen name. FilterIndex is kept for
    // the next run; DefaultExt is added to chosen names without an extension
    // unless WrittenName gives the name (FileDialogRequest::WrittenName).
    // The names given back are full, clean paths.
    bool Execute() override;
    AnsiString Title;
    AnsiString Filter;      // "text|mask|text|mask"
    int FilterIndex = 1;
    AnsiString DefaultExt;
    AnsiString InitialDir;
    AnsiString FileName;
    std::function<AnsiString(const AnsiString& chosen, int filterIndex)> WrittenName;
    TOpenOptions Options = OpenOption(ofHideReadOnly);
    TStrings* Files() const { return files_.get(); }

protected:
    FileDialogRequest::Kind kind_ = FileDialogRequest::Open;

private:
    std::unique_ptr<TStringList> files_;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) { kind_ = FileDialogRequest::Save; }
};

class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {}
};

class TSavePictureDialog : public TOpenDialog {
public:
    explicit TSavePictureDialog(TComponent* owner) : TOpenDialog(owner) { kind_ = FileDialogRequest::SavePicture; }
};

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* owner) : TCommonDialog(owner) {}
    bool Execute() override;
    TColor Color = clBlack;
};

enum TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = unsigned;
constexpr TPrintDialogOptions PrintOption(TPrintDialogOption o) { return 1u << o; }

class TPrintDialog : public TCommonDialog {
public:
    explicit TPrintDialog(TComponent* owner) : TCommonDialog(owner) {}
    // On acceptance the printer prints to the chosen device or PDF file.
    bool Execute() override;
    int Copies = 1;
    int MinPage = 0;
    int MaxPage = 0;
    int FromPage = 0;
    int ToPage = 0;
    TPrintRange PrintRange = prAllPages;
    TPrintDialogOptions Options = 0;
    bool PrintToFile = false;
};

// Folder selection through the port.
bool SelectDirectory(const AnsiString& caption, const AnsiString& root, AnsiString& directory);

// The folder dialog with its options: sdAllowCreate also accepts the name of
// a folder that does not exist, sdPerformCreate then creates it, sdPrompt
// first asks "Папка <name> не существует. Создать её?" (No chooses
// nothing). Without sdAllowCreate only an existing folder can be chosen. A
// help context other than 0 gives the dialog a help button.
enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = unsigned;
constexpr TSelectDirOpts SelectDirOpt(TSelectDirOpt o) { return 1u << o; }
bool SelectDirectory(AnsiString& directory, TSelectDirOpts options, int helpContext);

// ---- the printer -----------------------------------------------------------------

enum TPrinterOrientation { poPortrait, poLandscape };

class IPrinterBackend {
public:
    virtual ~IPrinterBackend() = default;
    virtual int PixelsPerInch() const = 0;
    // Page size in device pixels for an orientation.
    virtual TSize PageSize(TPrinterOrientation o) const = 0;
    virtual void BeginDoc(const AnsiString& title, TPrinterOrientation o) = 0;
    // Takes a finished page.
    virtual void EndPage(const QImage& page) = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    // Called for each piece of text drawn on the current page.
    virtual void TextDrawn(const TCanvasText&) {}
    // The file the last document was to be written to when it could not be
    // written; empty when it was, or when it went to a device.
    virtual AnsiString FailedFile() const { return AnsiString(); }
};

// Pages go to a Qt printer: the system's printer (by name, empty for the
// default) or a PDF file, drawn at the printer's resolution (at most 600
// dpi; 300 for a PDF file). Copies are always 1 on the device: the program
// prints its copies itself. A PDF file is written under a temporary name and
// renamed into place when the document ends, so a failed job leaves no part
// of a file behind.
class QtPrinterBackend : public IPrinterBackend {
public:
    QtPrinterBackend();
    ~QtPrinterBackend() override;
    void SetPdfFile(const AnsiString& fileName);
    void SetPrinterName(const AnsiString& name);
    int PixelsPerInch() const override { return dpi_; }
    TSize PageSize(TPrinterOrientation o) const override;
    void BeginDoc(const AnsiString& title, TPrinterOrientation o) override;
    void EndPage(const QImage& page) override;
    void EndDoc() override;
    void Abort() override;
    // Whether the last document could not be written.
    bool Failed() const { return failed_; }
    AnsiString FailedFile() const override { return failedFile_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int dpi_;
    bool failed_ = false;
    AnsiString failedFile_;
};

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;
    AnsiString Title;
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation o);
    // Asked of the device; the program loops over copies itself.
    int Copies = 1;
    void BeginDoc();
    void NewPage();
    // Ends the job; a file that the job could not write is reported
    // ("Не могу создать файл!" and its name).
    void EndDoc();
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return pageNumber_; }
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInch() const;
    // The page canvas: fonts at the printer's dpi.
    TCanvas* Canvas();

    IPrinterBackend* Backend() const { return backend_.get(); }
    // Replaces the backend (the printer owns it); returns the previous one.
    std::unique_ptr<IPrinterBackend> SetBackend(std::unique_ptr<IPrinterBackend> b);
    // The Qt backend, made when no other is installed.
    QtPrinterBackend* QtBackend();

private:
    void StartPage();
    std::unique_ptr<IPrinterBackend> backend_;
    std::unique_ptr<QImage> page_;
    std::unique_ptr<TCanvas> canvas_;
    TPrinterOrientation orientation_ = poPortrait;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The one printer of the program.
TPrinter* Printer();
