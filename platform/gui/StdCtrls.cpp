// Standard controls on Qt widgets.
#include "platform/gui/StdCtrls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>
#include <cstring>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/DateFormat.h"
#include "platform/gui/Actions.h"
#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"

using namespace gebridge;

struct TListBoxItem {
    QString text;
    QVariant data;
};

namespace {

// The accelerator marks of a caption: "&&" stays "&" and a single "&" goes.
// Qt reads "&" the same way, so only labels without accelerators need this.
QString PlainCaption(const AnsiString& s) { return ToQString(StripHotkey(s)); }

QIcon IconOf(TBitmap* b, int numGlyphs) {
    if (!b || b->Empty()) return QIcon();
    QImage img = b->Image().convertToFormat(QImage::Format_ARGB32);
    int w = numGlyphs > 1 ? img.width() / numGlyphs : img.width();
    img = img.copy(0, 0, w, img.height());
    QRgb t = ToQRgb(b->TransparentColor() == clNone ? clFuchsia : b->TransparentColor()) & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == t) line[x] = 0;
    }
    return QIcon(QPixmap::fromImage(img));
}

void SetBackground(QWidget* w, QPalette::ColorRole role, TColor c) {
    QPalette p = w->palette();
    p.setColor(role, ToQColor(c));
    w->setPalette(p);
}

// ---- text lists over Qt item widgets ----

// A text list over the items of a Qt list or combo box; the item data
// holds the object of each line.
class ItemStrings : public TStrings {
public:
    AnsiString Get(int i) const override {
        Check(i);
        return FromQString(ItemText(i));
    }
    void Put(int i, const AnsiString& s) override {
        Check(i);
        SetItemText(i, ToQString(s));
    }
    TObject* GetObject(int i) const override {
        Check(i);
        return static_cast<TObject*>(ItemData(i).value<void*>());
    }
    void PutObject(int i, TObject* o) override {
        Check(i);
        SetItemData(i, QVariant::fromValue<void*>(o));
    }
    void Insert(int i, const AnsiString& s) override { InsertObject(i, s, nullptr); }
    void InsertObject(int i, const AnsiString& s, TObject* o) override {
        if (i < 0 || i > Count()) IndexError(i);
        InsertItem(i, ToQString(s), QVariant::fromValue<void*>(o));
    }
    int Add(const AnsiString& s) override { return AddObject(s, nullptr); }
    int AddObject(const AnsiString& s, TObject* o) override {
        int i = Count();
        if (Sorted())
            for (i = 0; i < Count(); ++i)
                if (AnsiCompareText(s, Get(i)) < 0) break;
        InsertObject(i, s, o);
        return i;
    }
    void Delete(int i) override {
        Check(i);
        RemoveItem(i);
    }

protected:
    virtual bool Sorted() const = 0;
    virtual QString ItemText(int i) const = 0;
    virtual void SetItemText(int i, const QString& s) = 0;
    virtual QVariant ItemData(int i) const = 0;
    virtual void SetItemData(int i, const QVariant& v) = 0;
    virtual void InsertItem(int i, const QString& s, const QVariant& data) = 0;
    virtual void RemoveItem(int i) = 0;
    void Check(int i) const {
        if (i < 0 || i >= Count()) IndexError(i);
    }
};

class ComboStrings : public ItemStrings {
public:
    explicit ComboStrings(TComboBox* owner) : owner_(owner) {}
    QComboBox* C() const { return owner_->Combo(); }
    int Count() const override { return C()->count(); }
    void Clear() override {
        Keep keep(C());
        C()->clear();
    }

protected:
    bool Sorted() const override { return owner_->Sorted(); }
    QString ItemText(int i) const override { return C()->itemText(i); }
    void SetItemText(int i, const QString& s) override { C()->setItemText(i, s); }
    QVariant ItemData(int i) const override { return C()->itemData(i); }
    void SetItemData(int i, const QVariant& v) override { C()->setItemData(i, v); }
    void InsertItem(int i, const QString& s, const QVariant& data) override {
        Keep keep(C());
        C()->insertItem(i, s, data);
    }
    void RemoveItem(int i) override {
        Keep keep(C());
        C()->removeItem(i);
    }

private:
    // Inserting into an empty combo box makes Qt choose the first item; the
    // old platform leaves the choice and the text alone.
    struct Keep {
        QComboBox* c;
        int index;
        QString text;
        explicit Keep(QComboBox* cb) : c(cb), index(cb->currentIndex()), text(cb->currentText()) { c->blockSignals(true); }
        ~Keep() {
            if (index < 0 && c->currentIndex() >= 0) c->setCurrentIndex(-1);
            if (c->isEditable()) c->setEditText(text);
            c->blockSignals(false);
        }
    };
    TComboBox* owner_;
};

class ListStrings : public ItemStrings {
public:
    explicit ListStrings(TListBox* owner) : owner_(owner) {}
    QListWidget* L() const { return owner_->List(); }
    int Count() const override { return L()->count(); }
    void Clear() override { owner_->Perform(LB_RESETCONTENT); }

protected:
    bool Sorted() const override { return owner_->Sorted(); }
    QString ItemText(int i) const override { return L()->item(i)->text(); }
    // A new text is the old item taken out and a new one put in its place
    // (so the box hears both), keeping the item's data and the current item.
    void SetItemText(int i, const QString& s) override {
        int current = owner_->ItemIndex();
        QVariant data = ItemData(i);
        RemoveItem(i);
        InsertItem(i, s, data);
        if (current >= 0) owner_->SetItemIndex(current);
    }
    QVariant ItemData(int i) const override { return L()->item(i)->data(Qt::UserRole); }
    void SetItemData(int i, const QVariant& v) override { L()->item(i)->setData(Qt::UserRole, v); }
    void InsertItem(int i, const QString& s, const QVariant& data) override {
        TListBoxItem item{s, data};
        owner_->Perform(LB_INSERTSTRING, WPARAM(i), LPARAM(&item));
    }
    void RemoveItem(int i) override { owner_->Perform(LB_DELETESTRING, WPARAM(i)); }

private:
    TListBox* owner_;
};

