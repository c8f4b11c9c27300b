#include "controls/gui/ToolEdit.h"

#include <algorithm>

#include "controls/gui/CtlUtils.h"
#include "controls/Exconst.h"
#include "controls/FileUtil.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/gui/Forms.h"

namespace {

constexpr int kDefaultButtonWidth = 21;
constexpr int kScrollBarWidth = 16;

// The name quoted when it holds a blank and does not start with a quote.
AnsiString QuotedName(const AnsiString& name) {
    if (name.Pos(" ") > 0 && !(name.Length() > 0 && name[1] == '"')) return "\"" + name + "\"";
    return name;
}

// The drop-down arrow of gkDropDown.
void PaintDropDownArrow(TBitmap& b) {
    RegisterExResources();
    b.LoadFromResourceName("EXSPINDOWN");
}

// The three dots of gkEllipsis on a two-colour picture.
void PaintEllipsis(TBitmap& b, int buttonWidth) {
    int w = std::max(1, buttonWidth - 6);
    b.SetMonochrome(true);
    b.SetSize(w, 4);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, w, 4));
    int s = std::min(std::max((w - 6) / 2, 1), 3);
    int x0 = (w - 6 - 2 * s) / 2;
    b.Canvas()->Brush()->SetColor(clBlack);
    for (int x : {x0, x0 + s + 2, x0 + 2 * s + 4}) b.Canvas()->FillRect(Bounds(x, 1, 2, 2));
    b.SetTransparentColor(clWhite);
}

} // namespace

// ---- TEditButton ------------------------------------------------------------------------

TEditButton::TEditButton(TComponent* owner) : TExSpeedButton(owner) {}

void TEditButton::Paint() {
    TExSpeedButton::Paint();
    if (FState() == rbsDown || FState() == rbsExclusive) return;
    TCanvas* c = Canvas();
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetColor(clBtnFace);
    c->MoveTo(0, 0);
    c->LineTo(0, Height());
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(1, 1);
    c->LineTo(1, Height() - 2);
}

// ---- TPopupWindow -------------------------------------------------------------------------

TPopupWindow::TPopupWindow(TCustomComboEdit* editor) : TCustomControl(editor), editor_(editor) {
    SetPopupWindow(true, nullptr, true, true);
    SetVisible(false);
    TabStop = false;
}

void TPopupWindow::CloseUp(bool accept) {
    if (OnCloseUp) OnCloseUp(this, accept);
}

void TPopupWindow::InvalidateEditor() {
    if (editor_) editor_->Invalidate();
}

void TPopupWindow::ShowPopup(TPoint origin) {
    SetBounds(origin.x, origin.y, Width(), Height());
    SetVisible(true);
    ShowWindow(this, SW_SHOWNA);
}

void TPopupWindow::HidePopup() {
    ShowWindow(this, SW_HIDE);
    SetVisible(false);
}

void TPopupWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button == mbLeft) CloseUp(PtInRect(ClientRect(), TPoint(x, y)));
}

// ---- TCustomComboEdit -----------------------------------------------------------------------

TCustomComboEdit::TCustomComboEdit(TComponent* owner) : TCustomEdit(owner), customGlyph_(std::make_unique<TBitmap>()) {
    button_ = new TEditButton(this);
    button_->SetParent(this);
    button_->SetBounds(0, 0, kDefaultButtonWidth, 17);
    button_->OnClick = [this](TObject* sender) { EditButtonClick(sender); };
    button_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) {
        if (b != mbLeft) return;
        if (popupVisible_) {
            // The same press must not open the popup again.
            PopupCloseUp(this, true);
            ignoreNextClick_ = true;
        } else if (TabStop && CanFocus() && !Focused()) {
            SetFocus();
        }
    };
    ClickKey = ShortCut(VK_DOWN, ssAlt);
    SetBounds(Left(), Top(), Width(), 21);
    LayoutButton();
}

TCustomComboEdit::~TCustomComboEdit() { Destroying(); }

void TCustomComboEdit::ApplyEditLock() { TCustomEdit::SetReadOnly(readOnly_ || !directInput_); }

void TCustomComboEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    ApplyEditLock();
}

void TCustomComboEdit::SetDirectInput(bool v) {
    directInput_ = v;
    ApplyEditLock();
}

