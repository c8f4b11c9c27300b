#pragma once
// Schemes built in code for the tests and the test tools: elements placed
// with a name and an order number, driver pins and connectors put on a pin's
// tip or apart, and wires between pin tips.

#include "document/Scheme.h"

namespace trtest {

inline TElement* Place(TScheme& s, TElement* e, const AnsiString& name, int x, int y, int number) {
    e->SetName(name);
    e->SetX(x);
    e->SetY(y);
    e->AssignNumber(number);
    s.AttachElement(e);
    return e;
}

// A driver pin (or connector) whose terminal lies on the pin's tip.
inline TDriver* DriverOn(TScheme& s, const AnsiString& name, TInOut* pin, bool connector = false) {
    TDriver* d = connector ? static_cast<TDriver*>(s.CreateVarDriver()) : s.CreateDriver();
    d->SetName(name);
    d->SetX(pin->TipX() - d->Terminal()->OffsetX());
    d->SetY(pin->TipY() - d->Terminal()->OffsetY());
    s.AttachElement(d);
    return d;
}

// A driver pin placed apart, joined to nothing.
inline TDriver* LooseDriver(TScheme& s, const AnsiString& name, int x, int y, bool connector = false) {
    TDriver* d = connector ? static_cast<TDriver*>(s.CreateVarDriver()) : s.CreateDriver();
    d->SetName(name);
    d->SetX(x);
    d->SetY(y);
    s.AttachElement(d);
    return d;
}

inline void Wire(TScheme& s, TInOut* a, TInOut* b) { s.CreateWire(a->TipX(), a->TipY(), b->TipX(), b->TipY()); }

} // namespace trtest
