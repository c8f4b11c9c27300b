#include "model/CaseElements.h"

#include "platform/StringList.h"

// ---- CASE elements ---------------------------------------------------------------------

namespace {
int ClampOutputs(int n) { return n < 0 ? 0 : n > kMaxPins / 2 ? kMaxPins / 2 : n; }

// A row count read from a record: within the limit and within the bytes left.
int ReadRowCount(ByteReader& r, std::size_t rowSize) {
    uint32_t n = r.U32();
    if (n > uint32_t(kMaxCaseRows) || n * rowSize > r.Remaining())
        throw EReadError("row count out of range");
    return int(n);
}
} // namespace

TCaseElement::TCaseElement(IEntityOwner* owner, int outputs) : TCaseElement(owner, TEntityKind::Case, outputs) {}

TCaseElement::TCaseElement(IEntityOwner* owner, TEntityKind kind, int outputs) : TElement(owner, kind) {
    AddNumberedPins(ClampOutputs(outputs), 1);
    Finish();
}

void TCaseElement::TranslateRows(TStrings* lines) const {
    for (const auto& row : Options.Rows())
        lines->Add("%%" + IntToStr(row.Input) + " " + IntToStr(row.Output));
    lines->Add("%%* " + IntToStr(Options.Default));
}

void TCaseElement::SaveExtra(ByteWriter& w) const {
    w.U32(uint32_t(Options.Count()));
    for (const auto& row : Options.Rows()) {
        w.I32(row.Input);
        w.I32(row.Output);
    }
    w.I32(Options.Default);
    w.I32(DefaultOutput);
}

void TCaseElement::LoadExtra(ByteReader& r) {
    int n = ReadRowCount(r, 8);
    Options.SetCount(n);
    for (auto& row : Options.Rows()) {
        row.Input = r.I32();
        row.Output = r.I32();
    }
    Options.Default = r.I32();
    DefaultOutput = r.I32();
}

TCase16Element::TCase16Element(IEntityOwner* owner, int outputs)
    : TCaseElement(owner, TEntityKind::Case16, outputs) {}

TCaseMaskElement::TCaseMaskElement(IEntityOwner* owner, int outputs)
    : TCaseElement(owner, TEntityKind::CaseMask, outputs) {}

void TCaseMaskElement::TranslateRows(TStrings* lines) const {
    for (const auto& row : Masks.Rows())
        lines->Add("%%" + IntToStr(row.Input) + " " + IntToStr(row.Mask) + " " + IntToStr(row.Output));
    TCaseElement::TranslateRows(lines);
}

void TCaseMaskElement::SaveExtra(ByteWriter& w) const {
    TCaseElement::SaveExtra(w);
    w.U32(uint32_t(Masks.Count()));
    for (const auto& row : Masks.Rows()) {
        w.I32(row.Input);
        w.I32(row.Mask);
        w.I32(row.Output);
    }
}

void TCaseMaskElement::LoadExtra(ByteReader& r) {
    TCaseElement::LoadExtra(r);
    int n = ReadRowCount(r, 12);
    Masks.SetCount(n);
    for (auto& row : Masks.Rows()) {
        row.Input = r.I32();
        row.Mask = r.I32();
        row.Output = r.I32();
    }
}

TCaseDiapElement::TCaseDiapElement(IEntityOwner* owner, int n) : TCaseElement(owner, TEntityKind::CaseDiap, n) {}

void TCaseDiapElement::TranslateRows(TStrings* lines) const {
    for (const auto& row : Options.Rows())
        lines->Add("%%" + IntToStr(row.Input) + " " + IntToStr(row.Output));
}