int TCustomComboEdit::ButtonWidth() const { return button_->Visible() ? button_->Width() : 0; }

void TCustomComboEdit::SetButtonWidth(int w) {
    if (w == ButtonWidth()) return;
    if (w < 2) {
        button_->SetVisible(false);
    } else if (w < ClientWidth() || IsLoading()) {
        button_->SetVisible(true);
        button_->SetWidth(w);
        if (glyphKind_ == gkEllipsis) RecreateGlyph();
    }
    LayoutButton();
}

AnsiString TCustomComboEdit::ButtonHint() const { return button_->Hint(); }
void TCustomComboEdit::SetButtonHint(const AnsiString& hint) { button_->SetHint(hint); }
TBitmap* TCustomComboEdit::Glyph() const { return button_->Glyph(); }
int TCustomComboEdit::NumGlyphs() const { return button_->NumGlyphs(); }
void TCustomComboEdit::SetNumGlyphs(int n) { button_->SetNumGlyphs(n); }

void TCustomComboEdit::SetGlyph(TBitmap* glyph) {
    customGlyph_->Assign(glyph);
    glyphKind_ = gkCustom;
    button_->SetGlyph(glyph);
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind kind) {
    if (kind == glyphKind_) return;
    glyphKind_ = kind;
    if (kind == gkCustom && (ComponentState() & csDesigning)) customGlyph_->Assign(nullptr);
    RecreateGlyph();
}

void TCustomComboEdit::RecreateGlyph() {
    switch (glyphKind_) {
    case gkDefault:
        if (TBitmap* b = GetDefaultBitmap()) {
            button_->SetGlyph(b);
            button_->SetNumGlyphs(DefaultNumGlyphs());
            SetButtonWidth(std::max(b->Width() / std::max(DefaultNumGlyphs(), 1) + 6, ButtonWidth()));
        }
        break;
    case gkDropDown: {
        TBitmap arrow;
        PaintDropDownArrow(arrow);
        button_->SetGlyph(&arrow);
        button_->SetNumGlyphs(1);
        SetButtonWidth(kScrollBarWidth);
        break;
    }
    case gkEllipsis: {
        TBitmap dots;
        PaintEllipsis(dots, ButtonWidth());
        button_->SetGlyph(&dots);
        button_->SetNumGlyphs(1);
        break;
    }
    case gkCustom: button_->SetGlyph(customGlyph_.get()); break;
    }
}

void TCustomComboEdit::LayoutButton() {
    int bw = button_->Visible() ? button_->Width() : 0;
    int w = Width(), h = Height();
    if (BorderStyle() == bsNone) button_->SetBounds(w - bw, 0, bw, h);
    else button_->SetBounds(w - bw - 2, 2, bw, std::max(h - 4, 1));
    // The text stops short of the button.
    Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MakeLParam(0, bw + 2));
}

int TCustomComboEdit::MinHeight() const {
    return EditMinHeight(Font());
}

void TCustomComboEdit::SetBounds(int left, int top, int width, int height) {
    if (!IsLoading()) height = std::max(height, MinHeight());
    TCustomEdit::SetBounds(left, top, width, height);
    if (button_) LayoutButton();
}

void TCustomComboEdit::SelectAll() {
    if (directInput_) TCustomEdit::SelectAll();
}

void TCustomComboEdit::EditButtonClick(TObject*) {
    if (ignoreNextClick_) {
        ignoreNextClick_ = false;
        return;
    }
    if (readOnly_) return;
    ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
    if (!popup_) return;
    if (popupVisible_) PopupCloseUp(popup_, true);
    else PopupDropDown(true);
}

Variant TCustomComboEdit::GetPopupValue() { return popup_ ? popup_->GetValue() : Variant(AnsiString()); }

void TCustomComboEdit::SetPopupValue(const Variant& value) {
    if (popup_) popup_->SetValue(value);
}

void TCustomComboEdit::AcceptValue(const Variant& value) {
    AnsiString text = VarToStr(value);
    if (Text() == text) return;
    SetText(text); // still counted as a popup change: the one change is raised below
    Modified = true;
    UpdatePopupVisible();
    Change();
}

void TCustomComboEdit::UpdatePopupVisible() { popupVisible_ = popup_ && popup_->Visible(); }