// The lines of a memo. While the list is being updated the lines are kept
// aside and written to the editor once at the end.
class MemoLines : public TStrings {
public:
    explicit MemoLines(TMemo* owner) : owner_(owner) {}
    int Count() const override { return int(Lines().size()); }
    AnsiString Get(int i) const override {
        Check(i);
        return FromQString(Lines()[i]);
    }
    void Put(int i, const AnsiString& s) override {
        Check(i);
        Edit([&](QStringList& l) { l[i] = ToQString(s); });
    }
    void Insert(int i, const AnsiString& s) override {
        if (i < 0 || i > Count()) IndexError(i);
        Edit([&](QStringList& l) { l.insert(i, ToQString(s)); });
    }
    void Delete(int i) override {
        Check(i);
        Edit([&](QStringList& l) { l.removeAt(i); });
    }
    void Clear() override {
        Edit([](QStringList& l) { l.clear(); });
    }

protected:
    void SetUpdateState(bool updating) override {
        if (updating) {
            cache_ = Lines();
            caching_ = true;
        } else {
            caching_ = false;
            Write(cache_);
        }
    }

private:
    QStringList Lines() const {
        if (caching_) return cache_;
        QString t = owner_->TextEdit()->toPlainText();
        if (t.isEmpty()) return {};
        QStringList l = t.split('\n');
        // The break after the last line ends it and starts no new line.
        if (l.last().isEmpty()) l.removeLast();
        return l;
    }
    void Write(const QStringList& l) {
        // Every line ends with a break, so an empty last line stays a line.
        QString t = l.isEmpty() ? QString() : l.join('\n') + '\n';
        owner_->TextEdit()->setPlainText(t);
    }
    template <class F>
    void Edit(F f) {
        if (caching_) {
            f(cache_);
            return;
        }
        QStringList l = Lines();
        f(l);
        Write(l);
    }
    void Check(int i) const {
        if (i < 0 || i >= Count()) IndexError(i);
    }
    TMemo* owner_;
    QStringList cache_;
    bool caching_ = false;
};

} // namespace

// ---- TLabel --------------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TControl(owner) {
    label_ = new QLabel;
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    width_ = 65;
    height_ = 17;
    AttachWidget(label_);
    parentColor_ = true;
    ControlStyle |= csReplicatable;
}

void TLabel::ApplyText() {
    label_->setText(ShowAccelChar ? PlainCaption(text_) : ToQString(text_));
    Fit();
}

void TLabel::ApplyFont() {
    TControl::ApplyFont();
    Fit();
}

void TLabel::ApplyColor() {
    label_->setAutoFillBackground(!transparent_);
    SetBackground(label_, QPalette::Window, color_);
}

void TLabel::Fit() {
    if (!autoSize_) return;
    QSize s = label_->sizeHint();
    if (text_.IsEmpty()) s = QSize(std::max(width_, 1), QFontMetrics(label_->font()).height());
    if (wordWrap_) s = QSize(width_, label_->heightForWidth(width_));
    if (s.width() != width_ || s.height() != height_) {
        int left = alignment_ == taRightJustify ? left_ + width_ - s.width() : left_;
        SetBounds(left, top_, s.width(), s.height());
    }
}

void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Qt::Alignment h = a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    Qt::Alignment v = layout_ == tlCenter ? Qt::AlignVCenter : layout_ == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
    label_->setAlignment(h | v);
}

void TLabel::SetLayout(TTextLayout l) {
    layout_ = l;
    SetAlignment(alignment_);
}

void TLabel::SetAutoSize(bool v) {
    autoSize_ = v;
    Fit();
}

void TLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    label_->setWordWrap(v);
    Fit();
}

void TLabel::SetTransparent(bool v) {
    transparent_ = v;
    ApplyColor();
}

// ---- TCustomEdit ---------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    edit_ = new QLineEdit;
    width_ = 121;
    height_ = 21;
    color_ = clWindow;
    TabStop = true;
    AttachWidget(edit_);
    ApplyColor();
    QObject::connect(edit_, &QLineEdit::textChanged, [this] { Dispatch([this] { Change(); }); });
    QObject::connect(edit_, &QLineEdit::textEdited, [this](const QString& t) {
        Modified = true;
        if (CharCase != ecNormal) {
            QString c = CharCase == ecUpperCase ? t.toUpper() : t.toLower();
            if (c != t) {
                int pos = edit_->cursorPosition();
                edit_->setText(c);
                edit_->setCursorPosition(pos);
            }
        }
    });
}

AnsiString TCustomEdit::GetText() const {
    if (editMask_.IsEmpty()) return FromQString(edit_->text());
    AnsiString shown = FromQString(edit_->displayText());
    AnsiString text;
    for (int i = 1; i <= shown.Length(); ++i) {
        bool literal = std::size_t(i - 1) < maskLiterals_.size() && maskLiterals_[std::size_t(i - 1)];
        if (!literal) text += shown[i] == maskBlank_ ? ' ' : shown[i];
        else if (maskSavesLiterals_) text += shown[i];
    }
    return text;
}

