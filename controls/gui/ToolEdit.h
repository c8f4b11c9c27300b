#pragma once
// Edits with a button at their right edge. TCustomComboEdit is the common
// base (optionally with a drop-down popup window); TComboEdit publishes it;
// TFilenameEdit opens a file dialog and TDirectoryEdit a folder dialog, both
// taking names dropped from the desktop's file manager.
//
// File names with blanks are shown in double quotes; FileName gives the name
// without them (the text is read as a command line and its first item
// taken, unless a file of the whole text's name exists).

#include <functional>
#include <memory>

#include "controls/gui/ExSpeedButton.h"
#include "platform/Variant.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"


enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum TPopupAlign { epaRight, epaLeft };
enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };
enum TDirDialogKind { dkFramework, dkWin32 };
enum TFileEditStyle { fsEdit, fsComboBox };

class EComboEditError : public Exception {
public:
    explicit EComboEditError(AnsiString message) : Exception(std::move(message)) {}
};

using TExecOpenDialogEvent = std::function<void(TObject* Sender, AnsiString& Name, bool& Action)>;

class TCustomComboEdit;

// The button of a combo edit: a speed button with a separating edge.
class TEditButton : public TExSpeedButton {
public:
    explicit TEditButton(TComponent* owner);

protected:
    void Paint() override;
};

// A window that drops down below a combo edit. A left release inside it
// closes it accepting its value, outside discarding it.
class TPopupWindow : public TCustomControl {
public:
    explicit TPopupWindow(TCustomComboEdit* editor);
    virtual Variant GetValue() = 0;
    virtual void SetValue(const Variant& value) = 0;
    virtual AnsiString GetPopupText() { return AnsiString(); }
    virtual void CloseUp(bool accept);
    // Repaints the owning edit's text.
    void InvalidateEditor();
    void ShowPopup(TPoint origin);
    void HidePopup();
    std::function<void(TObject* Sender, bool Accept)> OnCloseUp;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    TCustomComboEdit* editor_;
};

class TCustomComboEdit : public TCustomEdit {
public:
    explicit TCustomComboEdit(TComponent* owner);
    ~TCustomComboEdit() override;

    TNotifyEvent OnButtonClick;
    TShortCut ClickKey;
    // The edit's own read-only flag; the text is also locked while DirectInput is off.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool v);
    int ButtonWidth() const;
    void SetButtonWidth(int w);
    AnsiString ButtonHint() const;
    void SetButtonHint(const AnsiString& hint);
    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* glyph);
    int NumGlyphs() const;
    void SetNumGlyphs(int n);
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind kind);
    TPopupAlign PopupAlign = epaRight;
    TEditButton* Button() const { return button_; }
    bool PopupVisible() const { return popupVisible_; }
    TPopupWindow* Popup() const { return popup_; }

    virtual void ButtonClick();
    void EditButtonClick(TObject* sender);
    void DoClick() { EditButtonClick(this); }
    // Selects the whole text, only while it may be typed.
    void SelectAll();

    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    // With the drop-down open, Enter and Escape belong to it.
    bool WantsKey(WORD key) const override;
    void DoEnter() override;
    void DoExit() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;
    int MinHeight() const;

protected:
    // The picture of gkDefault: none in the base.
    virtual TBitmap* GetDefaultBitmap() { return nullptr; }
    virtual int DefaultNumGlyphs() const { return 1; }
    virtual void PopupDropDown(bool disableEdit);
    virtual void PopupCloseUp(TObject* sender, bool accept);
    virtual void ShowPopup(TPoint origin);
    virtual void HidePopup();
    virtual bool AcceptPopup(Variant& value) { (void)value; return true; }
    virtual void AcceptValue(const Variant& value);
    virtual void SetPopupValue(const Variant& value);
    virtual Variant GetPopupValue();
    virtual void PopupChange() {}
    bool EditCanModify() const { return !readOnly_; }
    // The popup flag follows the popup's window once a value is taken.
    void UpdatePopupVisible();
    void RecreateGlyph();
    void LayoutButton();
    void SetPopup(TPopupWindow* popup);
    friend class TPopupWindow;