void TCustomComboEdit::Change() {
    if (popupVisible_) PopupChange();
    else TCustomEdit::Change();
}

void TCustomComboEdit::SetPopup(TPopupWindow* popup) {
    popup_ = popup;
    if (popup_) popup_->OnCloseUp = [this](TObject* sender, bool accept) { PopupCloseUp(sender, accept); };
}

void TCustomComboEdit::ShowPopup(TPoint origin) {
    if (popup_) popup_->ShowPopup(origin);
}

void TCustomComboEdit::HidePopup() {
    if (popup_) popup_->HidePopup();
}

void TCustomComboEdit::PopupDropDown(bool disableEdit) {
    if (!popup_ || readOnly_ || popupVisible_) return;
    TPoint p = ClientToScreen(TPoint(0, 0));
    int y = p.y + Height();
    TRect screen = Screen->WorkAreaAt(p);
    if (y + popup_->Height() > screen.Bottom) y = p.y - popup_->Height();
    int x = p.x;
    if (PopupAlign == epaRight) {
        x = p.x + Width() - popup_->Width();
        if (x < 0) x = p.x;
    } else if (x + popup_->Width() > screen.Right) {
        x -= popup_->Width() - Width();
    }
    x = std::clamp(x, screen.Left, std::max(screen.Left, screen.Right - popup_->Width()));
    SetPopupValue(Text().IsEmpty() ? Variant::Null() : Variant(Text()));
    if (CanFocus()) SetFocus();
    ShowPopup(TPoint(x, y));
    popupVisible_ = true;
    if (disableEdit) TCustomEdit::SetReadOnly(true);
}

void TCustomComboEdit::PopupCloseUp(TObject*, bool accept) {
    if (!popupVisible_) return;
    if (TControl* captured = GetCaptureControl()) captured->Perform(WM_CANCELMODE);
    Variant value = GetPopupValue();
    HidePopup();
    if (CanFocus()) SetFocus();
    ApplyEditLock();
    Invalidate();
    // The flag stays set while the value is taken, so that the new text makes one change.
    if (accept && AcceptPopup(value) && EditCanModify()) AcceptValue(value);
    if (Focused()) TCustomEdit::SelectAll();
    popupVisible_ = false;
}

void TCustomComboEdit::KeyDown(WORD& key, TShiftState shift) {
    TCustomEdit::KeyDown(key, shift);
    if (key && ShortCut(key, shift) == ClickKey && ButtonWidth() > 0) {
        EditButtonClick(this);
        key = 0;
    }
}

void TCustomComboEdit::KeyPress(char& key) {
    if (key == char(VK_RETURN) || key == char(VK_ESCAPE)) {
        if (popupVisible_) {
            PopupCloseUp(popup_, key == char(VK_RETURN));
            key = 0;
            return;
        }
        // The form had the key as a dialog key already; Enter ends here.
        if (key == char(VK_RETURN)) {
            key = 0;
            return;
        }
    }
    TCustomEdit::KeyPress(key);
}

// Offered to the form first, they would press its default or cancel button
// with the drop-down still open and its value not taken.
bool TCustomComboEdit::WantsKey(WORD key) const {
    if ((key == VK_RETURN || key == VK_ESCAPE) && popupVisible_) return true;
    return TCustomEdit::WantsKey(key);
}

void TCustomComboEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    PopupCloseUp(this, false);
    TCustomEdit::MouseDown(button, shift, x, y);
}

void TCustomComboEdit::WndProc(TMessage& message) {
    if (message.Msg == CM_CANCELMODE && popupVisible_) {
        // A press anywhere but on the edit, its button or its popup closes the popup.
        auto* sender = reinterpret_cast<TControl*>(message.LParam);
        bool own = sender == this || sender == button_;
        for (TControl* c = sender; c && !own; c = c->Parent()) own = c == popup_;
        if (!own) PopupCloseUp(this, false);
    }
    TCustomEdit::WndProc(message);
    if ((message.Msg == WM_SIZE || message.Msg == CM_FONTCHANGED) && button_) LayoutButton();
    // The button of a disabled edit is disabled too, and shows its disabled glyph.
    if (message.Msg == CM_ENABLEDCHANGED && button_) button_->SetEnabled(Enabled());
}

