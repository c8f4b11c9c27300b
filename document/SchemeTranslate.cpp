// What a translation asks of a scheme document: driver pins, net names and
// the devices in processing order, with symbols expanded into transient
// copies of their inner devices; and the queries of the chain dialogs.
#include <algorithm>

#include "document/Scheme.h"
#include "model/Records.h"
#include "model/SchemeSettings.h"

namespace {
bool IsInputDriverName(const TNet& net, const AnsiString& name) {
    for (TDriver* d : net.Drivers)
        if (d->Kind() == TEntityKind::Driver && SameText(d->Name(), name) && d->GetDirection() == 0)
            return true;
    return false;
}

std::vector<TElement*> DevicesByNumber(const std::vector<std::unique_ptr<TEntity>>& objects) {
    std::vector<TElement*> devices;
    for (const auto& o : objects)
        if (!o->Deleted() && o->IsDevice())
            devices.push_back(static_cast<TElement*>(o.get()));
    std::stable_sort(devices.begin(), devices.end(), [](TElement* a, TElement* b) { return a->Number() < b->Number(); });
    return devices;
}
} // namespace

// ---- driver pins -----------------------------------------------------------------------

namespace {
void AddInnerDrivers(const TScheme& scheme, std::vector<TDriver*>& out) {
    for (const auto& o : scheme.Objects()) {
        if (o->Deleted())
            continue;
        if (o->Kind() == TEntityKind::Driver)
            out.push_back(static_cast<TDriver*>(o.get()));
        else if (o->Kind() == TEntityKind::Symbol)
            if (TScheme* inner = InnerSchemeOf(static_cast<TSymbol*>(o.get())))
                AddInnerDrivers(*inner, out);
    }
}
} // namespace

TDriver* TScheme::FirstDriver() {
    driverWalk_.clear();
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDriver())
            driverWalk_.push_back(static_cast<TDriver*>(o.get()));
    if (expandSymbols_)
        for (const auto& o : objects_)
            if (!o->Deleted() && o->Kind() == TEntityKind::Symbol)
                if (TScheme* inner = InnerSchemeOf(static_cast<TSymbol*>(o.get())))
                    AddInnerDrivers(*inner, driverWalk_);
    driverCursor_ = 0;
    return NextDriver();
}

TDriver* TScheme::NextDriver() { return driverCursor_ < driverWalk_.size() ? driverWalk_[driverCursor_++] : nullptr; }

// ---- net names ---------------------------------------------------------------------------
//
// A chain carries the value of one source: the signal of an input driver pin
// (inside a symbol also the signal on one of the symbol's inputs) or an
// element's output. Output driver pins and connectors on the chain are
// written from that source: when they name other signals than the one the
// chain carries, a copy block writes them, after the block of the element
// whose pin carries the copy, or on its own at the end of the scheme when no
// element's block can carry it.