AnsiString TCustomEdit::EditText() const {
    return editMask_.IsEmpty() ? Text() : FromQString(edit_->displayText());
}

void TCustomEdit::ApplyText() {
    Modified = false;
    AnsiString text = text_;
    // A blank at an open place of the mask is that place left unfilled (Qt
    // would skip it and move what follows forward).
    if (!editMask_.IsEmpty() && maskSavesLiterals_)
        for (int i = 1; i <= text.Length() && std::size_t(i - 1) < maskLiterals_.size(); ++i)
            if (text[i] == ' ' && !maskLiterals_[std::size_t(i - 1)]) text[i] = maskBlank_;
    edit_->setText(ToQString(text));
}

void TCustomEdit::SetEditMask(const AnsiString& mask) {
    if (mask == editMask_ && maskSeparators_ == AnsiString(DateSeparator) + TimeSeparator) return;
    editMask_ = mask;
    maskSeparators_ = AnsiString(DateSeparator) + TimeSeparator;
    maskLiterals_.clear();
    maskBlank_ = '_';
    maskSavesLiterals_ = true;
    if (mask.IsEmpty()) {
        edit_->setInputMask(QString());
        return;
    }
    // The fields: the mask up to the first ';' that is not escaped, then
    // the save flag and the blank character.
    int end = 1;
    while (end <= mask.Length() && mask[end] != ';') end += mask[end] == '\\' ? 2 : 1;
    AnsiString body = mask.SubString(1, end - 1);
    AnsiString rest = mask.SubString(end + 1, mask.Length());
    if (!rest.IsEmpty()) {
        maskSavesLiterals_ = rest[1] != '0';
        int semi = rest.Pos(";");
        if (semi > 0 && semi < rest.Length()) maskBlank_ = rest[semi + 1];
    }
    // Qt's own letters: '9' is its required digit and '0' its optional one.
    static const char* const kQtSpecial = "AaNnXx90Dd#HhBb<>!\\[]{};";
    QString qt;
    auto literal = [&](char c) {
        if (std::strchr(kQtSpecial, c)) qt += '\\';
        qt += ToQString(AnsiString(c));
        maskLiterals_.push_back(true);
    };
    auto open = [&](char q) {
        qt += q;
        maskLiterals_.push_back(false);
    };
    for (int i = 1; i <= body.Length(); ++i) {
        char c = body[i];
        switch (c) {
        case '\\':
            if (i < body.Length()) literal(body[++i]);
            break;
        case '!': break;
        case '<':
            if (i < body.Length() && body[i + 1] == '>') {
                qt += '!';
                ++i;
            } else {
                qt += '<';
            }
            break;
        case '>': qt += '>'; break;
        case 'L': open('A'); break;
        case 'l': open('a'); break;
        case 'A': open('N'); break;
        case 'a': open('n'); break;
        case 'C': open('X'); break;
        case 'c': open('x'); break;
        case '0': open('9'); break;
        case '9': open('0'); break;
        case '#': open('#'); break;
        case '/': literal(DateSeparator); break;
        case ':': literal(TimeSeparator); break;
        case '_': literal(' '); break;
        default: literal(c); break;
        }
    }
    qt += ';';
    qt += ToQString(AnsiString(maskBlank_));
    edit_->setInputMask(qt);
}

void TCustomEdit::ApplyColor() { SetBackground(edit_, QPalette::Base, color_); }

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::SetMaxLength(int n) {
    maxLength_ = std::max(n, 0);
    edit_->setMaxLength(maxLength_ ? maxLength_ : 32767);
}

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    edit_->setReadOnly(v);
}

int TCustomEdit::SelStart() const { return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition(); }

void TCustomEdit::SetSelStart(int v) {
    edit_->deselect();
    edit_->setCursorPosition(v);
}

int TCustomEdit::SelLength() const { return edit_->hasSelectedText() ? int(edit_->selectedText().size()) : 0; }

void TCustomEdit::SetSelLength(int v) { edit_->setSelection(SelStart(), v); }

AnsiString TCustomEdit::SelText() const { return FromQString(edit_->selectedText()); }

void TCustomEdit::SetSelText(const AnsiString& s) { edit_->insert(ToQString(s)); }

void TCustomEdit::SelectAll() { edit_->selectAll(); }

void TCustomEdit::ClearSelection() { edit_->del(); }

void TCustomEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    edit_->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SetBorderStyle(TBorderStyle b) {
    borderStyle_ = b;
    edit_->setFrame(b != bsNone);
}

namespace {

// The style of an edit whose text cursor is wider than the desktop's.
class CaretStyle : public QProxyStyle {
public:
    explicit CaretStyle(int width) : width_(width) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth) return width_;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int width_;
};

} // namespace