void TCustomComboEdit::DoEnter() {
    focused_ = true;
    CreateEditCaret();
    TCustomEdit::DoEnter();
}

void TCustomComboEdit::DoExit() {
    focused_ = false;
    PopupCloseUp(this, false);
    TCustomEdit::DoExit();
}

// ---- TFileDirEdit ---------------------------------------------------------------------------

TFileDirEdit::TFileDirEdit(TComponent* owner) : TCustomComboEdit(owner) {
    SetGlyphKind(gkDefault);
    // Nothing is dropped on it until it accepts files.
    SetAcceptFiles(false);
}

TFileDirEdit::~TFileDirEdit() { Destroying(); }

TBitmap* TFileDirEdit::GetDefaultBitmap() {
    static std::unique_ptr<TBitmap> bitmap;
    if (!bitmap) {
        RegisterExResources();
        bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromResourceName("FEDITBMP");
    }
    return bitmap.get();
}

void TFileDirEdit::DoDropFiles(const TDropFiles& drop) { DropFiles(drop.Files); }

void TFileDirEdit::DropFiles(const std::vector<AnsiString>& names) {
    if (names.empty()) return;
    ClearFileList();
    for (const AnsiString& name : names) {
        ReceptFileDir(name);
        if (!multiple_) break;
    }
    if (OnDropFiles) OnDropFiles(this);
}

void TFileDirEdit::DoBeforeDialog(AnsiString& name, bool& action) {
    if (OnBeforeDialog) OnBeforeDialog(this, name, action);
}

void TFileDirEdit::DoAfterDialog(AnsiString& name, bool& action) {
    if (OnAfterDialog) OnAfterDialog(this, name, action);
}

// ---- TFilenameEdit ---------------------------------------------------------------------------

TFilenameEdit::TFilenameEdit(TComponent* owner) : TFileDirEdit(owner), history_(std::make_unique<TStringList>()) {
    CreateEditDialog();
}

void TFilenameEdit::CreateEditDialog() {
    TOpenDialog* next = nullptr;
    switch (dialogKind_) {
    case dkOpen: next = new TOpenDialog(this); break;
    case dkSave: next = new TSaveDialog(this); break;
    case dkOpenPicture: next = new TOpenPictureDialog(this); break;
    case dkSavePicture: next = new TSavePictureDialog(this); break;
    }
    if (dialog_) {
        next->DefaultExt = dialog_->DefaultExt;
        next->FileName = dialog_->FileName;
        next->Filter = dialog_->Filter;
        next->FilterIndex = dialog_->FilterIndex;
        next->InitialDir = dialog_->InitialDir;
        next->Files()->Assign(dialog_->Files());
        next->Options = dialog_->Options;
        next->Title = dialog_->Title;
        delete dialog_;
    } else {
        next->Title = ExLoadStr(SBrowse);
        next->Filter = ExLoadStr(SDefaultFilter);
        next->Options = OpenOption(ofHideReadOnly);
    }
    dialog_ = next;
}

void TFilenameEdit::SetDialogKind(TFileDialogKind kind) {
    if (kind == dialogKind_) return;
    dialogKind_ = kind;
    CreateEditDialog();
}

void TFilenameEdit::SetDialogOptions(TOpenOptions options) {
    if (options == dialog_->Options) return;
    dialog_->Options = options;
    multiple_ = options & OpenOption(ofAllowMultiSelect);
    if (!multiple_) ClearFileList();
}

namespace {

// The file name a text holds: the text itself when such a file exists; a
// quoted name, or an existing file's name, followed by words gives that name
// alone. An unquoted text whose first word names no file is a name with
// blanks (a file about to be saved, a folder such as "Мои проекты"), taken
// whole rather than cut at the first blank.
AnsiString NameFromText(const AnsiString& text) {
    if (FileExists(text)) return text;
    AnsiString name, params;
    SplitCommandLine(text, name, params);
    const AnsiString trimmed = Trim(text);
    if (trimmed.IsEmpty() || trimmed[1] == '"' || params.IsEmpty() || FileExists(name)) return name;
    return trimmed;
}

} // namespace

AnsiString TFilenameEdit::FileName() const { return NameFromText(Text()); }

