// What a translation asks of a scheme document: driver pins, net names and
// the devices in processing order, with symbols expanded into transient
// copies of their inner devices; and the queries of the chain dialogs.
#include <algorithm>
#include <unordered_map>

#include "document/Scheme.h"
#include "model/Records.h"
#include "model/SchemeSettings.h"

namespace {
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
// element's output; without one in its scheme, what writes one of its names
// in another scheme of the run. Nets of one scheme that carry one connector
// name are one chain. Every output driver pin and connector on the chain is
// written from the source, where a reader of that name needs it in the scan:
// - an element's output writes a temporary signal, and a copy block right
//   after the element's block writes every name of the chain from it (a
//   symbol's output is written so by the inner element behind it);
// - an input signal holds still through a scan, so its copy block runs
//   before the first element of the scan, where no jump can pass it by;
// - a name written by an element of an earlier scheme is copied right after
//   that element's block; written by an input or a later scheme, at the
//   start of the scan (it holds still until then): a jump into the reading
//   scheme skips elements, never a copy;
// - a symbol's input wired straight to names inside is copied where its
//   chain outside is written, also behind another symbol's output and
//   through the inputs of symbols nested in it.
// The naming, the conflict check, the copies and the connector feeds all
// read the one grouping below.

namespace {
void AddName(std::vector<AnsiString>& names, const AnsiString& name);
} // namespace

struct TScheme::TChainGroup {
    std::vector<TNet*> nets;
    // Distinct sources: the signals first, then the element outputs.
    std::vector<TSource> sources;
    // The pins of the outputs, in the order of their sources.
    std::vector<TInOut*> writers;
    // Two outputs of one element (or symbol) on the chain, the first met first.
    std::vector<TSource> samePins;
    // The names the chain carries, distinct (letter case aside), in document
    // order; inside a symbol a connector gives the names of the symbol's pin.
    std::vector<AnsiString> names;
    // Of those, the names of connectors, and of driver pins.
    std::vector<AnsiString> connectors;
    std::vector<AnsiString> pins;
    // The connector name that joins several nets into this chain, if any.
    AnsiString joiningConnector;
    // Set by the naming: the name it is read by; the output whose block is
    // followed by its copy block and every name that block writes; a copy
    // that no element's block carries; the sources that write its names
    // elsewhere (a chain without its own).
    AnsiString name;
    TInOut* copyPin = nullptr;
    std::vector<AnsiString> copyTargets;
    std::vector<AnsiString> looseTargets;
    bool looseOfInput = false;
    std::vector<TOutsideFeed> outside;
    // Without a source of its own: the chain of the scheme that writes the
    // name read, or whether another scheme writes it (the run then places
    // the copy of the loose targets).
    TChainGroup* feeder = nullptr;
    bool readElsewhere = false;
    // Inside a symbol: the symbol's input that feeds the chain, if any, and
    // the scheme the symbol stands in, whose chain on that input writes it.
    const TInOut* symbolInput = nullptr;
    TScheme* outer = nullptr;

