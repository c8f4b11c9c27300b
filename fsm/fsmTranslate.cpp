// The transition-table text of a state machine: the header, the initial and
// reset rows, then every state's block (Translate of each state).

#include "fsm/FsmTable.h"
#include "fsm/fsmScheme.h"

namespace fsmtable {

AnsiString ConditionText(const TfsmElement* e) {
    return e && e->GetCondition() ? e->GetCondition()->GetText() : AnsiString();
}

AnsiString ValueBits(const AnsiString& cond) {
    AnsiString r = cond;
    for (int i = 1; i <= r.Length(); ++i)
        if (r[i] == 'X') r[i] = '0';
    return r;
}

AnsiString MaskBits(const AnsiString& cond) {
    AnsiString r = cond;
    for (int i = 1; i <= r.Length(); ++i) r[i] = cond[i] == 'X' ? '1' : '0';
    return r;
}

int PadCount(int len) {
    const int r = len % 8;
    return r == 0 ? 0 : 8 - r;
}

AnsiString Pad(const AnsiString& bits, int pad, char fill) { return AnsiString::StringOfChar(fill, pad) + bits; }

AnsiString TargetByte(int number) {
    AnsiString r;
    for (int bit = 7; bit >= 0; --bit) r += (number >> bit) & 1 ? '1' : '0';
    return r;
}

AnsiString ValueMaskItem(const AnsiString& cond, int pad, const TfsmElement* target) {
    const int number = target ? target->GetTranslationNumber() : 0;
    return Pad(ValueBits(cond), pad, '0') + "-" + Pad(MaskBits(cond), pad, '1') + "=" + TargetByte(number) + ";";
}

} // namespace fsmtable

void TFSMScheme::Translate(TStrings* lines) {
    using namespace fsmtable;
    if (!lines || !initial_) return;
    const std::vector<TfsmElement*> states = States();
    int n = 0, t = 0;
    for (TfsmElement* s : states) {
        s->SetTranslationNumber(++n);
        t += s->OutgoingCount();
    }
    lines->Add("%~" + IntToStr(n) + " " + IntToStr(t) + " ");
    const AnsiString initialCond = ConditionText(initial_);
    const int pad = PadCount(initialCond.Length());
    lines->Add("%%" + ValueMaskItem(initialCond, pad, initial_->GetTarget()));
    if (reset_) {
        lines->Add("%%" + ValueMaskItem(ConditionText(reset_), pad, reset_->GetTarget()));
    } else {
        const int width = pad + initialCond.Length();
        lines->Add("%%" + AnsiString::StringOfChar('0', width) + "-" + AnsiString::StringOfChar('1', width) + "=" +
                   TargetByte(0) + ";");
    }
    for (TfsmElement* s : states) s->Translate(lines);
}