void TFilenameEdit::SetFileName(const AnsiString& value) {
    if (!value.IsEmpty() && !ValidFileName(NameFromText(value)))
        throw EComboEditError(Format(ResStr("Invalid file name - %s"), value));
    SetText(QuotedName(value));
    ClearFileList();
}

AnsiString TFilenameEdit::GetLongName() { return ShortToLongFileName(FileName()); }
AnsiString TFilenameEdit::GetShortName() { return LongToShortFileName(FileName()); }

void TFilenameEdit::ClearFileList() { dialog_->Files()->Clear(); }

void TFilenameEdit::ReceptFileDir(const AnsiString& name) {
    if (multiple_) {
        if (dialog_->Files()->Count() == 0) SetFileName(name);
        dialog_->Files()->Add(name);
    } else {
        SetFileName(name);
    }
}

void TFilenameEdit::ButtonClick() {
    TCustomComboEdit::ButtonClick();
    AnsiString name = FileName();
    bool action = true;
    DoBeforeDialog(name, action);
    if (!action) return;
    if (ValidFileName(name)) {
        AnsiString folder = ExtractFilePath(name);
        if (!folder.IsEmpty() && DirExists(folder)) dialog_->InitialDir = folder;
        AnsiString part = ExtractFileName(name);
        dialog_->FileName = ValidFileName(part) ? part : AnsiString();
    }
    dialog_->HelpContext = HelpContext;
    action = dialog_->Execute();
    if (action) name = dialog_->FileName;
    if (CanFocus()) SetFocus();
    DoAfterDialog(name, action);
    if (action) {
        SetText(QuotedName(name));
        dialog_->InitialDir = ExtractFilePath(dialog_->FileName);
    }
}

// ---- TDirectoryEdit ---------------------------------------------------------------------------

TDirectoryEdit::TDirectoryEdit(TComponent* owner) : TFileDirEdit(owner) {}

namespace {

// Each ";"-separated path (or the whole text) converted, joined again
// without empty items.
AnsiString ConvertDirs(const AnsiString& text, bool multiple, AnsiString (*convert)(const AnsiString&)) {
    if (!multiple) return convert(text);
    AnsiString result;
    int pos = 1;
    while (pos <= text.Length()) {
        int end = pos;
        while (end <= text.Length() && text[end] != ';') ++end;
        AnsiString part = convert(text.SubString(pos, end - pos));
        if (!part.IsEmpty()) result += (result.IsEmpty() ? "" : ";") + part;
        pos = end + 1;
    }
    return result;
}

} // namespace

AnsiString TDirectoryEdit::GetLongName() { return ConvertDirs(Text(), multiple_, ShortToLongPath); }
AnsiString TDirectoryEdit::GetShortName() { return ConvertDirs(Text(), multiple_, LongToShortPath); }

void TDirectoryEdit::ReceptFileDir(const AnsiString& name) {
    AnsiString folder = FileExists(name) ? ExtractFileDir(name) : name;
    if (multiple_ && !Text().IsEmpty()) SetText(Text() + ";" + folder);
    else SetText(folder);
}

void TDirectoryEdit::ButtonClick() {
    TCustomComboEdit::ButtonClick();
    AnsiString folder = Text();
    bool action = true;
    DoBeforeDialog(folder, action);
    if (!action) return;
    if (folder.IsEmpty()) folder = InitialDir.IsEmpty() ? AnsiString("/") : InitialDir;
    if (!DirExists(folder)) folder = "/";
    action = RunFolderDialog(folder);
    if (CanFocus()) SetFocus();
    DoAfterDialog(folder, action);
    if (!action) return;
    SetSelText("");
    AnsiString rest = Text();
    if (multiple_ && !rest.IsEmpty()) SetText(rest + ";" + folder);
    else SetText(folder);
    if (!folder.IsEmpty() && DirExists(folder)) InitialDir = folder;
}

bool TDirectoryEdit::RunFolderDialog(AnsiString& folder) {
    // The shell's browse dialog shows the prompt; the framework's takes the options.
    if (DialogKind == dkWin32) return BrowseDirectory(folder, DialogText, HelpContext);
    return SelectDirectory(folder, DialogOptions, HelpContext);
}

void TCustomComboEdit::CreateEditCaret() {
    // A bold font gets a caret as heavy as its strokes.
    SetCaretWidth(Font()->Style().Contains(fsBold) ? 2 : 1);
}