void TCustomEdit::SetCaretWidth(int width) {
    width = std::max(width, 1);
    if (width == caretWidth_) return;
    caretWidth_ = width;
    QStyle* old = edit_->style();
    auto* style = new CaretStyle(width);
    style->setParent(edit_);
    edit_->setStyle(style);
    if (dynamic_cast<CaretStyle*>(old)) delete old;
    edit_->update();
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == EM_GETMARGINS) {
        QMargins margins = edit_->textMargins();
        m.Result = LRESULT((uint32_t(uint16_t(margins.right())) << 16) | uint16_t(margins.left()));
        return;
    }
    if (m.Msg == EM_SETMARGINS) {
        QMargins margins = edit_->textMargins();
        if (m.WParam & EC_LEFTMARGIN) margins.setLeft(uint16_t(m.LParam & 0xFFFF));
        if (m.WParam & EC_RIGHTMARGIN) margins.setRight(uint16_t(uint32_t(m.LParam) >> 16));
        edit_->setTextMargins(margins);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::SetAlignment(TAlignment a) {
    alignment_ = a;
    Qt::Alignment qa = a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    edit_->setAlignment(qa | Qt::AlignVCenter);
}

void TCustomEdit::SetEditMenuAndDrops(bool on) {
    editMenuAndDrops_ = on;
    edit_->setContextMenuPolicy(on ? Qt::DefaultContextMenu : Qt::NoContextMenu);
    edit_->setAcceptDrops(on);
}

void TCustomEdit::DoEnter() {
    // Entering by keyboard selects the whole text; a click places the caret.
    if (AutoSelect && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) PostCall([this, alive = Alive()] {
            if (!alive.expired()) edit_->selectAll();
        });
    TWinControl::DoEnter();
}

// ---- TMemo ---------------------------------------------------------------------------

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    edit_ = new QPlainTextEdit;
    width_ = 185;
    height_ = 89;
    color_ = clWindow;
    TabStop = true;
    AttachWidget(edit_);
    Register(edit_->viewport(), this);
    lines_ = std::make_unique<MemoLines>(this);
    ApplyColor();
    SetScrollBars(ssNone);
    QObject::connect(edit_, &QPlainTextEdit::textChanged, [this] { Dispatch([this] { Change(); }); });
    QObject::connect(edit_->document(), &QTextDocument::contentsChange, [this](int, int removed, int added) {
        if ((removed || added) && edit_->hasFocus()) Modified = true;
    });
}

TMemo::~TMemo() {
    Destroying();
    Unregister(edit_->viewport());
}

AnsiString TMemo::GetText() const {
    // Lines end in CR LF, as the old platform's memo gave them.
    return StringReplaceAll(FromQString(edit_->toPlainText()), "\n", "\r\n");
}

void TMemo::ApplyText() {
    AnsiString t = StringReplaceAll(text_, "\r\n", "\n");
    edit_->setPlainText(ToQString(t));
    Modified = false;
}

void TMemo::ApplyColor() { SetBackground(edit_, QPalette::Base, color_); }

void TMemo::Change() {
    if (OnChange) OnChange(this);
}

void TMemo::SetReadOnly(bool v) {
    readOnly_ = v;
    edit_->setReadOnly(v);
}

void TMemo::SetWordWrap(bool v) {
    wordWrap_ = v;
    edit_->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    edit_->setHorizontalScrollBarPolicy(s == ssHorizontal || s == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    edit_->setVerticalScrollBarPolicy(s == ssVertical || s == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    if (s == ssHorizontal || s == ssBoth) SetWordWrap(false);
}

int TMemo::SelStart() const { return edit_->textCursor().selectionStart(); }

void TMemo::SetSelStart(int v) {
    QTextCursor c = edit_->textCursor();
    c.setPosition(v);
    edit_->setTextCursor(c);
}

int TMemo::SelLength() const {
    QTextCursor c = edit_->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TMemo::SetSelLength(int v) {
    QTextCursor c = edit_->textCursor();
    int s = c.selectionStart();
    c.setPosition(s);
    c.setPosition(s + v, QTextCursor::KeepAnchor);
    edit_->setTextCursor(c);
}

void TMemo::SelectAll() { edit_->selectAll(); }

bool TMemo::WantsKey(WORD key) const {
    if (key == VK_RETURN) return WantReturns;
    if (key == VK_TAB) return WantTabs;
    return key != VK_ESCAPE;
}

// ---- TButton ---------------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    button_ = new QPushButton;
    button_->setAutoDefault(false);
    width_ = 75;
    height_ = 25;
    TabStop = true;
    ControlStyle = csSetCaption | csDoubleClicks;
    AttachWidget(button_);
    QObject::connect(button_, &QPushButton::clicked, [this] {
        Dispatch([this] { Click(); });
        ScheduleIdle();
    });
}

void TButton::ApplyText() { button_->setText(ToQString(text_)); }

void TButton::SetDefault(bool v) {
    default_ = v;
    button_->setDefault(v);
}

void TButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* f = GetParentForm(this)) f->ModalResult = ModalResult;
    TWinControl::Click();
}