namespace {
void AddName(std::vector<AnsiString>& names, const AnsiString& name) {
    if (!name.IsEmpty() && std::none_of(names.begin(), names.end(), [&](const AnsiString& n) { return SameText(n, name); }))
        names.push_back(name);
}

bool HoldsName(const std::vector<AnsiString>& names, const AnsiString& name) {
    return std::any_of(names.begin(), names.end(), [&](const AnsiString& n) { return SameText(n, name); });
}

// A symbol writes no block of its own (its inner devices do), so its pins
// cannot carry a copy.
bool CarriesCopies(const TInOut* pin) {
    return pin->Element()->IsDevice() && pin->Element()->Kind() != TEntityKind::Symbol;
}

TInOut* FirstDevicePin(const TNet& net, int direction) {
    for (TInOut* p : net.Pins)
        if (p->Element()->IsDevice() && p->Direction() == direction)
            return p;
    return nullptr;
}

TInOut* FirstReader(const TNet& net) {
    for (TInOut* p : net.Pins)
        if (CarriesCopies(p) && p->Direction() == 0)
            return p;
    return nullptr;
}

// Names a net that carries signals and chooses how its other signals are
// written. sources: the signals that feed it; others: the signals it writes
// (connectors among them when no source is on it), in order of preference.
void NameSignalNet(TNet& net, const std::vector<AnsiString>& sources, const std::vector<AnsiString>& others) {
    TInOut* writer = FirstDevicePin(net, 1);
    net.Name = !sources.empty() ? sources.front() : others.front();
    if (sources.size() + others.size() < 2)
        return;
    // An element's output writes a temporary signal that the copy block spreads
    // to every signal of the net; otherwise the net's signal is copied to the others.
    const bool elementWrites = writer && CarriesCopies(writer);
    std::vector<AnsiString> targets;
    for (const AnsiString& s : others)
        if (elementWrites || !SameText(s, net.Name))
            targets.push_back(s);
    if (targets.empty())
        return;
    net.CopyTargets = std::move(targets);
    net.CopyPin = elementWrites ? writer : writer ? nullptr : FirstReader(net);
}

TScheme::TSource SignalSource(const AnsiString& name) { return {TScheme::TSource::Signal, name, name}; }

bool SameSource(const TScheme::TSource& a, const TScheme::TSource& b) {
    if ((a.kind == TScheme::TSource::Output) != (b.kind == TScheme::TSource::Output))
        return false;
    return a.kind == TScheme::TSource::Output ? a.name == b.name : SameText(a.name, b.name);
}

// The distinct sources of a net: its signals first, then its elements' outputs.
std::vector<TScheme::TSource> DistinctSources(std::vector<TScheme::TSource> signals, const TNet& net) {
    for (TInOut* p : net.Pins)
        if (p->Element()->IsDevice() && p->Direction() == 1)
            signals.push_back({TScheme::TSource::Output, p->Element()->Name(), p->Element()->Name()});
    std::vector<TScheme::TSource> out;
    for (const TScheme::TSource& s : signals)
        if (std::none_of(out.begin(), out.end(), [&](const TScheme::TSource& o) { return SameSource(o, s); }))
            out.push_back(s);
    return out;
}

// Two sources of which one at least is a signal: a conflict to report.
bool Conflicting(const std::vector<TScheme::TSource>& sources) {
    return sources.size() >= 2 && sources.front().kind != TScheme::TSource::Output;
}

AnsiString ChainOf(const TNet& net) { return net.Chains.empty() ? net.Name : net.Chains.front()->Name(); }

// The signals of a net inside a symbol: a connector stands for the signal on
// the symbol's pin of its name (a source when the pin is an input), a driver
// pin for its own signal.
void InnerSignals(const TNet& net, const TSymbol* symbol, std::vector<TScheme::TSource>* sources,
                  std::vector<AnsiString>* sourceNames, std::vector<AnsiString>* others) {
    std::vector<AnsiString> connectorOthers, driverOthers;
    for (int pass = 0; pass < 2; ++pass)
        for (TDriver* d : net.Drivers) {
            const bool connector = d->Kind() == TEntityKind::VarDriver;
            if (connector != (pass == 0) || d->Name().IsEmpty())
                continue;
            if (!connector) {
                if (d->GetDirection() == 0) {
                    if (sources)
                        sources->push_back(SignalSource(d->Name()));
                    AddName(*sourceNames, d->Name());
                } else {
                    AddName(driverOthers, d->Name());
                }
                continue;
            }
            for (int i = 0; i < symbol->PinCount(); ++i) {
                TInOut* pin = symbol->Pin(i);
                if (pin->Name() != d->Name() || !pin->Connected() || pin->IsNull())
                    continue;
                if (pin->Direction() == 0) {
                    if (sources)
                        sources->push_back({TScheme::TSource::SymbolInput, pin->SignalName(), d->Name()});
                    AddName(*sourceNames, pin->SignalName());
                } else {
                    AddName(connectorOthers, pin->SignalName());
                }
                break;
            }
        }
    for (const AnsiString& n : connectorOthers)
        AddName(*others, n);
    for (const AnsiString& n : driverOthers)
        AddName(*others, n);
}
} // namespace

int TScheme::NameNets(TStrings* list, int counter) {
    for (TNet& net : nets_) {
        net.CopyPin = nullptr;
        net.CopyTargets.clear();
        if (net.Signals.empty()) {
            net.Name = AnsiString();
            if (net.Pins.size() >= 2) {
                net.Name = "_var" + IntToStr(counter++);
                list->Add(net.Name);
            }
            continue;
        }
        // The input's signal feeds the net. Without an input and an element's
        // output the net's connector is written in another scheme and feeds it.
        std::vector<AnsiString> sources, others;
        for (const AnsiString& s : net.Signals)
            if (IsInputDriverName(net, s))
                sources.push_back(s);
        if (sources.empty() && !FirstDevicePin(net, 1))
            for (TDriver* d : net.Drivers)
                if (d->Kind() == TEntityKind::VarDriver && !d->Name().IsEmpty()) {
                    sources.push_back(d->Name());
                    break;
                }
        for (const AnsiString& s : net.Signals)
            if (!HoldsName(sources, s))
                others.push_back(s);
        // Two inputs on one net are refused by the run; the first one counts here.
        sources.resize(std::min<std::size_t>(sources.size(), 1));
        NameSignalNet(net, sources, others);
    }
    return counter;
}

