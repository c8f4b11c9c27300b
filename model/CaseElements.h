#pragma once
// The CASE elements: a table that maps the value on the numbered inputs to a
// pattern on the numbered outputs.
//  - TCaseElement "cdec": 8 inputs, rows (value, pattern) and a default pattern;
//  - TCase16Element "cdec16": the same with 16 inputs;
//  - TCaseMaskElement "cMask": 16 inputs, also rows (value, mask, pattern)
//    tried before the plain rows;
//  - TCaseDiapElement "cDiap": 16 inputs, ranges (first, second); the outputs
//    give the 1-based number of the first range holding the value.
// The rows follow the header in the netlist text, in decimal:
// "%%value pattern", "%%value mask pattern", "%%* pattern", "%%first second".

#include <cstdint>
#include <vector>

#include "model/Element.h"

// Rows with a cursor: SetCount grows (new rows take their defaults) or
// shrinks the list (below 0 counts as 0) and puts the cursor on the first
// row; First and Next move it and answer whether it is on a row. Reads off
// the rows give 0, writes there do nothing.
template <class RowT>
class TRowList {
public:
    using Row = RowT;
    int Count() const { return int(rows_.size()); }
    void SetCount(int n) {
        rows_.resize(std::size_t(n < 0 ? 0 : n));
        cursor_ = 0;
    }
    bool First() {
        cursor_ = 0;
        return !rows_.empty();
    }
    bool Next() {
        if (cursor_ < Count())
            ++cursor_;
        return cursor_ < Count();
    }
    int32_t GetInput() const { return Get(&Row::Input); }
    int32_t GetOutput() const { return Get(&Row::Output); }
    void SetInput(int32_t v) { Set(&Row::Input, v); }
    void SetOutput(int32_t v) { Set(&Row::Output, v); }
    const std::vector<Row>& Rows() const { return rows_; }
    std::vector<Row>& Rows() { return rows_; }

protected:
    int32_t Get(int32_t Row::*field) const { return cursor_ < Count() ? rows_[std::size_t(cursor_)].*field : 0; }
    void Set(int32_t Row::*field, int32_t v) {
        if (cursor_ < Count())
            rows_[std::size_t(cursor_)].*field = v;
    }

private:
    std::vector<Row> rows_;
    int cursor_ = 0;
};

struct TOptionRow {
    int32_t Input = 0;
    int32_t Output = 0;
};

struct TOptionMaskRow {
    int32_t Input = 0;
    int32_t Mask = 65535;
    int32_t Output = 0;
};

// Rows of 32-bit input and output values with a cursor, and a default output.
class TOptionsList : public TRowList<TOptionRow> {
public:
    int32_t Default = 0;
};

// Rows of (input, mask, output); new rows start with the mask 65535.
class TOptionsMaskList : public TRowList<TOptionMaskRow> {
public:
    int32_t GetMask() const { return Get(&Row::Mask); }
    void SetMask(int32_t v) { Set(&Row::Mask, v); }
};

// The most rows a record may claim.
constexpr int kMaxCaseRows = 65536;

class TCaseElement : public TElement {
public:
    // outputs: how many numbered outputs (1 to 16).
    TCaseElement(IEntityOwner* owner, int outputs);
    TEntityKind Kind() const override { return TEntityKind::Case; }
    AnsiString Symbol() const override { return "CASE"; }
    TOptionsList Options;
    // The element's own default output (the editor writes it together with
    // the option list's default; the netlist uses the option list's).
    int32_t DefaultOutput = 0;

protected:
    // The inputs come from the kind's row, the numbered outputs from outputs.
    TCaseElement(IEntityOwner* owner, TEntityKind kind, int outputs);
    void TranslateRows(TStrings* lines) const override;
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;
    TPropertyDialog Dialog() const override { return TPropertyDialog::Case; }
};

class TCase16Element : public TCaseElement {
public:
    TCase16Element(IEntityOwner* owner, int outputs);
    TEntityKind Kind() const override { return TEntityKind::Case16; }
    AnsiString Symbol() const override { return "CASE16"; }
};

class TCaseMaskElement : public TCaseElement {
public:
    TCaseMaskElement(IEntityOwner* owner, int outputs);
    TEntityKind Kind() const override { return TEntityKind::CaseMask; }
    AnsiString Symbol() const override { return "MASK"; }
    TOptionsMaskList Masks;

protected:
    void TranslateRows(TStrings* lines) const override;
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;
};

class TCaseDiapElement : public TCaseElement {
public:
    // n: how many outputs (the editor always passes 6).
    TCaseDiapElement(IEntityOwner* owner, int n);
    TEntityKind Kind() const override { return TEntityKind::CaseDiap; }
    AnsiString Symbol() const override { return "DIAP"; }

protected:
    void TranslateRows(TStrings* lines) const override;
};
