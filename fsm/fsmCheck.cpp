// The check that a state machine can be simulated and translated, and the
// simulator that steps it on an input vector.

#include <cstring>

#include "fsm/FsmTable.h"
#include "fsm/fsmScheme.h"
#include "platform/UiPort.h"

namespace {

bool OnlyOf(const AnsiString& text, const char* allowed) {
    for (int i = 1; i <= text.Length(); ++i)
        if (text[i] == '\0' || !std::strchr(allowed, text[i])) return false;
    return true;
}

bool Fail(const AnsiString& message) {
    ShowMessage(message);
    return false;
}

} // namespace

bool TFSMScheme::Check() {
    using fsmtable::ConditionText;
    initial_ = nullptr;
    const std::vector<TfsmElement*> states = States();
    // A state's number in the table is one byte.
    if (int(states.size()) > kMaxStates) return Fail(" слишком много состояний (больше 255) "_a);
    const int n = inputCount_;
    for (TfsmLink* t : Transitions()) {
        const AnsiString cond = ConditionText(t);
        if (cond.Length() != n || !OnlyOf(cond, "01X")) return Fail(" неправильные условия переходов "_a);
        if (!t->GetTarget()) return Fail(" не все переходы подсоединены к состояниям "_a);
        if (!t->GetSource() && !t->IsReset()) {
            if (initial_) return Fail(" не все переходы подсоединены к состояниям "_a);
            initial_ = t;
        }
    }
    if (!initial_) return Fail(" где первый переход?"_a);
    const int m = outputCount_;
    for (TfsmElement* s : states) {
        const AnsiString value = ConditionText(s);
        if (!s->GetCondition() || value.IsEmpty() || value.Length() != m) {
            SetCurrentState(s);
            return Fail(" неправильная длина выходного значения "_a);
        }
        // 'X' is a don't-care output: the simulator shows it as it stands
        // and the controller sets such an output to 0.
        if (!OnlyOf(value, "01X")) {
            SetCurrentState(s);
            return Fail(" неправильное выходное значение "_a);
        }
        if (HasAmbiguity(s)) {
            SetCurrentState(s);
            return Fail(" неопределенность условий переходов "_a);
        }
    }
    return true;
}

bool TFSMScheme::Covers(const AnsiString& pattern, const AnsiString& vector) {
    if (pattern.Length() != vector.Length()) return false;
    for (int i = 1; i <= pattern.Length(); ++i)
        if (pattern[i] != vector[i] && pattern[i] != 'X') return false;
    return true;
}

bool TFSMScheme::HasAmbiguity(TfsmElement* state) {
    if (!state) return false;
    std::vector<AnsiString> a;
    for (TfsmLink* l : state->Outgoing()) a.push_back(fsmtable::ConditionText(l));
    const bool hasReset = reset_ != nullptr;
    const AnsiString r = hasReset ? fsmtable::ConditionText(reset_) : AnsiString();
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (hasReset && (Covers(r, a[i]) || Covers(a[i], r))) return true;
        for (std::size_t j = 0; j < a.size(); ++j)
            if (j != i && (Covers(a[i], a[j]) || Covers(a[j], a[i]))) return true;
    }
    return false;
}

void TFSMScheme::SetCurrentState(TfsmElement* state) {
    if (state == currentState_) return;
    if (currentState_) currentState_->SetActive(false);
    if (state) state->SetActive(true);
    currentState_ = state;
}

void TFSMScheme::SetOutputVector(const AnsiString& v) {
    if (v != outputVector_) outputVector_ = v;
}

void TFSMScheme::StartSimulation() {
    if (!window_) return;
    simulating_ = true;
    SetInputVector(window_->InputVectorFromChecks());
    for (TfsmEntity* e : selection_) {
        if (IsState(e) && !e->IsDeleted()) {
            SetCurrentState(static_cast<TfsmElement*>(e));
            break;
        }
    }
    SimulationStep();
}

void TFSMScheme::SimulationStep() {
    using fsmtable::ConditionText;
    const AnsiString v = inputVector_;
    TfsmElement* next = nullptr;
    if (!currentState_) {
        if (initial_ && Covers(ConditionText(initial_), v)) next = initial_->GetTarget();
    } else if (reset_ && Covers(ConditionText(reset_), v)) {
        // The reset transition comes before every outgoing transition.
        next = reset_->GetTarget();
    } else {
        for (TfsmLink* l : currentState_->Outgoing()) {
            if (Covers(ConditionText(l), v)) {
                next = l->GetTarget();
                break;
            }
        }
    }
    if (!next) return;
    SetCurrentState(next);
    SetOutputVector(ConditionText(next));
    if (window_) window_->ShowOutputs(outputVector_);
}

void TFSMScheme::StopSimulation() {
    simulating_ = false;
    SetCurrentState(nullptr);
}