    // Has the copy block that writes this chain's names write the names given
    // too, right after its output or from its input; false when the chain has
    // no source of its own to write them from.
    bool AddCopies(const std::vector<AnsiString>& more) {
        if (sources.empty())
            return false;
        if (sources.front().kind == TSource::Output) {
            if (!copyPin) {
                copyPin = writers.front();
                copyTargets = {name};
                for (const AnsiString& n : names)
                    AddName(copyTargets, n);
            }
            for (const AnsiString& n : more)
                AddName(copyTargets, n);
            SetCopies();
            return true;
        }
        for (const AnsiString& n : more)
            if (!SameText(n, name))
                AddName(looseTargets, n);
        return true;
    }
    bool WrittenBySymbol() const {
        return !sources.empty() && sources.front().kind == TSource::Output &&
               writers.front()->Element()->Kind() == TEntityKind::Symbol;
    }
    // The copy block an output carries, on every net of the chain.
    void SetCopies() {
        for (TNet* net : nets) {
            net->CopyPin = copyPin;
            net->CopyTargets = copyTargets;
        }
    }
};

namespace {
void AddName(std::vector<AnsiString>& names, const AnsiString& name) {
    if (!name.IsEmpty() && std::none_of(names.begin(), names.end(), [&](const AnsiString& n) { return SameText(n, name); }))
        names.push_back(name);
}

bool SameSource(const TScheme::TSource& a, const TScheme::TSource& b) {
    if ((a.kind == TScheme::TSource::Output) != (b.kind == TScheme::TSource::Output))
        return false;
    return a.kind == TScheme::TSource::Output ? a.name == b.name : SameText(a.name, b.name);
}

void AddSource(std::vector<TScheme::TSource>& sources, const TScheme::TSource& s) {
    if (std::none_of(sources.begin(), sources.end(), [&](const TScheme::TSource& o) { return SameSource(o, s); }))
        sources.push_back(s);
}

// The pin of a placed symbol that a connector inside it stands for, or null.
TInOut* SymbolPinOf(const TSymbol* symbol, const TDriver* connector) {
    for (int i = 0; i < symbol->PinCount(); ++i) {
        TInOut* pin = symbol->Pin(i);
        if (pin->Name() == connector->Name() && pin->Connected() && !pin->IsNull())
            return pin;
    }
    return nullptr;
}

// The names a symbol's pin stands for inside it: every name of the outer
// chain when the symbol's output writes it, else the signal it carries.
std::vector<AnsiString> NamesOfSymbolPin(const TInOut* pin) {
    std::vector<AnsiString> names{pin->SignalName()};
    if (const std::vector<AnsiString>* targets = pin->CopyTargets())
        for (const AnsiString& t : *targets)
            AddName(names, t);
    return names;
}

struct UnionFind {
    std::vector<std::size_t> parent;
    explicit UnionFind(std::size_t n) : parent(n) {
        for (std::size_t i = 0; i < n; ++i)
            parent[i] = i;
    }
    std::size_t Find(std::size_t i) { return parent[i] == i ? i : parent[i] = Find(parent[i]); }
};

// The name a net of a joined chain reads: the chain's own when the net
// carries it, else its first connector's (inside a symbol, that of the
// symbol's pin it stands for).
AnsiString OwnName(const TNet& net, const AnsiString& chainName, const TSymbol* symbol) {
    AnsiString first;
    for (TDriver* d : net.Drivers) {
        if (d->Name().IsEmpty())
            continue;
        AnsiString n = d->Name();
        if (symbol && d->Kind() == TEntityKind::VarDriver) {
            const TInOut* pin = SymbolPinOf(symbol, d);
            if (!pin)
                continue;
            n = pin->SignalName();
        }
        if (SameText(n, chainName))
            return chainName;
        if (first.IsEmpty() && d->Kind() == TEntityKind::VarDriver)
            first = n;
    }
    return first.IsEmpty() ? chainName : first;
}

// The number of an output among its element's outputs, from 0 top down, as
// the numbered outputs are named and a counter's bits counted.
int OutputNumber(const TInOut* pin) {
    const TElement* e = pin->Element();
    for (int i = 0; i < e->OutputCount(); ++i)
        if (e->GetOutput(i) == pin)
            return i;
    return -1;
}

// A second output of an element that already writes the chain through
// another pin: both outputs, a conflict as two elements would be.
void AddSecondOutput(const std::vector<TInOut*>& writers, TInOut* pin, std::vector<TScheme::TSource>& out) {
    for (TInOut* w : writers)
        if (w->Element() == pin->Element() && w != pin) {
            const AnsiString& name = pin->Element()->Name();
            out = {{TScheme::TSource::Output, name, name, OutputNumber(w)},
                   {TScheme::TSource::Output, name, name, OutputNumber(pin)}};
            return;
        }
}

AnsiString ChainOf(const TNet& net) { return net.Chains.empty() ? net.Name : net.Chains.front()->Name(); }
} // namespace

std::vector<TScheme::TChainGroup> TScheme::GroupChains(const TSymbol* symbol) const {
    // Nets joined through a connector name (letter case aside).
    std::vector<const TNet*> nets;
    for (const TNet& n : nets_)
        nets.push_back(&n);
    UnionFind sets(nets.size());
    std::unordered_map<std::string, std::size_t> byConnector;
    std::unordered_map<std::string, bool> joins;
    for (std::size_t i = 0; i < nets.size(); ++i)
        for (TDriver* d : nets[i]->Drivers)
            if (d->Kind() == TEntityKind::VarDriver && !d->Name().IsEmpty()) {
                auto [it, added] = byConnector.try_emplace(AnsiUpperCase(d->Name()).str(), i);
                if (!added && sets.Find(it->second) != sets.Find(i)) {
                    sets.parent[sets.Find(i)] = sets.Find(it->second);
                    joins[it->first] = true;
                }
            }
    std::vector<TChainGroup> groups;
    std::unordered_map<std::size_t, std::size_t> groupOf;
    for (std::size_t i = 0; i < nets.size(); ++i) {
        auto [it, added] = groupOf.try_emplace(sets.Find(i), groups.size());
        if (added)
            groups.emplace_back();
        groups[it->second].nets.push_back(const_cast<TNet*>(nets[i]));
    }
    for (TChainGroup& g : groups) {
        std::vector<TSource> signals, outputs;
        std::vector<AnsiString> innerConnectorNames;
        for (TNet* net : g.nets) {
            for (TDriver* d : net->Drivers) {
                if (d->Name().IsEmpty())
                    continue;
                if (d->Kind() == TEntityKind::VarDriver) {
                    if (g.joiningConnector.IsEmpty() && joins.count(AnsiUpperCase(d->Name()).str()))
                        g.joiningConnector = d->Name();
                    if (!symbol) {
                        AddName(g.names, d->Name());
                        AddName(g.connectors, d->Name());
                    } else if (TInOut* pin = SymbolPinOf(symbol, d)) {
                        if (pin->Direction() == 0) {
                            AddSource(signals, {TSource::SymbolInput, pin->SignalName(), d->Name()});
                            if (!g.symbolInput)
                                g.symbolInput = pin;
                        }
                        for (const AnsiString& n : NamesOfSymbolPin(pin))
                            AddName(innerConnectorNames, n);
                    }
                    continue;
                }
                if (d->GetDirection() == 0)
                    AddSource(signals, {TSource::Signal, d->Name(), d->Name()});
                AddName(g.pins, d->Name());
                if (!symbol)
                    AddName(g.names, d->Name());
            }
            for (TInOut* p : net->Pins)
                if (p->Element()->IsDevice() && p->Direction() == 1) {
                    const std::size_t before = outputs.size();
                    AddSource(outputs, {TSource::Output, p->Element()->Name(), p->Element()->Name()});
                    if (outputs.size() > before)
                        g.writers.push_back(p);
                    else if (g.samePins.empty())
                        AddSecondOutput(g.writers, p, g.samePins);
                }
        }
        // Inside a symbol the names of its pins come first, as its chains were always named.
        if (symbol) {
            g.names = g.connectors = innerConnectorNames;
            for (const AnsiString& n : g.pins)
                AddName(g.names, n);
        }
        g.sources = std::move(signals);
        g.sources.insert(g.sources.end(), outputs.begin(), outputs.end());
    }
    return groups;
}

int TScheme::NameGroups(const TSymbol* symbol, TScheme* outer, TStrings* list, int counter,
                        const IOutsideFeeds* outside) {
    // The symbols are named after this scheme: a grouping they hold is an earlier naming's.
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol)
            if (TScheme* inner = InnerSchemeOf(static_cast<TSymbol*>(o.get())))
                inner->groups_.reset();
    groups_ = std::make_shared<std::vector<TChainGroup>>(GroupChains(symbol));
    std::vector<TChainGroup>& groups = *groups_;
    for (TChainGroup& g : groups)
        g.outer = outer;
    // The chains with a source of their own, by the names they write.
    std::unordered_map<std::string, std::size_t> writtenHere;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        TChainGroup& g = groups[i];
        if (g.names.empty()) {
            // A net that joins pins and carries no signal gets a name of its own.
            int pins = 0;
            for (TNet* net : g.nets)
                pins += int(std::count_if(net->Pins.begin(), net->Pins.end(), [&](TInOut* p) {
                    return !symbol || p->Element()->IsDevice();
                }));
            if (pins >= 2) {
                g.name = "_var" + IntToStr(counter++);
                list->Add(g.name);
            }
            continue;
        }
        if (g.sources.empty())
            continue;
        for (const AnsiString& n : g.names)
            writtenHere.try_emplace(AnsiUpperCase(n).str(), i);
        if (g.sources.front().kind != TSource::Output) {
            // A signal feeds the chain; with two the run is refused and the first counts here.
            g.name = g.sources.front().name;
            for (const AnsiString& n : g.names)
                if (!SameText(n, g.name))
                    g.looseTargets.push_back(n);
            g.looseOfInput = g.sources.front().kind == TSource::Signal;
        } else {
            // An element's output writes the chain: the first name is read, a
            // temporary signal and a copy block after the writer write them all.
            g.name = g.names.front();
            if (g.names.size() >= 2) {
                g.copyPin = g.writers.front();
                g.copyTargets = g.names;
            }
        }
    }
    // A chain without a source of its own reads what writes one of its names
    // elsewhere: another chain of this scheme, or another scheme of the run.
    for (TChainGroup& g : groups) {
        if (g.names.empty() || !g.sources.empty())
            continue;
        g.name = g.names.front();
        TChainGroup* feeder = nullptr;
        for (const AnsiString& n : g.names) {
            auto here = writtenHere.find(AnsiUpperCase(n).str());
            const TOutsideFeed* f = nullptr;
            TOutsideFeed local;
            if (here != writtenHere.end()) {
                local = {GetName(), groups[here->second].sources.front()};
                f = &local;
            } else if (outside) {
                f = outside->FeedOf(n, *this);
            }
            if (!f)
                continue;
            if (g.outside.empty()) {
                g.name = n;
                feeder = here != writtenHere.end() ? &groups[here->second] : nullptr;
                g.feeder = feeder;
                g.readElsewhere = !feeder;
            }
            if (std::none_of(g.outside.begin(), g.outside.end(), [&](const TOutsideFeed& o) {
                    return SameSource(o.source, f->source) && o.scheme == f->scheme;
                }))
                g.outside.push_back(*f);
        }
        if (g.outside.empty())
            continue;
        std::vector<AnsiString> others;
        for (const AnsiString& n : g.names)
            if (!SameText(n, g.name))
                others.push_back(n);
        // Written in this scheme, the other names are written with the name
        // read, by the same copy block. Written in another scheme, they are
        // copied from it right after the element that writes it there (the
        // run lists them before it names any scheme), or after the copies of
        // input signals when an input writes it.
        if (!feeder || !HandCopies(*feeder, others))
            g.looseTargets = std::move(others);
    }
    // A symbol's input wired straight to names inside: they are written where
    // the chain outside is (behind a symbol's output, by the element inside
    // it that writes that output).
    if (outer)
        for (TChainGroup& g : groups)
            if (!g.sources.empty() && g.sources.front().kind == TSource::SymbolInput && !g.looseTargets.empty())
                if (TChainGroup* from = outer->GroupOf(g.symbolInput); from && outer->HandCopies(*from, g.looseTargets))
                    g.looseTargets.clear();
    for (TChainGroup& g : groups) {
        for (TNet* net : g.nets)
            // A net joined to the chain by a connector reads that connector,
            // which the copies write before it is read: a connector drawn as
            // read is read.
            net->Name = g.nets.size() > 1 ? OwnName(*net, g.name, symbol) : g.name;
        g.SetCopies();
    }
    return counter;
}