bool TButton::WantsKey(WORD key) const { return key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB; }

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGKEY) {
        WORD key = WORD(m.WParam);
        TShiftState shift = TShiftState(m.LParam);
        // The focused button is the one Enter presses; otherwise the default.
        bool active = default_;
        if (auto* focused = dynamic_cast<TButton*>(Screen->ActiveControl()); focused && GetParentForm(focused) == GetParentForm(this))
            active = focused == this;
        if (((key == VK_RETURN && active) || (key == VK_ESCAPE && cancel_)) && (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
            Click();
            m.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TBitBtn ---------------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetKind(TBitBtnKind k) {
    struct KindInfo {
        const char* caption;
        int result;
        bool isDefault;
        bool isCancel;
    };
    static const KindInfo info[] = {
        {"", mrNone, false, false},       {"OK", mrOk, true, false},           {"Отмена", mrCancel, false, true},
        {"&Справка", mrNone, false, false}, {"&Да", mrYes, true, false},        {"&Нет", mrNo, false, true},
        {"&Закрыть", mrNone, false, false}, {"Прервать", mrAbort, false, true}, {"&Повтор", mrRetry, false, false},
        {"&Пропустить", mrIgnore, false, false}, {"&Все", mrAll, false, false},
    };
    kind_ = k;
    if (k == bkCustom) return;
    const KindInfo& i = info[k];
    SetCaption(Utf8ToAnsi(i.caption));
    ModalResult = i.result;
    SetDefault(i.isDefault);
    SetCancel(i.isCancel);
}

void TBitBtn::SetGlyph(TBitmap* b) {
    glyph_->Assign(b);
    ApplyGlyph();
}

void TBitBtn::ApplyGlyph() {
    button_->setIcon(IconOf(glyph_.get(), NumGlyphs));
    if (!glyph_->Empty()) button_->setIconSize(QSize(glyph_->Width() / std::max(NumGlyphs, 1), glyph_->Height()));
}

void TBitBtn::Click() {
    if (kind_ == bkClose) {
        if (TForm* f = GetParentForm(this)) {
            TButton::Click();
            f->Close();
            return;
        }
    }
    TButton::Click();
}

// ---- TSpeedButton ----------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner), glyph_(std::make_unique<TBitmap>()) {
    button_ = new QToolButton;
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    width_ = 23;
    height_ = 22;
    AttachWidget(button_);
    ControlStyle = csCaptureMouse | csDoubleClicks;
    QObject::connect(button_, &QToolButton::clicked, [this] {
        Dispatch([this] {
            if (groupIndex_ > 0) SetDown(down_ && allowAllUp_ ? false : true);
            button_->setChecked(down_);
            Click();
        });
        ScheduleIdle();
    });
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::ApplyText() {
    button_->setText(ToQString(text_));
    button_->setToolButtonStyle(text_.IsEmpty() ? Qt::ToolButtonIconOnly : glyph_->Empty() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextBesideIcon);
}

void TSpeedButton::SetGroupIndex(int v) {
    groupIndex_ = v;
    button_->setCheckable(v > 0);
    if (v == 0) SetDown(false);
}

void TSpeedButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (!v && !allowAllUp_) {
        // A group must keep one button down unless all may be up.
        bool other = false;
        if (parent_)
            for (int i = 0; i < parent_->ControlCount(); ++i)
                if (auto* s = dynamic_cast<TSpeedButton*>(parent_->Controls(i)); s && s != this && s->groupIndex_ == groupIndex_ && s->down_)
                    other = true;
        if (!other) return;
    }
    down_ = v;
    button_->setChecked(v);
    if (v && parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i)
            if (auto* s = dynamic_cast<TSpeedButton*>(parent_->Controls(i)); s && s != this && s->groupIndex_ == groupIndex_ && s->down_) {
                s->down_ = false;
                s->button_->setChecked(false);
            }
}

void TSpeedButton::SetAllowAllUp(bool v) {
    allowAllUp_ = v;
    if (parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i)
            if (auto* s = dynamic_cast<TSpeedButton*>(parent_->Controls(i)); s && s->groupIndex_ == groupIndex_ && groupIndex_ > 0)
                s->allowAllUp_ = v;
}

void TSpeedButton::SetFlat(bool v) {
    flat_ = v;
    button_->setAutoRaise(v);
}

void TSpeedButton::SetGlyph(TBitmap* b) {
    glyph_->Assign(b);
    ApplyGlyph();
}

void TSpeedButton::ApplyGlyph() {
    button_->setIcon(IconOf(glyph_.get(), NumGlyphs));
    if (!glyph_->Empty()) button_->setIconSize(QSize(glyph_->Width() / std::max(NumGlyphs, 1), glyph_->Height()));
    ApplyText();
}

void TSpeedButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* f = GetParentForm(this)) f->ModalResult = ModalResult;
    TControl::Click();
}

// ---- TCheckBox -------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    box_ = new QCheckBox;
    width_ = 97;
    height_ = 17;
    TabStop = true;
    ControlStyle = csSetCaption | csDoubleClicks;
    AttachWidget(box_);
    QObject::connect(box_, &QCheckBox::stateChanged, [this](int s) {
        if (syncing_) return;
        state_ = s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
        Dispatch([this] { Click(); });
        ScheduleIdle();
    });
}

namespace {

// The width a check box or radio button needs for its caption (0 without one).
int CaptionWidth(QWidget* w, const AnsiString& text) { return text.IsEmpty() ? 0 : w->sizeHint().width(); }

} // namespace

void TCheckBox::SetBounds(int left, int top, int width, int height) {
    if (align_ == alNone) width = std::max(width, CaptionWidth(box_, text_));
    TWinControl::SetBounds(left, top, width, height);
}

void TCheckBox::ApplyText() {
    box_->setText(ToQString(text_));
    SetBounds(left_, top_, width_, height_);
}

void TCheckBox::ApplyFont() {
    TWinControl::ApplyFont();
    SetBounds(left_, top_, width_, height_);
}

void TCheckBox::SetState(TCheckBoxState s) {
    if (s == cbGrayed && !allowGrayed_) box_->setTristate(true);
    if (s == state_) return;
    state_ = s;
    syncing_ = true;
    box_->setCheckState(s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    syncing_ = false;
    Click();
}

void TCheckBox::SetAllowGrayed(bool v) {
    allowGrayed_ = v;
    box_->setTristate(v);
}

void TCheckBox::ActionChange(TBasicAction* sender, bool checkDefaults) {
    TWinControl::ActionChange(sender, checkDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(sender)) {
        syncing_ = true;
        state_ = a->Checked() ? cbChecked : cbUnchecked;
        box_->setCheckState(a->Checked() ? Qt::Checked : Qt::Unchecked);
        syncing_ = false;
    }
}

// ---- TRadioButton ----------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    button_ = new QRadioButton;
    width_ = 113;
    height_ = 17;
    TabStop = true;
    ControlStyle = csSetCaption | csDoubleClicks;
    AttachWidget(button_);
    QObject::connect(button_, &QRadioButton::toggled, [this](bool on) {
        if (syncing_) return;
        checked_ = on;
        if (on) {
            Dispatch([this] { Click(); });
            ScheduleIdle();
        }
    });
}