private:
    void ApplyEditLock();
    // The caret of the focused edit: 2 pixels wide for a bold font, else 1.
    void CreateEditCaret();

    TEditButton* button_ = nullptr;
    bool readOnly_ = false;
    bool directInput_ = true;
    TGlyphKind glyphKind_ = gkCustom;
    std::unique_ptr<TBitmap> customGlyph_;
    TPopupWindow* popup_ = nullptr;
    bool popupVisible_ = false;
    bool focused_ = false;
    bool ignoreNextClick_ = false;
};

class TComboEdit : public TCustomComboEdit {
public:
    explicit TComboEdit(TComponent* owner) : TCustomComboEdit(owner) {}
};

// The base of the file and folder edits: dialogs around the button and
// names dropped from the desktop.
class TFileDirEdit : public TCustomComboEdit {
public:
    explicit TFileDirEdit(TComponent* owner);
    ~TFileDirEdit() override;

    // Set AcceptFiles to take names of files dropped from the desktop; this
    // event fires after they are taken.
    TNotifyEvent OnDropFiles;
    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;

    virtual AnsiString GetLongName() = 0;
    virtual AnsiString GetShortName() = 0;
    virtual void ReceptFileDir(const AnsiString& name) = 0;
    virtual void ClearFileList() {}
    // Takes dropped names as the desktop hands them (the first one only
    // unless several are allowed), then fires OnDropFiles.
    void DropFiles(const std::vector<AnsiString>& names);

protected:
    virtual void DoBeforeDialog(AnsiString& name, bool& action);
    virtual void DoAfterDialog(AnsiString& name, bool& action);
    TBitmap* GetDefaultBitmap() override;
    void DoDropFiles(const TDropFiles& drop) override;
    bool multiple_ = false;
};

class TFilenameEdit : public TFileDirEdit {
public:
    explicit TFilenameEdit(TComponent* owner);

    // The name in the text (see the top of the file).
    AnsiString FileName() const;
    // Empty clears the text; an invalid name raises EComboEditError
    // "Invalid file name - <name>" and leaves the text alone; a name with a
    // blank is shown in double quotes.
    void SetFileName(const AnsiString& value);
    AnsiString GetLongName() override;
    AnsiString GetShortName() override;
    TStrings* DialogFiles() const { return dialog_->Files(); }
    void ClearFileList() override;
    void ReceptFileDir(const AnsiString& name) override;

    TFileDialogKind DialogKind() const { return dialogKind_; }
    void SetDialogKind(TFileDialogKind kind);
    TOpenDialog* Dialog() const { return dialog_; }
    AnsiString DefaultExt() const { return dialog_->DefaultExt; }
    void SetDefaultExt(const AnsiString& v) { dialog_->DefaultExt = v; }
    TFileEditStyle FileEditStyle = fsEdit;
    AnsiString Filter() const { return dialog_->Filter; }
    void SetFilter(const AnsiString& v) { dialog_->Filter = v; }
    int FilterIndex() const { return dialog_->FilterIndex; }
    void SetFilterIndex(int v) { dialog_->FilterIndex = v; }
    AnsiString InitialDir() const { return dialog_->InitialDir; }
    void SetInitialDir(const AnsiString& v) { dialog_->InitialDir = v; }
    TStrings* HistoryList() const { return history_.get(); }
    TOpenOptions DialogOptions() const { return dialog_->Options; }
    void SetDialogOptions(TOpenOptions options);
    AnsiString DialogTitle() const { return dialog_->Title; }
    void SetDialogTitle(const AnsiString& v) { dialog_->Title = v; }

    void ButtonClick() override;

private:
    void CreateEditDialog();
    TOpenDialog* dialog_ = nullptr;
    TFileDialogKind dialogKind_ = dkOpen;
    std::unique_ptr<TStringList> history_;
};

class TDirectoryEdit : public TFileDirEdit {
public:
    explicit TDirectoryEdit(TComponent* owner);

    TSelectDirOpts DialogOptions = 0;
    AnsiString InitialDir;
    AnsiString DialogText;
    TDirDialogKind DialogKind = dkFramework;
    bool MultipleDirs() const { return multiple_; }
    void SetMultipleDirs(bool v) { multiple_ = v; }

    AnsiString GetLongName() override;
    AnsiString GetShortName() override;
    void ReceptFileDir(const AnsiString& name) override;
    void ButtonClick() override;

private:
    // The dialog of DialogKind, starting at folder; on success folder is the choice.
    bool RunFolderDialog(AnsiString& folder);
};