bool TScheme::HandCopies(TChainGroup& g, const std::vector<AnsiString>& names) {
    if (g.sources.empty()) {
        if (g.feeder)
            return HandCopies(*g.feeder, names);
        if (!g.readElsewhere)
            return false;
        for (const AnsiString& n : names)
            if (!SameText(n, g.name))
                AddName(g.looseTargets, n);
        return true;
    }
    // Fed by the symbol's input, they are written where the chain on that
    // input is, in the scheme around, however deep the symbol stands.
    if (g.sources.front().kind == TSource::SymbolInput && g.outer)
        if (TChainGroup* from = g.outer->GroupOf(g.symbolInput); from && g.outer->HandCopies(*from, names))
            return true;
    g.AddCopies(names);
    // A symbol named already takes them inside to what writes its output
    // there; one named later reads them from its pin.
    if (!g.WrittenBySymbol())
        return true;
    TInOut* pin = g.writers.front();
    auto* symbol = static_cast<TSymbol*>(pin->Element());
    TScheme* inner = InnerSchemeOf(symbol);
    if (!inner || !inner->groups_)
        return true;
    for (TChainGroup& w : *inner->groups_)
        if (!w.sources.empty() && w.sources.front().kind == TSource::Output)
            for (TNet* net : w.nets)
                for (TDriver* d : net->Drivers)
                    if (d->Kind() == TEntityKind::VarDriver && SymbolPinOf(symbol, d) == pin)
                        return inner->HandCopies(w, names);
    return true;
}

