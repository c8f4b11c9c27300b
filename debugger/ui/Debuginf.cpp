#include "debugger/ui/Debuginf.h"

#include "controls/gui/ExCheckListBox.h"
#include "debugger/Vac.h"
#include "debugger/ui/For.h"
#include "debugger/ui/Sharefun.h"

TfmRun* fmRun = nullptr;

TfmRun::TfmRun(TComponent* owner) : TForm(owner) { SetName("fmRun"); }

TfmRun::~TfmRun() {
    if (fmRun == this) fmRun = nullptr;
}

// ---- the signals between the wanted list and the debugger --------------------------------

void TfmRun::MapSignals(bool classify) {
    TVAC* vac = Emulator();
    if (!vac) return;
    // The list is rebuilt, not appended to: repeated analyses show each
    // comment once.
    TStringList comments;
    std::vector<int> signalOfLine;
    TSignalLists::CollectComments(*vac, comments, signalOfLine);
    if (fmDebug) fmDebug->SetComments(&comments, signalOfLine);
    if (classify) Lists.BuildSignalLists(*vac);
}

void TfmRun::SaveSelection() {
    if (!fmDebug) return;
    Wanted.Clear();
    struct Side {
        TStrings* rows;
        const SignalsStr* (TfmDebug::*signal)(int) const;
        int kind;
    };
    for (const Side& side : {Side{fmDebug->in_signal->Items(), &TfmDebug::InputSignal, TWantedSignalList::kInput},
                             Side{fmDebug->out_signal->Items(), &TfmDebug::OutputSignal, TWantedSignalList::kOutput}})
        for (int row = 0; row < side.rows->Count(); ++row) {
            const SignalsStr* s = (fmDebug->*side.signal)(row);
            Wanted.Append(s ? s->Name : side.rows->Get(row), side.kind);
        }
    fmDebug->ClearRows();
}

void TfmRun::RestoreSelection() {
    TVAC* vac = Emulator();
    if (!vac || !fmDebug) return;
    for (int i = 0; i < Wanted.Count(); ++i) {
        const int line = vac->SignalIndex().IndexOfName(Wanted.Name(i));
        if (line < 0) continue;
        const int index = TSignalLists::IndexOfLine(*vac, line);
        if (index < 0) continue;
        const SignalsStr& s = vac->Signals()[std::size_t(index)];
        const bool output = s.DriverType < 0 ? Wanted.KindOf(i) != 0 : s.Side != 0;
        fmDebug->AddSignal(s.Name, output, index);
    }
}

// ---- the CASE check --------------------------------------------------------------------

bool TfmRun::CompareOutputs(std::vector<int32_t>& table) {
    TVAC* vac = Emulator();
    if (!vac || !vac->Loaded()) return false;
    MapSignals(true);
    return ::CompareOutputs(*vac, Lists, table);
}
