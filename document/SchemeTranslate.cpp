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
        if (d->Kind() == TEntityKind::Driver && d->Name() == name && d->GetDirection() == 0)
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

int TScheme::NameNets(TStrings* list, int counter) {
    for (TNet& n : nets_) {
        TNet* net = &n;
        net->CopyPin = nullptr;
        net->CopyTargets.clear();
        if (net->Signals.empty()) {
            net->Name = AnsiString();
            if (net->Pins.size() >= 2) {
                net->Name = "_var" + IntToStr(counter++);
                list->Add(net->Name);
            }
            continue;
        }
        // An input's signal is the net's source; the other signals get copies.
        AnsiString primary = net->Signals[0];
        for (const AnsiString& s : net->Signals)
            if (IsInputDriverName(*net, s)) {
                primary = s;
                break;
            }
        net->Name = primary;
        if (net->Signals.size() < 2)
            continue;
        TInOut* writer = nullptr;
        TInOut* reader = nullptr;
        for (TInOut* p : net->Pins)
            if (p->Element()->IsDevice()) {
                if (p->Direction() == 1 && !writer)
                    writer = p;
                if (p->Direction() == 0 && !reader)
                    reader = p;
            }
        std::vector<AnsiString> targets;
        for (const AnsiString& s : net->Signals)
            if (!IsInputDriverName(*net, s) && (writer || s != primary))
                targets.push_back(s);
        if (targets.empty() || !(writer || reader))
            continue;
        net->CopyPin = writer ? writer : reader;
        net->CopyTargets = std::move(targets);
    }
    return counter;
}

// The nets inside a symbol: a connector stands for the signal on the
// symbol's pin of its name, a driver pin for its own signal.
int TScheme::NameInnerNets(TSymbol* symbol, TStrings* list, int counter) {
    for (TNet& n : nets_) {
        TNet* net = &n;
        net->CopyPin = nullptr;
        net->CopyTargets.clear();
        AnsiString name;
        for (TDriver* d : net->Drivers)
            if (d->Kind() == TEntityKind::VarDriver)
                for (int i = 0; i < symbol->PinCount(); ++i) {
                    TInOut* pin = symbol->Pin(i);
                    if (name.IsEmpty() && pin->Name() == d->Name() && pin->Connected() && !pin->IsNull())
                        name = pin->SignalName();
                }
        if (name.IsEmpty())
            for (TDriver* d : net->Drivers)
                if (d->Kind() == TEntityKind::Driver && !d->Name().IsEmpty()) {
                    name = d->Name();
                    break;
                }
        if (name.IsEmpty()) {
            int devicePins = int(std::count_if(net->Pins.begin(), net->Pins.end(),
                                               [](TInOut* p) { return p->Element()->IsDevice(); }));
            if (devicePins >= 2) {
                name = "_var" + IntToStr(counter++);
                list->Add(name);
            }
        }
        net->Name = name;
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
        for (int i = 0; i < e->PinCount() && i < clone->PinCount(); ++i)
            clone->Pin(i)->SetFixedSignal(e->Pin(i)->SignalName(), e->Pin(i)->Connected());
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