void TRadioButton::SetBounds(int left, int top, int width, int height) {
    if (align_ == alNone) width = std::max(width, CaptionWidth(button_, text_));
    TWinControl::SetBounds(left, top, width, height);
}

void TRadioButton::ApplyText() {
    button_->setText(ToQString(text_));
    SetBounds(left_, top_, width_, height_);
}

void TRadioButton::ApplyFont() {
    TWinControl::ApplyFont();
    SetBounds(left_, top_, width_, height_);
}

void TRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    syncing_ = true;
    button_->setChecked(v);
    syncing_ = false;
    if (v && parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(parent_->Controls(i)); r && r != this) r->checked_ = r->button_->isChecked();
    if (v) Click();
}

// ---- TGroupBox --------------------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    box_ = new QGroupBox;
    width_ = 185;
    height_ = 105;
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    AttachWidget(box_);
}

void TGroupBox::ApplyText() { box_->setTitle(ToQString(text_)); }

TRect TGroupBox::AlignRect() const {
    TRect r = FromQRect(box_->contentsRect());
    InflateRect(r, -borderWidth_, -borderWidth_);
    return r;
}

// ---- TComboBox ----------------------------------------------------------------------------

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    combo_ = new QComboBox;
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setCurrentIndex(-1);
    width_ = 145;
    height_ = 21;
    color_ = clWindow;
    TabStop = true;
    AttachWidget(combo_);
    items_ = std::make_unique<ComboStrings>(this);
    auto user = [this] {
        // The user's picking: OnClick, then OnChange.
        Dispatch([this] {
            if (OnSelect) OnSelect(this);
            Click();
            Change();
        });
        ScheduleIdle();
    };
    QObject::connect(combo_, QOverload<int>::of(&QComboBox::activated), user);
    SetStyle(csDropDown);
}

TComboBox::~TComboBox() = default;

void TComboBox::SetStyle(TComboBoxStyle s) {
    style_ = s;
    bool editable = s == csDropDown || s == csSimple;
    if (combo_->isEditable() == editable) {
        if (!editable) return;
    }
    QString text = combo_->currentText();
    int index = combo_->currentIndex();
    combo_->setEditable(editable);
    if (editable) {
        combo_->lineEdit()->setText(index >= 0 ? combo_->itemText(index) : text);
        // A typed name keeps its letter case: leaving the box never puts an
        // item that differs only in case in its place (names are exact).
        if (QCompleter* completer = combo_->completer()) completer->setCaseSensitivity(Qt::CaseSensitive);
        Register(combo_->lineEdit(), this);
        QObject::connect(combo_->lineEdit(), &QLineEdit::textEdited, [this] {
            Dispatch([this] { Change(); });
            ScheduleIdle();
        });
        if (maxLength_) combo_->lineEdit()->setMaxLength(maxLength_);
    }
}

AnsiString TComboBox::GetText() const { return FromQString(combo_->currentText()); }

void TComboBox::ApplyText() {
    QSignalBlocker block(combo_);
    int i = -1;
    QString t = ToQString(text_);
    for (int k = 0; k < combo_->count(); ++k)
        if (combo_->itemText(k) == t) {
            i = k;
            break;
        }
    if (combo_->isEditable()) {
        combo_->setCurrentIndex(i);
        combo_->setEditText(t);
    } else {
        combo_->setCurrentIndex(i);
    }
}

int TComboBox::ItemIndex() const {
    int i = combo_->currentIndex();
    if (i >= 0 && combo_->isEditable() && combo_->currentText() != combo_->itemText(i)) return -1;
    return i;
}

void TComboBox::SetItemIndex(int i) {
    if (i < -1 || i >= combo_->count()) i = -1;
    QSignalBlocker block(combo_);
    combo_->setCurrentIndex(i);
    if (combo_->isEditable() && i < 0) combo_->setEditText("");
}

void TComboBox::SetSorted(bool v) {
    sorted_ = v;
    if (v) {
        auto* list = new TStringList;
        list->Assign(items_.get());
        list->Sort();
        AnsiString t = Text();
        items_->Assign(list);
        delete list;
        SetText(t);
    }
}

void TComboBox::SetMaxLength(int n) {
    maxLength_ = std::max(n, 0);
    if (combo_->lineEdit()) combo_->lineEdit()->setMaxLength(maxLength_ ? maxLength_ : 32767);
}

void TComboBox::SetDropDownCount(int n) {
    dropDownCount_ = n;
    combo_->setMaxVisibleItems(std::max(n, 1));
}

int TComboBox::SelStart() const { return combo_->lineEdit() ? combo_->lineEdit()->selectionStart() : 0; }

void TComboBox::SetSelStart(int v) {
    if (combo_->lineEdit()) combo_->lineEdit()->setCursorPosition(v);
}

int TComboBox::SelLength() const { return combo_->lineEdit() ? int(combo_->lineEdit()->selectedText().size()) : 0; }

void TComboBox::SetSelLength(int v) {
    if (combo_->lineEdit()) combo_->lineEdit()->setSelection(SelStart(), v);
}