int TScheme::NameInnerNets(TSymbol* symbol, TStrings* list, int counter) {
    for (TNet& net : nets_) {
        net.CopyPin = nullptr;
        net.CopyTargets.clear();
        net.Name = AnsiString();
        std::vector<AnsiString> sources, others;
        InnerSignals(net, symbol, nullptr, &sources, &others);
        sources.resize(std::min<std::size_t>(sources.size(), 1));
        if (!sources.empty() || !others.empty()) {
            NameSignalNet(net, sources, others);
            continue;
        }
        int devicePins = int(std::count_if(net.Pins.begin(), net.Pins.end(),
                                           [](TInOut* p) { return p->Element()->IsDevice(); }));
        if (devicePins >= 2) {
            net.Name = "_var" + IntToStr(counter++);
            list->Add(net.Name);
        }
    }
    return NameSymbolNets(list, counter);
}

int TScheme::NameSymbolNets(TStrings* list, int counter) {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol) {
            auto* s = static_cast<TSymbol*>(o.get());
            if (TScheme* inner = InnerSchemeOf(s))
                counter = inner->NameInnerNets(s, list, counter);
        }
    return counter;
}

int TScheme::BuildNetNames(TStrings* list, int counter) {
    if (!list)
        return counter;
    counter = NameNets(list, counter);
    return expandSymbols_ ? NameSymbolNets(list, counter) : counter;
}

bool TScheme::SourceOf(const TNet& net, TSource& source) const {
    std::vector<TSource> signals;
    for (TDriver* d : net.Drivers)
        if (d->Kind() == TEntityKind::Driver && !d->Name().IsEmpty() && d->GetDirection() == 0)
            signals.push_back(SignalSource(d->Name()));
    std::vector<TSource> sources = DistinctSources(std::move(signals), net);
    if (sources.size() != 1)
        return false;
    source = sources.front();
    return true;
}

void TScheme::ListSourceConflicts(std::vector<TSourceConflict>& out) const {
    for (const TNet& net : nets_) {
        std::vector<TSource> signals;
        for (TDriver* d : net.Drivers)
            if (d->Kind() == TEntityKind::Driver && !d->Name().IsEmpty() && d->GetDirection() == 0)
                signals.push_back(SignalSource(d->Name()));
        std::vector<TSource> sources = DistinctSources(std::move(signals), net);
        if (Conflicting(sources))
            out.push_back({AnsiString(), ChainOf(net), sources[0], sources[1]});
    }
    if (!expandSymbols_)
        return;
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol) {
            auto* s = static_cast<const TSymbol*>(o.get());
            if (const TScheme* inner = InnerSchemeOf(s))
                inner->ListInnerConflicts(s, s->Name(), out);
        }
}

void TScheme::ListInnerConflicts(const TSymbol* symbol, const AnsiString& prefix,
                                 std::vector<TSourceConflict>& out) const {
    for (const TNet& net : nets_) {
        std::vector<TSource> signals;
        std::vector<AnsiString> names, others;
        InnerSignals(net, symbol, &signals, &names, &others);
        std::vector<TSource> sources = DistinctSources(std::move(signals), net);
        if (Conflicting(sources))
            out.push_back({prefix, ChainOf(net), sources[0], sources[1]});
    }
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol) {
            auto* s = static_cast<const TSymbol*>(o.get());
            if (const TScheme* inner = InnerSchemeOf(s))
                inner->ListInnerConflicts(s, prefix + s->Name(), out);
        }
}

void TScheme::ListLooseCopies(std::vector<TLooseCopy>& out) const {
    // The nets of the scheme, then those inside its symbols, in the order they were named.
    auto visit = [&out](const TScheme& s, bool inner, auto& self) -> void {
        for (const TNet& net : s.nets_)
            if (!net.CopyPin && !net.CopyTargets.empty())
                out.push_back({net.Name, net.CopyTargets});
        if (!inner && !s.expandSymbols_)
            return;
        for (const auto& o : s.objects_)
            if (!o->Deleted() && o->Kind() == TEntityKind::Symbol)
                if (const TScheme* scheme = InnerSchemeOf(static_cast<const TSymbol*>(o.get())))
                    self(*scheme, true, self);
    };
    visit(*this, false, visit);
}

// ---- processing order ---------------------------------------------------------------------