TScheme::TChainGroup* TScheme::GroupOf(const TInOut* pin) {
    if (groups_ && pin)
        for (TChainGroup& g : *groups_)
            for (TNet* net : g.nets)
                if (net == pin->Net())
                    return &g;
    return nullptr;
}

int TScheme::NameSymbolNets(TStrings* list, int counter) {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol) {
            auto* s = static_cast<TSymbol*>(o.get());
            if (TScheme* inner = InnerSchemeOf(s)) {
                counter = inner->NameGroups(s, this, list, counter, nullptr);
                counter = inner->NameSymbolNets(list, counter);
            }
        }
    return counter;
}

int TScheme::BuildNetNames(TStrings* list, int counter, const IOutsideFeeds* outside) {
    if (!list)
        return counter;
    counter = NameGroups(nullptr, nullptr, list, counter, outside);
    return expandSymbols_ ? NameSymbolNets(list, counter) : counter;
}

namespace {
// Two sources of one chain: a conflict to report.
template <class Group>
void AddConflict(const Group& g, const AnsiString& symbol, std::vector<TScheme::TSourceConflict>& out) {
    const std::vector<TScheme::TSource>& two = g.sources.size() >= 2 ? g.sources : g.samePins;
    if (two.size() < 2)
        return;
    const bool joined = !g.joiningConnector.IsEmpty();
    out.push_back({symbol, joined ? g.joiningConnector : ChainOf(*g.nets.front()), joined, two[0], two[1]});
}
} // namespace