void TComboBox::SelectAll() {
    if (combo_->lineEdit()) combo_->lineEdit()->selectAll();
}

void TComboBox::Clear() {
    items_->Clear();
    SetText("");
}

bool TComboBox::DroppedDown() const { return combo_->view() && combo_->view()->isVisible(); }

void TComboBox::SetDroppedDown(bool v) {
    if (v) {
        if (OnDropDown) OnDropDown(this);
        combo_->showPopup();
    } else {
        combo_->hidePopup();
    }
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

bool TComboBox::WantsKey(WORD key) const {
    if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown()) return true;
    return TWinControl::WantsKey(key);
}

// ---- TListBox ----------------------------------------------------------------------------

class ListDelegate : public QStyledItemDelegate {
public:
    // The view's child, freed with it (a view does not own its delegate).
    ListDelegate(TListBox* owner, QObject* view) : QStyledItemDelegate(view), owner_(owner) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (owner_->Style() == lbStandard) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QRect r = option.rect;
        QImage img(std::max(r.width(), 1), std::max(r.height(), 1), QImage::Format_RGB32);
        img.fill(ToQRgb(owner_->Color()));
        TCanvas* c = owner_->Canvas();
        c->SetImage(&img);
        c->SetViewport(Rect(-r.x(), -r.y(), -r.x() + owner_->ClientWidth(), -r.y() + r.y() + r.height() + owner_->ClientHeight()));
        TOwnerDrawState st = 0;
        if (option.state & QStyle::State_Selected) st |= odSelected;
        if (option.state & QStyle::State_HasFocus) st |= odFocused;
        if (!owner_->Enabled()) st |= odDisabled;
        c->Font()->Assign(owner_->Font());
        c->Brush()->SetStyle(bsSolid);
        if (st & odSelected) {
            c->Brush()->SetColor(clHighlight);
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Brush()->SetColor(owner_->Color());
        }
        TRect rect = FromQRect(r);
        Dispatch([&] { owner_->DrawItem(index.row(), rect, st); });
        if (st & odFocused) c->DrawFocusRect(rect);
        c->ResetViewport();
        c->SetImage(nullptr);
        painter->drawImage(r.topLeft(), img);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (owner_->Style() == lbStandard) return QStyledItemDelegate::sizeHint(option, index);
        int h = owner_->ItemHeight();
        if (owner_->Style() == lbOwnerDrawVariable) Dispatch([&] { owner_->MeasureItem(index.row(), h); });
        return QSize(option.rect.width(), h);
    }

private:
    TListBox* owner_;
};

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    list_ = new QListWidget;
    list_->setItemDelegate(new ListDelegate(this, list_));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // OnClick comes from the selection change alone, once per pick, not
    // again from the mouse release.
    ControlStyle = csSetCaption | csDoubleClicks;
    width_ = 121;
    height_ = 97;
    color_ = clWindow;
    TabStop = true;
    AttachWidget(list_);
    Register(list_->viewport(), this);
    items_ = std::make_unique<ListStrings>(this);
    QObject::connect(list_, &QListWidget::itemSelectionChanged, [this] {
        Dispatch([this] { Click(); });
        ScheduleIdle();
    });
    QObject::connect(list_->horizontalScrollBar(), &QScrollBar::rangeChanged, [this] { ApplyHorizontalExtent(); });
    SetBackground(list_, QPalette::Base, color_);
}

TListBox::~TListBox() {
    Destroying();
    Unregister(list_->viewport());
}

void TListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case LB_INSERTSTRING: {
        const auto* from = reinterpret_cast<const TListBoxItem*>(m.LParam);
        int i = int(m.WParam);
        if (!from || i < -1 || i > list_->count()) {
            m.Result = -1;
            return;
        }
        if (i == -1) i = list_->count();
        auto* item = new QListWidgetItem(from->text);
        item->setData(Qt::UserRole, from->data);
        if (auto* cl = dynamic_cast<TCheckListBox*>(this)) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable | (cl->AllowGrayed ? Qt::ItemIsUserTristate : Qt::NoItemFlags));
            item->setCheckState(Qt::Unchecked);
        }
        QSignalBlocker block(list_);
        list_->insertItem(i, item);
        m.Result = i;
        return;
    }
    case LB_DELETESTRING: {
        int i = int(m.WParam);
        if (i < 0 || i >= list_->count()) {
            m.Result = -1;
            return;
        }
        QSignalBlocker block(list_);
        delete list_->takeItem(i);
        m.Result = list_->count();
        return;
    }
    case LB_RESETCONTENT: {
        QSignalBlocker block(list_);
        list_->clear();
        m.Result = 0;
        return;
    }
    case LB_SETHORIZONTALEXTENT:
        hExtent_ = int(m.WParam);
        ApplyHorizontalExtent();
        m.Result = 0;
        return;
    case LB_GETHORIZONTALEXTENT:
        m.Result = std::max(hExtent_, 0);
        return;
    case WM_HSCROLL:
        if ((m.WParam & 0xFFFF) == SB_TOP) list_->horizontalScrollBar()->setValue(0);
        m.Result = 0;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TListBox::ApplyHorizontalExtent() {
    if (hExtent_ < 0 || applyingExtent_) return;
    // The box scrolls sideways over the extent it was given, not over what
    // its items measure.
    applyingExtent_ = true;
    QScrollBar* bar = list_->horizontalScrollBar();
    int page = list_->viewport()->width();
    bar->setRange(0, std::max(0, hExtent_ - page));
    bar->setPageStep(std::max(page, 1));
    applyingExtent_ = false;
}