void TScheme::ClearExpansion() {
    order_.clear();
    orderBuilt_ = false;
    orderCursor_ = 0;
    expansion_.clear();
}

void TScheme::ExpandInto(TSymbol* symbol, const AnsiString& prefix, std::vector<TElement*>& out) {
    TScheme* inner = InnerSchemeOf(symbol);
    for (TElement* e : DevicesByNumber(inner->objects_)) {
        if (e->Kind() == TEntityKind::Symbol && static_cast<TSymbol*>(e)->InnerScheme()) {
            ExpandInto(static_cast<TSymbol*>(e), prefix + e->Name(), out);
            continue;
        }
        std::unique_ptr<TEntity> copy = CloneEntity(*e, inner);
        auto* clone = static_cast<TElement*>(copy.get());
        clone->TEntity::SetName(prefix + e->Name());
        for (int i = 0; i < e->PinCount() && i < clone->PinCount(); ++i) {
            TInOut* pin = e->Pin(i);
            clone->Pin(i)->SetFixedSignal(pin->SignalName(), pin->Connected());
            if (const std::vector<AnsiString>* targets = pin->CopyTargets())
                clone->Pin(i)->SetFixedCopyTargets(*targets);
        }
        out.push_back(clone);
        expansion_.push_back(std::move(copy));
    }
}

TElement* TScheme::NextByNumber(bool restart) {
    if (restart || !orderBuilt_) {
        ClearExpansion();
        for (TElement* e : DevicesByNumber(objects_)) {
            if (expandSymbols_ && e->Kind() == TEntityKind::Symbol && static_cast<TSymbol*>(e)->InnerScheme())
                ExpandInto(static_cast<TSymbol*>(e), e->Name(), order_);
            else
                order_.push_back(e);
        }
        orderBuilt_ = true;
    }
    return orderCursor_ < order_.size() ? order_[orderCursor_++] : nullptr;
}

void TScheme::SetExpandSymbols(bool on) {
    expandSymbols_ = on;
    if (!on)
        ClearExpansion();
}

void TScheme::ReloadSymbols() {
    ClearExpansion();
    expandSymbols_ = false;
    TSymbolLoad load(fileName_);
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol)
            static_cast<TSymbol*>(o.get())->LoadInnerScheme();
}

// ---- chains ---------------------------------------------------------------------------------

void TScheme::ListChainNames(TStrings* list) const {
    for (const TChain& c : chains_)
        list->Add(c.Name());
}

void TScheme::ListChainMembers(TStrings* elements, TStrings* outputs, const AnsiString& chainName) const {
    for (const TChain& c : chains_) {
        if (c.Name() != chainName || !c.Net)
            continue;
        for (TInOut* p : c.Net->Pins) {
            TElement* e = p->Element();
            TStrings* list = e->IsDriver() ? outputs : elements;
            AnsiString entry = e->Name() + "=" + e->Label();
            if (list && list->IndexOf(entry) < 0)
                list->Add(entry);
        }
    }
}

void TScheme::ChainTouchesConnections(TStrings* list, const AnsiString& chainName) const {
    for (const TChain& c : chains_) {
        if (c.Name() != chainName || !c.Net)
            continue;
        for (TDriver* d : c.Net->Drivers)
            if (d->Kind() == TEntityKind::VarDriver && list->IndexOf(d->Name()) < 0)
                list->Add(d->Name());
    }
}

bool TScheme::MarkChainsOfConnections(TStrings* list, bool colour, TStrings* chainList) {
    bool any = false;
    for (const TChain& c : chains_) {
        if (!c.Net)
            continue;
        bool touches = false;
        for (TDriver* d : c.Net->Drivers)
            if (d->Kind() == TEntityKind::VarDriver && list->IndexOf(d->Name()) >= 0)
                touches = true;
        if (!touches)
            continue;
        any = true;
        for (TDriver* d : c.Net->Drivers)
            if (d->Kind() == TEntityKind::VarDriver && list->IndexOf(d->Name()) < 0)
                list->Add(d->Name());
        if (chainList && chainList->IndexOf(c.Name()) < 0)
            chainList->Add(c.Name());
        if (colour)
            for (TLink* l : c.Links)
                l->SetCustomColor(TColor(16776960));
    }
    return any;
}

void TScheme::HighlightChain(const AnsiString& name, bool normal) {
    for (const TChain& c : chains_)
        if (c.Name() == name)
            for (TLink* l : c.Links)
                l->SetCustomColor(normal ? clNone : schemesettings::HighlightColor());
}
