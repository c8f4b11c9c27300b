#include "model/Driver.h"

#include "model/Painter.h"
#include "model/SchemeSettings.h"
#include "platform/StringList.h"
#include "platform/UiPort.h"

namespace {
AnsiString Padded(const AnsiString& name) {
    return name.Length() < 15 ? name + AnsiString::StringOfChar(' ', 15 - name.Length()) : name;
}

void AddOnce(TStrings* lines, const AnsiString& line) {
    if (lines->IndexOf(line) < 0)
        lines->Add(line);
}

// The signal table in use; without one no signal is found.
bool FindBit(const AnsiString& name, AnsiString& driver, int& bit, AnsiString& comment) {
    const ISignalTable* table = ModelHooks().Signals;
    if (table)
        return table->FindBit(name, driver, bit, comment);
    driver = comment = "";
    bit = 0;
    return false;
}
} // namespace

TDriver::TDriver(IEntityOwner* owner) : TDriver(owner, TEntityKind::Driver) {}

TDriver::TDriver(IEntityOwner* owner, TEntityKind kind) : TElement(owner, kind) {
    SetWidth(kWidth);
    SetHeight(kHeight);
    NewPin("", 1);
    PlaceTerminal();
}

void TDriver::PlaceTerminal() {
    if (TInOut* pin = Terminal()) {
        pin->SetOffsetX(Mirrored() ? -10 : kWidth + 10);
        pin->SetOffsetY(kHeight / 2);
    }
}

void TDriver::SetMirrored(bool mirrored) {
    if (mirrored != Mirrored())
        ChangePins([&] {
            TElement::SetMirrored(mirrored);
            PlaceTerminal();
        });
}

bool TDriver::FindSignal(AnsiString& driver, int& bit, AnsiString& comment) const {
    return FindBit(Name(), driver, bit, comment);
}

int TDriver::GetBitNumber() const {
    AnsiString driver, comment;
    int bit = 0;
    FindSignal(driver, bit, comment);
    return bit;
}

AnsiString TDriver::GetDriverName() const {
    AnsiString driver, comment;
    int bit = 0;
    FindSignal(driver, bit, comment);
    return driver;
}

AnsiString TDriver::GetComment() const {
    AnsiString driver, comment;
    int bit = 0;
    FindSignal(driver, bit, comment);
    return comment;
}

int TDriver::GetDirection() const {
    AnsiString driver = GetDriverName();
    if (driver.IsEmpty())
        return 2;
    const ISignalTable* table = ModelHooks().Signals;
    int direction = table ? table->DriverDirection(driver) : -1;
    if (direction < 0)
        return 2;
    return direction == 0 ? 0 : 1;
}

void TDriver::Translate(TStrings* lines) {
    TempNames = "";
    if (!lines)
        return;
    AnsiString driver, comment;
    int bit = 0;
    // Not bound to a driver bit: an internal signal, so that the elements
    // wired to it still translate (the run warns of it).
    AddOnce(lines, FindSignal(driver, bit, comment) ? Padded(Name()) + " " + driver + " " + IntToStr(bit)
                                                    : Padded(Name()));
}

bool TDriver::Properties() {
    IPropertyDialogs* dialogs = ModelHooks().Dialogs;
    if (!dialogs)
        return false;
    int result = dialogs->Run(TPropertyDialog::Driver, this);
    if (result == mrYes)
        return true;
    if (result != mrOk)
        return false;
    StoreDialog(TPropertyDialog::Driver);
    return true;
}

AnsiString TDriver::Hint() const {
    AnsiString driver, comment;
    int bit = 0;
    if (!FindSignal(driver, bit, comment))
        return Name();
    AnsiString hint = Name() + " " + driver + " " + IntToStr(bit);
    if (!comment.IsEmpty())
        hint += " " + comment;
    return hint;
}

void TDriver::SaveExtra(ByteWriter& w) const {
    w.I32(bitNumber_);
    WriteRecordString(w, driverName_);
    WriteRecordString(w, comment_);
}

void TDriver::LoadExtra(ByteReader& r) {
    bitNumber_ = r.I32();
    driverName_ = ReadRecordString(r);
    comment_ = ReadRecordString(r);
    if (PinCount() != 1)
        throw EReadError("a driver pin has one pin");
}

TColor TDriver::CurrentColor() const {
    if (MarkedColor() != clNone)
        return MarkedColor();
    switch (GetDirection()) {
    case 0:
        return schemesettings::InputDriverColor();
    case 1:
        return schemesettings::OutputDriverColor();
    default:
        return schemesettings::DriverColor();
    }
}

void TDriver::Paint(TPainter& painter) const {
    bool inverting = painter.Mode() == TPaintMode::Invert;
    TColor color = inverting ? drawnColor_ : CurrentColor();
    int x = GetX(), y = GetY(), w = GetWidth(), h = GetHeight();
    // A flag pointing along its pin.
    int tipSide = Mirrored() ? x : x + w;
    int backSide = Mirrored() ? x + w : x;
    int notch = Mirrored() ? x + 6 : x + w - 6;
    painter.Line(backSide, y, notch, y, color);
    painter.Line(notch, y, tipSide, y + h / 2, color);
    painter.Line(tipSide, y + h / 2, notch, y + h, color);
    painter.Line(notch, y + h, backSide, y + h, color);
    painter.Line(backSide, y + h, backSide, y, color);
    TColor nameColor = Kind() == TEntityKind::VarDriver ? schemesettings::ConnectorNameColor()
                                                         : schemesettings::DriverNameColor();
    painter.TextCentered(x + w / 2, y + 5, Name(), nameColor, 9);
    if (TInOut* pin = Terminal()) {
        bool connected = inverting ? pin->drawnConnected : pin->Connected();
        painter.Line(pin->TipX(), pin->TipY(), tipSide, pin->TipY(),
                     connected ? color : schemesettings::EmptyPinColor());
    }
}

// ---- connectors ------------------------------------------------------------------------

TVarDriver::TVarDriver(IEntityOwner* owner) : TDriver(owner, TEntityKind::VarDriver) {}

AnsiString TVarDriver::GetComment() const {
    AnsiString comment;
    if (const ISignalTable* table = ModelHooks().Signals)
        table->FindVarBit(Name(), comment);
    return comment;
}

void TVarDriver::Translate(TStrings* lines) {
    TempNames = "";
    if (!lines)
        return;
    if (Name().IsEmpty()) {
        ReportTranslationError("Соединитель без имени."_a);
        return;
    }
    AddOnce(lines, Padded(Name()));
}

bool TVarDriver::Properties() { return RunDialog(TPropertyDialog::VarDriver); }

AnsiString TVarDriver::Hint() const {
    AnsiString comment = GetComment();
    return comment.IsEmpty() ? Name() : Name() + " " + comment;
}

void TVarDriver::SaveExtra(ByteWriter& w) const { WriteRecordString(w, comment_); }

void TVarDriver::LoadExtra(ByteReader& r) {
    comment_ = ReadRecordString(r);
    if (PinCount() != 1)
        throw EReadError("a connector has one pin");
}

TColor TVarDriver::CurrentColor() const {
    return MarkedColor() != clNone ? MarkedColor() : schemesettings::DriverColor();
}