void TScheme::ListSourceConflicts(std::vector<TSourceConflict>& out) const {
    if (groups_)
        for (const TChainGroup& g : *groups_)
            AddConflict(g, AnsiString(), out);
    if (expandSymbols_)
        ListInnerConflicts(AnsiString(), out);
}

void TScheme::ListInnerConflicts(const AnsiString& prefix, std::vector<TSourceConflict>& out) const {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol) {
            auto* s = static_cast<const TSymbol*>(o.get());
            if (const TScheme* inner = InnerSchemeOf(s)) {
                if (inner->groups_)
                    for (const TChainGroup& g : *inner->groups_)
                        AddConflict(g, prefix + s->Name(), out);
                inner->ListInnerConflicts(prefix + s->Name(), out);
            }
        }
}

void TScheme::ListOutsideConflicts(std::vector<TOutsideConflict>& out) const {
    if (groups_)
        for (const TChainGroup& g : *groups_)
            if (g.outside.size() >= 2)
                out.push_back({ChainOf(*g.nets.front()), g.outside[0], g.outside[1]});
}

void TScheme::ListFeeds(std::vector<TFeed>& out) const {
    // After a naming its grouping serves; before one (a run listing every
    // scheme first) the chains are grouped here.
    std::vector<TChainGroup> grouped;
    if (!groups_)
        grouped = GroupChains(nullptr);
    for (const TChainGroup& g : groups_ ? *groups_ : grouped)
        if (g.sources.size() == 1)
            for (const AnsiString& n : g.names)
                out.push_back({n, std::any_of(g.connectors.begin(), g.connectors.end(),
                                              [&](const AnsiString& c) { return SameText(c, n); }),
                               g.sources.front()});
    if (expandSymbols_)
        ListInnerFeeds(AnsiString(), out);
}

void TScheme::ListInnerFeeds(const AnsiString& prefix, std::vector<TFeed>& out) const {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->Kind() == TEntityKind::Symbol) {
            auto* s = static_cast<const TSymbol*>(o.get());
            const TScheme* inner = InnerSchemeOf(s);
            if (!inner)
                continue;
            // Inside, a driver pin writes the signal it names; the connectors
            // stand for the symbol's pins, whose chains are outside.
            for (const TChainGroup& g : inner->GroupChains(s))
                if (g.sources.size() == 1 && g.sources.front().kind != TSource::SymbolInput) {
                    TSource source = g.sources.front();
                    if (source.kind == TSource::Output)
                        source.name = source.shown = prefix + s->Name() + source.name;
                    for (const AnsiString& n : g.pins)
                        out.push_back({n, false, source});
                }
            inner->ListInnerFeeds(prefix + s->Name(), out);
        }
}

void TScheme::ListLooseCopies(std::vector<TLooseCopy>& out) const {
    // The chains of the scheme, then those inside its symbols, in the order they were named.
    auto visit = [&out](const TScheme& s, bool inner, auto& self) -> void {
        if (s.groups_)
            for (const TChainGroup& g : *s.groups_)
                if (!g.looseTargets.empty())
                    out.push_back({g.name, g.looseTargets, g.looseOfInput, g.readElsewhere});
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
