#pragma once
// Helpers of the tests of elements inside scheme documents (the document and
// editor tests): a signal table with a few drivers, a translation log and
// frame services that record what they are asked.

#include <vector>

#include "document/DriversInfo.h"
#include "document/Scheme.h"
#include "model/ModelHooks.h"
#include "platform/List.h"
#include "platform/StringList.h"

namespace modeltest {

// The signal table in use, filled with input driver "IN1" (bits X1 = 0,
// X2 = 1) and output driver "OUT1" (bits Y1 = 3, Y2 = 4); put back afterwards.
class SignalTable {
public:
    SignalTable();
    ~SignalTable();
    TDriversInfo table;

private:
    TDriversInfo* previous_;
};

// Collects translation errors while it lives.
class ErrorLog : public ITranslationLog {
public:
    ErrorLog() : previous_(ModelHooks().Log) { ModelHooks().Log = this; }
    ~ErrorLog() override { ModelHooks().Log = previous_; }
    void Error(const AnsiString& text) override { errors.push_back(text); }
    std::vector<AnsiString> errors;

private:
    ITranslationLog* previous_;
};

// Frame services with scripted answers.
class FakeFrame : public IFrameServices {
public:
    FakeFrame() : previous_(ModelHooks().Frame) { ModelHooks().Frame = this; }
    ~FakeFrame() override { ModelHooks().Frame = previous_; }
    void OpenSchemeWindow(const AnsiString& f) override { opened.push_back(f); }
    AnsiString AskFileName(const AnsiString& proposed) override { return askAnswer.IsEmpty() ? proposed : askAnswer; }
    void OpenFSMWindow(const AnsiString& f) override { opened.push_back(f); }
    void CheckFSMPins(const AnsiString&, TStrings* in, TStrings* out) override {
        checkedInputs = in->Count();
        checkedOutputs = out->Count();
    }
    bool ResolveGotoTarget(const AnsiString& source, const AnsiString& target, int, const AnsiString& jump,
                           AnsiString& element) override {
        resolveCalls.push_back(source + "|" + target + "|" + jump + "|" + element);
        if (element.IsEmpty())
            element = resolvedElement;
        return false;
    }
    AnsiString MakeProjectPath(const AnsiString& name) override { return "/project/" + name; }
    bool AskJoinChains(const AnsiString& first, const AnsiString& second, AnsiString& joined) override {
        joinQuestions.push_back(first + "+" + second);
        if (!joinAnswer)
            return false;
        joined = joinName.IsEmpty() ? first : joinName;
        return true;
    }
    int AskSignalDirection(const AnsiString& name) override {
        asked.push_back(name);
        return signalDirection;
    }

    std::vector<AnsiString> opened, resolveCalls, joinQuestions, asked;
    AnsiString askAnswer, resolvedElement, joinName;
    bool joinAnswer = true;
    int signalDirection = 0;
    int checkedInputs = -1, checkedOutputs = -1;

private:
    IFrameServices* previous_;
};


inline SignalTable::SignalTable() : previous_(SetDriversInUse(&table)) {
    table.AddDriverType("DT", 1);
    _drv in;
    in.Name = "IN1";
    in.Type = 0;
    in.Direction = 0;
    in.BitCount = 8;
    table.AddDriver(in);
    _drv out = in;
    out.Name = "OUT1";
    out.Direction = 1;
    out.Address = 16;
    table.AddDriver(out);
    table.AddBit("X1", "IN1", 0, "first input");
    table.AddBit("X2", "IN1", 1, "");
    table.AddBit("Y1", "OUT1", 3, "lamp");
    table.AddBit("Y2", "OUT1", 4, "");
    table.AddVarBit("V1", "shared");
}

inline SignalTable::~SignalTable() { SetDriversInUse(previous_); }

// The lines of a list; the lines an object translates to.
inline std::vector<AnsiString> Lines(const TStrings& list) {
    std::vector<AnsiString> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

inline std::vector<AnsiString> Translated(TEntity* e) {
    TStringList lines;
    e->Translate(&lines);
    return Lines(lines);
}

// Places a driver pin so that its terminal lies on (x, y).
inline TDriver* DriverAt(TScheme& s, const AnsiString& name, int x, int y, bool connector = false) {
    TDriver* d = connector ? s.CreateVarDriver() : s.CreateDriver();
    d->SetName(name);
    d->SetX(x - d->Terminal()->OffsetX());
    d->SetY(y - d->Terminal()->OffsetY());
    s.AttachElement(d);
    return d;
}

// An AND element of that name and processing number at (x, y).
inline TAndElement* AndAt(TScheme& s, const char* name, int x, int y, int number = 0) {
    auto* a = s.CreateAndElement();
    a->SetName(name);
    a->SetX(x);
    a->SetY(y);
    a->AssignNumber(number);
    return a;
}

// A wire from a pin's tip to (x, y).
inline TLink* WireFrom(TScheme& s, TInOut* pin, int x, int y) { return s.CreateWire(pin->TipX(), pin->TipY(), x, y); }


} // namespace modeltest