int TListBox::ItemIndex() const { return list_->currentRow(); }

void TListBox::SetItemIndex(int i) {
    QSignalBlocker block(list_);
    if (i < 0 || i >= list_->count()) {
        list_->setCurrentRow(-1);
        list_->clearSelection();
        return;
    }
    if (multiSelect_) list_->setCurrentRow(i, QItemSelectionModel::Current);
    else list_->setCurrentRow(i);
}

void TListBox::SetMultiSelect(bool v) {
    multiSelect_ = v;
    list_->setSelectionMode(!v ? QAbstractItemView::SingleSelection : extendedSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::MultiSelection);
}

void TListBox::SetExtendedSelect(bool v) {
    extendedSelect_ = v;
    SetMultiSelect(multiSelect_);
}

bool TListBox::Selected(int index) const {
    if (index < 0 || index >= list_->count()) throw EStringListError(FormatRaw("List index out of bounds (%d)", index));
    return list_->item(index)->isSelected();
}

void TListBox::SetSelected(int index, bool v) {
    if (index < 0 || index >= list_->count()) throw EStringListError(FormatRaw("List index out of bounds (%d)", index));
    QSignalBlocker block(list_);
    if (!multiSelect_) {
        if (v) list_->setCurrentRow(index);
        else if (list_->currentRow() == index) list_->setCurrentRow(-1);
        return;
    }
    list_->item(index)->setSelected(v);
}

int TListBox::SelCount() const { return multiSelect_ ? int(list_->selectedItems().size()) : -1; }

void TListBox::SetSorted(bool v) {
    sorted_ = v;
    if (v) {
        QSignalBlocker block(list_);
        list_->sortItems();
    }
}

void TListBox::SetStyle(TListBoxStyle s) {
    style_ = s;
    list_->setUniformItemSizes(s == lbOwnerDrawFixed);
    list_->doItemsLayout();
}

void TListBox::SetItemHeight(int h) {
    if (h < 1) return;
    itemHeight_ = h;
    list_->doItemsLayout();
}

int TListBox::TopIndex() const {
    QListWidgetItem* it = list_->itemAt(2, 2);
    return it ? list_->row(it) : 0;
}

void TListBox::SetTopIndex(int i) {
    if (i >= 0 && i < list_->count()) list_->scrollToItem(list_->item(i), QAbstractItemView::PositionAtTop);
}

void TListBox::Clear() { items_->Clear(); }

int TListBox::ItemAtPos(TPoint p, bool existingOnly) const {
    if (!PtInRect(ClientRect(), p)) return -1;
    QPoint vp = list_->viewport()->mapFrom(list_, ToQPoint(p));
    QListWidgetItem* it = list_->itemAt(vp);
    if (it) return list_->row(it);
    return existingOnly ? -1 : list_->count();
}

TRect TListBox::ItemRect(int index) const {
    if (index < 0 || index > list_->count()) return TRect();
    if (index == list_->count()) {
        if (index == 0) return TRect();
        TRect r = ItemRect(index - 1);
        OffsetRect(r, 0, r.Height());
        return r;
    }
    QRect r = list_->visualItemRect(list_->item(index));
    r.translate(list_->viewport()->mapTo(list_, QPoint(0, 0)));
    return FromQRect(r);
}

TCanvas* TListBox::Canvas() {
    if (!drawCanvas_) drawCanvas_ = std::make_unique<TCanvas>();
    return drawCanvas_.get();
}

void TListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* c = Canvas();
    c->FillRect(rect);
    if (index >= 0 && index < items_->Count()) {
        AnsiString s = items_->Get(index);
        c->TextOut(rect.Left + 2, rect.Top + std::max(0, (rect.Height() - c->TextHeight(s)) / 2), s);
    }
}

void TListBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

// ---- TCheckListBox ----------------------------------------------------------------------

TCheckListBox::TCheckListBox(TComponent* owner) : TListBox(owner) {
    QObject::connect(list_, &QListWidget::itemChanged, [this](QListWidgetItem*) {
        if (syncing_) return;
        Dispatch([this] { ClickCheck(); });
        ScheduleIdle();
    });
}

TCheckBoxState TCheckListBox::State(int index) const {
    if (index < 0 || index >= list_->count()) throw EStringListError(FormatRaw("List index out of bounds (%d)", index));
    Qt::CheckState s = list_->item(index)->checkState();
    return s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
}

void TCheckListBox::SetState(int index, TCheckBoxState s) {
    if (index < 0 || index >= list_->count()) throw EStringListError(FormatRaw("List index out of bounds (%d)", index));
    syncing_ = true;
    list_->item(index)->setCheckState(s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    syncing_ = false;
}

bool TCheckListBox::ItemEnabled(int index) const {
    if (index < 0 || index >= list_->count()) throw EStringListError(FormatRaw("List index out of bounds (%d)", index));
    return list_->item(index)->flags() & Qt::ItemIsEnabled;
}

void TCheckListBox::SetItemEnabled(int index, bool v) {
    if (index < 0 || index >= list_->count()) throw EStringListError(FormatRaw("List index out of bounds (%d)", index));
    syncing_ = true;
    QListWidgetItem* it = list_->item(index);
    it->setFlags(v ? it->flags() | Qt::ItemIsEnabled : it->flags() & ~Qt::ItemIsEnabled);
    syncing_ = false;
}

void TCheckListBox::ClickCheck() {
    if (OnClickCheck) OnClickCheck(this);
}
