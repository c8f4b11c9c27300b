// The nets of a scheme document: rebuilt from the drawing after every edit,
// and the wiring operations that split, join and merge wires.
#include <algorithm>
#include <deque>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "document/Scheme.h"
#include "document/UndoList.h"

namespace {

uint64_t Key(int x, int y) { return (uint64_t(uint32_t(x)) << 32) | uint32_t(y); }

struct DisjointSets {
    std::vector<int> parent;
    int Add() {
        parent.push_back(int(parent.size()));
        return parent.back();
    }
    int Find(int i) {
        while (parent[std::size_t(i)] != i) {
            parent[std::size_t(i)] = parent[std::size_t(parent[std::size_t(i)])];
            i = parent[std::size_t(i)];
        }
        return i;
    }
    void Join(int a, int b) { parent[std::size_t(Find(a))] = Find(b); }
};

} // namespace

// Suspends the rebuilding of nets while an operation adds and removes
// objects; the operation rebuilds once at its end.
class TScheme::NetsSuspended {
public:
    explicit NetsSuspended(TScheme* s) : s_(s) { ++s_->updating_; }
    ~NetsSuspended() {
        --s_->updating_;
        s_->rebuildPending_ = false;
    }

private:
    TScheme* s_;
};

void TScheme::RebuildNets() { Rebuild(JoinMode::None, {}); }

std::vector<TEPoint*> TScheme::Junctions() const {
    std::vector<TEPoint*> out;
    for (const TEPoint& p : points_)
        if (p.IsJunction())
            out.push_back(const_cast<TEPoint*>(&p));
    return out;
}

// One rebuild of the nets from the drawing, in its four steps: the
// connection places of the wire ends and pin tips, the nets and their points,
// the chains of each net's wires, and the new nets put in place with what
// they change on the sheet redrawn. The nets are built aside and replace the
// scheme's only at the end.
class TScheme::NetBuilder {
public:
    explicit NetBuilder(TScheme* scheme) : s_(scheme) {}

    // Connection points: every wire end and pin tip, one point per place,
    // the places that wires join in one set. Objects kept for undo lose
    // their nets.
    void CollectPlaces();
    // A net: what the wires join, or two pins or more on one point. Makes
    // the nets and their points and hands each pin its net.
    void FormNets();
    // The operations that join unite the chain names of the nets that the
    // touched objects reach; false when the user refused a union.
    bool UniteTouchedChains(const std::vector<TEntity*>& touched);
    // Wires without a name take their net's or a new one; each net's wires
    // are grouped into chains by name, and each wire gets its net and chain.
    void FormChains();
    // The new nets replace the scheme's; the junction dots and the pins that
    // became joined or free (their colour shows it) are redrawn.
    void Install();

private:
    struct Place {
        int x, y;
        int pins = 0, links = 0;
    };
    // The places of one set of joined places.
    struct Group {
        int links = 0, pins = 0, points = 0;
        int net = -1;
    };

    int PlaceAt(int x, int y) {
        auto [it, added] = placeIndex_.try_emplace(Key(x, y), int(places_.size()));
        if (added) {
            places_.push_back({x, y});
            sets_.Add();
        }
        return it->second;
    }
    // The net of a place, made at the first call; null for a place of a
    // group that is no net.
    TNet* NetAt(int place) {
        Group& g = groups_[std::size_t(root_[std::size_t(place)])];
        if (g.links == 0 && g.pins < 2)
            return nullptr;
        if (g.net < 0) {
            g.net = int(nets_.size());
            TNet& net = nets_.emplace_back();
            net.Points.reserve(std::size_t(g.points));
            net.Links.reserve(std::size_t(g.links / 2));
            net.Pins.reserve(std::size_t(g.pins));
        }
        return &nets_[std::size_t(g.net)];
    }

    TScheme* s_;
    std::unordered_map<uint64_t, int> placeIndex_;
    std::vector<Place> places_;
    DisjointSets sets_;
    // Each wire with the places of its two ends; each pin with its place.
    std::vector<std::pair<TLink*, std::pair<int, int>>> links_;
    std::vector<std::pair<TInOut*, int>> pins_;
    std::vector<Group> groups_;
    std::vector<int> root_;
    std::deque<TNet> nets_;
    std::deque<TEPoint> points_;
    std::vector<TEPoint*> pointOf_;
    std::deque<TChain> chains_;
};

void TScheme::NetBuilder::CollectPlaces() {
    const auto& objects = s_->objects_;
    placeIndex_.reserve(objects.size() * 2);
    places_.reserve(objects.size() * 2);
    sets_.parent.reserve(objects.size() * 2);
    links_.reserve(objects.size());
    pins_.reserve(objects.size() * 2);
    for (const auto& o : objects) {
        if (o->Deleted()) {
            // Kept for undo: no net of theirs may outlive this rebuild.
            if (o->IsLink())
                static_cast<TLink*>(o.get())->SetNet(nullptr, nullptr, nullptr, nullptr);
            else if (auto* e = dynamic_cast<TElement*>(o.get()))
                for (int i = 0; i < e->PinCount(); ++i)
                    e->Pin(i)->SetNet(nullptr, nullptr);
            continue;
        }
        if (o->IsLink()) {
            auto* l = static_cast<TLink*>(o.get());
            int a = PlaceAt(l->X1(), l->Y1());
            int b = PlaceAt(l->X2(), l->Y2());
            ++places_[std::size_t(a)].links;
            ++places_[std::size_t(b)].links;
            sets_.Join(a, b);
            links_.push_back({l, {a, b}});
        } else if (o->Kind() != TEntityKind::Point && o->Kind() != TEntityKind::Pin) {
            auto* e = static_cast<TElement*>(o.get());
            for (int i = 0; i < e->PinCount(); ++i) {
                TInOut* pin = e->Pin(i);
                int a = PlaceAt(pin->TipX(), pin->TipY());
                ++places_[std::size_t(a)].pins;
                pins_.push_back({pin, a});
            }
        }
    }
}

void TScheme::NetBuilder::FormNets() {
    const std::size_t n = places_.size();
    groups_.resize(n);
    root_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        root_[i] = sets_.Find(int(i));
        Group& g = groups_[std::size_t(root_[i])];
        g.links += places_[i].links;
        g.pins += places_[i].pins;
        ++g.points;
    }
    pointOf_.assign(n, nullptr);
    for (std::size_t i = 0; i < n; ++i) {
        TNet* net = NetAt(int(i));
        if (!net)
            continue;
        TEPoint& p = points_.emplace_back(s_, places_[i].x, places_[i].y);
        p.Pins.reserve(std::size_t(places_[i].pins));
        p.Links.reserve(std::size_t(places_[i].links));
        p.Net = net;
        net->Points.push_back(&p);
        pointOf_[i] = &p;
    }
    for (auto& [l, ends] : links_) {
        NetAt(ends.first)->Links.push_back(l);
        pointOf_[std::size_t(ends.first)]->Links.push_back(l);
        pointOf_[std::size_t(ends.second)]->Links.push_back(l);
    }
    for (auto& [pin, a] : pins_) {
        TNet* net = NetAt(a);
        TEPoint* point = pointOf_[std::size_t(a)];
        pin->SetNet(net, point);
        if (!net)
            continue;
        point->Pins.push_back(pin);
        net->Pins.push_back(pin);
        if (pin->Element()->IsDriver()) {
            auto* d = static_cast<TDriver*>(pin->Element());
            net->Drivers.push_back(d);
            // Signal names are compared as the translation library compares them.
            if (!d->Name().IsEmpty() && std::none_of(net->Signals.begin(), net->Signals.end(),
                                                     [d](const AnsiString& s) { return SameText(s, d->Name()); }))
                net->Signals.push_back(d->Name());
        }
    }
    for (TNet& net : nets_)
        if (!net.Signals.empty())
            net.Name = net.Signals[0];
}

bool TScheme::NetBuilder::UniteTouchedChains(const std::vector<TEntity*>& touched) {
    bool refused = false;
    std::unordered_set<TNet*> done;
    for (TEntity* t : touched) {
        std::vector<TNet*> reached;
        if (t->IsLink()) {
            auto* l = static_cast<TLink*>(t);
            auto it = placeIndex_.find(Key(l->X1(), l->Y1()));
            if (it != placeIndex_.end())
                reached.push_back(NetAt(it->second));
        } else if (auto* e = dynamic_cast<TElement*>(t)) {
            for (int i = 0; i < e->PinCount(); ++i)
                reached.push_back(e->Pin(i)->Net());
        }
        for (TNet* net : reached)
            if (net && !refused && done.insert(net).second)
                refused = !s_->UniteChains(net);
    }
    return !refused;
}

void TScheme::NetBuilder::FormChains() {
    for (TNet& net : nets_) {
        if (net.Links.empty())
            continue;
        AnsiString name;
        int number = 0;
        for (TLink* l : net.Links)
            if (!l->ChainName().IsEmpty()) {
                name = l->ChainName();
                number = l->ChainNumber();
                break;
            }
        if (name.IsEmpty()) {
            number = ++s_->chainCounter_;
            name = TChain::GeneratedName(number);
        }
        for (TLink* l : net.Links) {
            if (l->ChainName().IsEmpty())
                l->SetChain(name, number);
            TChain* chain = nullptr;
            for (TChain* c : net.Chains)
                if (c->Name() == l->ChainName())
                    chain = c;
            if (!chain) {
                chain = &chains_.emplace_back(s_, l->ChainName(), l->ChainNumber());
                chain->Net = &net;
                net.Chains.push_back(chain);
            }
            chain->Links.push_back(l);
        }
    }
    for (auto& [l, ends] : links_) {
        TNet* net = NetAt(ends.first);
        TChain* chain = nullptr;
        for (TChain* c : net->Chains)
            if (c->Name() == l->ChainName())
                chain = c;
        l->SetNet(net, chain, pointOf_[std::size_t(ends.first)], pointOf_[std::size_t(ends.second)]);
    }
}

void TScheme::NetBuilder::Install() {
    std::unordered_set<uint64_t> shownBefore, shownAfter;
    for (TEPoint& p : s_->points_)
        if (p.Visible())
            shownBefore.insert(Key(p.GetX(), p.GetY()));
    for (TEPoint& p : points_)
        if (p.IsJunction())
            shownAfter.insert(Key(p.GetX(), p.GetY()));
    for (TEPoint& p : s_->points_)
        if (p.Visible() && !shownAfter.count(Key(p.GetX(), p.GetY())))
            p.Hide();
    for (TEPoint& p : points_) {
        if (!p.IsJunction())
            continue;
        if (shownBefore.count(Key(p.GetX(), p.GetY())))
            p.MarkShown(true);
        else
            p.Show();
    }
    s_->nets_ = std::move(nets_);
    // The translation's grouping held the old nets.
    s_->groups_.reset();
    s_->chains_ = std::move(chains_);
    s_->points_ = std::move(points_);
    for (const auto& o : s_->objects_) {
        if (o->Deleted() || !o->Visible() || o->IsLink())
            continue;
        auto* e = static_cast<TElement*>(o.get());
        for (int i = 0; i < e->PinCount(); ++i)
            if (e->Pin(i)->drawnConnected != e->Pin(i)->Connected()) {
                e->Hide();
                e->Show();
                break;
            }
    }
}

bool TScheme::Rebuild(JoinMode mode, const std::vector<TEntity*>& touched) {
    if (updating_ > 0) {
        rebuildPending_ = true;
        return true;
    }
    rebuildPending_ = false;
    NetBuilder build(this);
    build.CollectPlaces();
    build.FormNets();
    const bool united = mode != JoinMode::Join || touched.empty() || build.UniteTouchedChains(touched);
    build.FormChains();
    build.Install();
    return united;
}

bool TScheme::UniteChains(TNet* net) {
    struct Name {
        AnsiString name;
        int number;
    };
    std::vector<Name> names;
    for (TLink* l : net->Links)
        if (!l->ChainName().IsEmpty() &&
            std::none_of(names.begin(), names.end(), [&](const Name& n) { return n.name == l->ChainName(); }))
            names.push_back({l->ChainName(), l->ChainNumber()});
    if (names.size() < 2)
        return true;
    std::vector<AnsiString> merged;
    AnsiString target;
    int targetNumber = 0;
    bool refused = false;
    std::vector<Name> users;
    for (const Name& n : names)
        if (n.number == 0)
            users.push_back(n);
    if (users.empty()) {
        // Generated names only: the oldest stays.
        auto oldest = std::min_element(names.begin(), names.end(),
                                       [](const Name& a, const Name& b) { return a.number < b.number; });
        target = oldest->name;
        targetNumber = oldest->number;
    } else {
        target = users[0].name;
        merged.push_back(target);
        for (std::size_t i = 1; i < users.size(); ++i) {
            AnsiString joined;
            IFrameServices* frame = ModelHooks().Frame;
            if (!frame || !frame->AskJoinChains(target, users[i].name, joined) || joined.IsEmpty()) {
                refused = true;
                break;
            }
            merged.push_back(users[i].name);
            target = joined;
        }
    }
    for (const Name& n : names)
        if (n.number > 0)
            merged.push_back(n.name);
    for (TLink* l : net->Links) {
        if (l->ChainName().IsEmpty() || (l->ChainName() == target && l->ChainNumber() == targetNumber))
            continue;
        if (std::find(merged.begin(), merged.end(), l->ChainName()) == merged.end())
            continue;
        undo_->AddChainName(l);
        l->SetChain(target, targetNumber);
    }
    return !refused;
}

// ---- wiring ------------------------------------------------------------------------------

// Where the wires and the connection places lie, for operations that split
// wires at many points: wires by the line they run on (horizontal ones by Y,
// vertical ones by X, others apart) and the pin tips and wire ends by row and
// by column. Wires made while the index is in use join it; deleted ones stay
// in it and are passed over.
class TScheme::WireIndex {
public:
    explicit WireIndex(TScheme* s) : s_(s) {
        for (const auto& o : s->objects_) {
            if (o->Deleted())
                continue;
            if (o->IsLink()) {
                auto* l = static_cast<TLink*>(o.get());
                AddWire(l);
            } else if (auto* e = dynamic_cast<TElement*>(o.get())) {
                for (int i = 0; i < e->PinCount(); ++i)
                    AddPlace(e->Pin(i)->TipX(), e->Pin(i)->TipY());
            }
        }
        s_->wireIndex_ = this;
    }
    ~WireIndex() { s_->wireIndex_ = nullptr; }
    WireIndex(const WireIndex&) = delete;
    WireIndex& operator=(const WireIndex&) = delete;

    void AddWire(TLink* l) {
        if (l->Y1() == l->Y2())
            rows_[l->Y1()].push_back(l);
        else if (l->X1() == l->X2())
            cols_[l->X1()].push_back(l);
        else
            slanted_.push_back(l);
        AddPlace(l->X1(), l->Y1());
        AddPlace(l->X2(), l->Y2());
    }
    // The live wires that may run through (x, y), in document order.
    std::vector<TLink*> WiresAt(int x, int y) const {
        std::vector<TLink*> out;
        auto take = [&](const std::vector<TLink*>& v) {
            for (TLink* l : v)
                if (!l->Deleted())
                    out.push_back(l);
        };
        if (auto it = rows_.find(y); it != rows_.end())
            take(it->second);
        if (auto it = cols_.find(x); it != cols_.end())
            take(it->second);
        take(slanted_);
        std::sort(out.begin(), out.end(), [](TLink* a, TLink* b) { return a->Id < b->Id; });
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }
    // The places that lie on the wire between its ends.
    std::vector<std::pair<int, int>> PlacesOn(const TLink* wire) const {
        std::vector<std::pair<int, int>> out;
        auto consider = [&](int x, int y) {
            if (wire->PassesThrough(x, y))
                out.push_back({x, y});
        };
        if (wire->Y1() == wire->Y2()) {
            if (auto it = byRow_.find(wire->Y1()); it != byRow_.end())
                for (int x : it->second)
                    consider(x, wire->Y1());
        } else if (wire->X1() == wire->X2()) {
            if (auto it = byCol_.find(wire->X1()); it != byCol_.end())
                for (int y : it->second)
                    consider(wire->X1(), y);
        } else {
            for (const auto& [y, xs] : byRow_)
                for (int x : xs)
                    consider(x, y);
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

private:
    void AddPlace(int x, int y) {
        byRow_[y].push_back(x);
        byCol_[x].push_back(y);
    }
    TScheme* s_;
    std::unordered_map<int, std::vector<TLink*>> rows_, cols_;
    std::vector<TLink*> slanted_;
    std::unordered_map<int, std::vector<int>> byRow_, byCol_;
};

TLink* TScheme::NewWire(int x1, int y1, int x2, int y2, const AnsiString& chain, int number) {
    auto* w = new TLink(this, x1, y1, x2, y2);
    w->SetChain(chain, number);
    AddNew(w, true);
    if (wireIndex_)
        wireIndex_->AddWire(w);
    return w;
}

bool TScheme::SplitWiresAt(int x, int y, TLink* except) {
    std::vector<TLink*> candidates;
    if (wireIndex_) {
        candidates = wireIndex_->WiresAt(x, y);
    } else {
        for (const auto& o : objects_)
            if (!o->Deleted() && o->IsLink())
                candidates.push_back(static_cast<TLink*>(o.get()));
    }
    bool split = false;
    for (TLink* l : candidates) {
        if (l->Deleted() || l == except || !l->PassesThrough(x, y))
            continue;
        bool shown = l->Visible();
        TLink* a = NewWire(l->X1(), l->Y1(), x, y, l->ChainName(), l->ChainNumber());
        TLink* b = NewWire(x, y, l->X2(), l->Y2(), l->ChainName(), l->ChainNumber());
        a->TEntity::SetName(l->Name());
        b->TEntity::SetName(l->Name());
        a->SetCustomColor(l->CustomColor());
        b->SetCustomColor(l->CustomColor());
        DeleteObject(l);
        if (shown) {
            a->Show();
            b->Show();
        }
        split = true;
    }
    return split;
}

// Splits a wire wherever a pin tip or the end of another wire lies on it.
void TScheme::SplitWireAtPoints(TLink* wire) {
    std::vector<std::pair<int, int>> places;
    if (wireIndex_) {
        places = wireIndex_->PlacesOn(wire);
    } else {
        for (const auto& o : objects_) {
            if (o->Deleted() || o.get() == wire)
                continue;
            if (o->IsLink()) {
                auto* l = static_cast<TLink*>(o.get());
                if (wire->PassesThrough(l->X1(), l->Y1()))
                    places.push_back({l->X1(), l->Y1()});
                if (wire->PassesThrough(l->X2(), l->Y2()))
                    places.push_back({l->X2(), l->Y2()});
            } else if (auto* e = dynamic_cast<TElement*>(o.get())) {
                for (int i = 0; i < e->PinCount(); ++i)
                    if (wire->PassesThrough(e->Pin(i)->TipX(), e->Pin(i)->TipY()))
                        places.push_back({e->Pin(i)->TipX(), e->Pin(i)->TipY()});
            }
        }
    }
    // Each split leaves the piece that holds the remaining places.
    std::vector<TLink*> pieces{wire};
    for (auto [x, y] : places)
        for (TLink* piece : std::vector<TLink*>(pieces))
            if (!piece->Deleted() && piece->PassesThrough(x, y)) {
                std::size_t before = objects_.size();
                SplitWiresAt(x, y, nullptr);
                for (std::size_t i = before; i < objects_.size(); ++i)
                    pieces.push_back(static_cast<TLink*>(objects_[i].get()));
                break;
            }
}

TLink* TScheme::CreateWire(int x1, int y1, int x2, int y2) { return AddWireSegment(x1, y1, x2, y2); }

TLink* TScheme::AddWireSegment(int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2)
        return nullptr;
    undo_->BeginGroup();
    std::size_t before = objects_.size();
    TLink* wire;
    {
        NetsSuspended suspended(this);
        wire = NewWire(x1, y1, x2, y2, AnsiString(), 0);
        SplitWiresAt(x1, y1, wire);
        SplitWiresAt(x2, y2, wire);
        SplitWireAtPoints(wire);
    }
    std::vector<TEntity*> touched;
    for (std::size_t i = before; i < objects_.size(); ++i)
        if (!objects_[i]->Deleted())
            touched.push_back(objects_[i].get());
    if (!JoinOrWithdraw(touched))
        return nullptr;
    // A segment drawn along a wire would lie on it twice, and two wires over
    // one another cancel out on the sheet: they become one wire in the
    // segment's own step, so that undoing it takes back the cut as well.
    std::vector<TEntity*> drawn;
    for (std::size_t i = before; i < objects_.size(); ++i)
        if (!objects_[i]->Deleted() && objects_[i]->IsLink())
            drawn.push_back(objects_[i].get());
    if (!MergeOverlappingWires(drawn))
        return nullptr;
    SetModified(true);
    // A wire cut by the points on it answers with its first piece.
    if (!wire->Deleted())
        return wire;
    TLink* any = nullptr;
    for (std::size_t i = before; i < objects_.size(); ++i) {
        if (objects_[i]->Deleted() || !objects_[i]->IsLink())
            continue;
        auto* l = static_cast<TLink*>(objects_[i].get());
        if (l->HasEnd(x1, y1))
            return l;
        if (!any)
            any = l;
    }
    return any;
}

bool TScheme::JoinOrWithdraw(const std::vector<TEntity*>& touched) {
    if (Rebuild(JoinMode::Join, touched))
        return true;
    // The user would not join two named chains: nothing of what brought them
    // together stays.
    if (!undo_->Withdraw())
        RebuildNets();
    return false;
}

bool TScheme::AttachElement(TEntity* object) {
    if (!object || object->Deleted())
        return true;
    std::size_t before = objects_.size();
    {
        NetsSuspended suspended(this);
        if (object->IsLink()) {
            auto* l = static_cast<TLink*>(object);
            SplitWiresAt(l->X1(), l->Y1(), l);
            SplitWiresAt(l->X2(), l->Y2(), l);
            SplitWireAtPoints(l);
        } else if (auto* e = dynamic_cast<TElement*>(object)) {
            for (int i = 0; i < e->PinCount(); ++i)
                SplitWiresAt(e->Pin(i)->TipX(), e->Pin(i)->TipY(), nullptr);
        }
    }
    std::vector<TEntity*> touched{object};
    for (std::size_t i = before; i < objects_.size(); ++i)
        if (!objects_[i]->Deleted())
            touched.push_back(objects_[i].get());
    return JoinOrWithdraw(touched);
}

std::vector<AnsiString> TScheme::FollowPins(TElement* element, const std::vector<TPinTip>& before) {
    if (!element)
        return {};
    // Where each old tip goes: the tip of the first pin of its name and
    // direction not taken yet; a tip whose pin is gone gets a place later.
    struct Way {
        const TPinTip* from;
        bool kept = false;
        int x = 0, y = 0;
        bool joined = false;
    };
    std::vector<Way> ways;
    std::vector<bool> taken(std::size_t(element->PinCount()), false);
    for (const TPinTip& t : before) {
        Way w{&t, false, t.X, t.Y, false};
        for (int i = 0; i < element->PinCount(); ++i) {
            TInOut* p = element->Pin(i);
            if (taken[std::size_t(i)] || p->Direction() != t.Direction || p->Name() != t.Name)
                continue;
            taken[std::size_t(i)] = true;
            w.kept = true;
            w.x = p->TipX();
            w.y = p->TipY();
            break;
        }
        ways.push_back(w);
    }
    auto wayAt = [&](int x, int y) -> Way* {
        for (Way& w : ways)
            if (w.from->X == x && w.from->Y == y)
                return &w;
        return nullptr;
    };

    // What lies on the old tips, and every other place where something would
    // join: pin tips and wire ends that stay.
    struct Ends {
        TLink* link;
        Way* first;
        Way* second;
    };
    std::vector<Ends> links;
    std::vector<std::pair<TDriver*, Way*>> drivers;
    std::unordered_set<uint64_t> occupied;
    for (const auto& o : objects_) {
        if (o->Deleted() || o.get() == element || o->IsPoint())
            continue;
        if (o->IsLink()) {
            auto* l = static_cast<TLink*>(o.get());
            Way* a = wayAt(l->X1(), l->Y1());
            Way* b = wayAt(l->X2(), l->Y2());
            if (a || b)
                links.push_back({l, a, b});
            if (!a)
                occupied.insert(Key(l->X1(), l->Y1()));
            if (!b)
                occupied.insert(Key(l->X2(), l->Y2()));
            for (Way* w : {a, b})
                if (w)
                    w->joined = true;
            continue;
        }
        auto* e = dynamic_cast<TElement*>(o.get());
        if (!e)
            continue;
        if (e->IsDriver()) {
            TInOut* t = static_cast<TDriver*>(e)->Terminal();
            if (Way* w = t ? wayAt(t->TipX(), t->TipY()) : nullptr) {
                drivers.push_back({static_cast<TDriver*>(e), w});
                w->joined = true;
                continue;
            }
        }
        for (int i = 0; i < e->PinCount(); ++i)
            occupied.insert(Key(e->Pin(i)->TipX(), e->Pin(i)->TipY()));
    }
    for (int i = 0; i < element->PinCount(); ++i)
        occupied.insert(Key(element->Pin(i)->TipX(), element->Pin(i)->TipY()));

    // What was joined to a gone pin goes outwards from its old tip, away from
    // the element, to the first place where it joins nothing.
    // (Its own wire may pass there: the wire only gets shorter.)
    auto crossed = [&](int x, int y, const Way* own) {
        for (const auto& o : objects_) {
            if (o->Deleted() || !o->IsLink())
                continue;
            auto* l = static_cast<TLink*>(o.get());
            if (l->PassesThrough(x, y) && wayAt(l->X1(), l->Y1()) != own && wayAt(l->X2(), l->Y2()) != own)
                return true;
        }
        return false;
    };
    std::vector<AnsiString> lost;
    const int middle = element->GetX() + element->GetWidth() / 2;
    for (Way& w : ways) {
        if (w.kept || !w.joined)
            continue;
        const int step = w.from->X < middle ? -10 : 10;
        for (int tries = 0; tries < 1000 && (occupied.count(Key(w.x, w.y)) || crossed(w.x, w.y, &w)); ++tries)
            w.x += step;
        occupied.insert(Key(w.x, w.y));
        lost.push_back(w.from->Name);
    }

    bool moved = false;
    for (const Ends& e : links) {
        const int x1 = e.first ? e.first->x : e.link->X1();
        const int y1 = e.first ? e.first->y : e.link->Y1();
        const int x2 = e.second ? e.second->x : e.link->X2();
        const int y2 = e.second ? e.second->y : e.link->Y2();
        moved = moved || x1 != e.link->X1() || y1 != e.link->Y1() || x2 != e.link->X2() || y2 != e.link->Y2();
        e.link->SetEnds(x1, y1, x2, y2);
    }
    for (auto [d, w] : drivers) {
        const int dx = w->x - w->from->X;
        const int dy = w->y - w->from->Y;
        moved = moved || dx != 0 || dy != 0;
        d->Move(dx, dy);
    }
    if (moved) {
        SetModified(true);
        RebuildNets();
    }
    return lost;
}

bool TScheme::MergeChainsOfPins(TEntity* object) {
    return !object || object->Deleted() || JoinOrWithdraw({object});
}

bool TScheme::ConnectSelection() {
    std::vector<TEntity*> moved = selection_;
    for (auto [l, ends] : followers_)
        moved.push_back(l);
    followers_.clear();
    for (TEntity* o : selection_)
        if (o->Visible()) {
            o->Hide();
            o->Show();
        }
    std::size_t before = objects_.size();
    {
        NetsSuspended suspended(this);
        // Many objects test many places: the wires and places are indexed once.
        WireIndex index(this);
        for (TEntity* o : moved) {
            if (o->Deleted())
                continue;
            if (o->IsLink()) {
                auto* l = static_cast<TLink*>(o);
                SplitWiresAt(l->X1(), l->Y1(), l);
                SplitWiresAt(l->X2(), l->Y2(), l);
                if (!l->Deleted())
                    SplitWireAtPoints(l);
            } else if (auto* e = dynamic_cast<TElement*>(o)) {
                for (int i = 0; i < e->PinCount(); ++i)
                    SplitWiresAt(e->Pin(i)->TipX(), e->Pin(i)->TipY(), nullptr);
            }
        }
    }
    for (std::size_t i = before; i < objects_.size(); ++i)
        if (!objects_[i]->Deleted())
            moved.push_back(objects_[i].get());
    std::erase_if(moved, [](TEntity* o) { return o->Deleted(); });
    return JoinOrWithdraw(moved);
}

void TScheme::RemoveZeroLengthLinks() {
    bool removed = false;
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsLink() && static_cast<TLink*>(o.get())->IsZeroLength()) {
            DeleteObject(o.get());
            removed = true;
        }
    if (removed) {
        RebuildNets();
        SetModified(true);
    }
}

bool TScheme::MergeOverlappingWires(const std::vector<TEntity*>& among) {
    // Straight wires on one line whose spans overlap become one wire, cut
    // again wherever a pin or another wire's end lies on it.
    struct Span {
        TLink* link;
        int from, to;
    };
    std::unordered_map<uint64_t, std::vector<Span>> lines;
    for (const auto& o : objects_) {
        if (o->Deleted() || !o->IsLink())
            continue;
        auto* l = static_cast<TLink*>(o.get());
        if (l->IsZeroLength())
            continue;
        if (l->Y1() == l->Y2())
            lines[Key(0, l->Y1())].push_back({l, std::min(l->X1(), l->X2()), std::max(l->X1(), l->X2())});
        else if (l->X1() == l->X2())
            lines[Key(1, l->X1())].push_back({l, std::min(l->Y1(), l->Y2()), std::max(l->Y1(), l->Y2())});
    }
    std::vector<std::vector<Span>> clusters;
    for (auto& [key, spans] : lines) {
        if (spans.size() < 2)
            continue;
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
            return a.from != b.from ? a.from < b.from : a.link->Id < b.link->Id;
        });
        std::vector<Span> cluster{spans[0]};
        int end = spans[0].to;
        for (std::size_t i = 1; i <= spans.size(); ++i) {
            if (i < spans.size() && spans[i].from < end) {
                cluster.push_back(spans[i]);
                end = std::max(end, spans[i].to);
                continue;
            }
            const bool concerned = among.empty() || std::any_of(cluster.begin(), cluster.end(), [&](const Span& c) {
                                       return std::find(among.begin(), among.end(), c.link) != among.end();
                                   });
            if (cluster.size() > 1 && concerned)
                clusters.push_back(cluster);
            if (i < spans.size()) {
                cluster = {spans[i]};
                end = spans[i].to;
            }
        }
    }
    if (clusters.empty())
        return true;
    std::vector<TEntity*> made;
    {
        NetsSuspended suspended(this);
        for (auto& cluster : clusters) {
            TLink* first = cluster[0].link;
            for (const Span& s : cluster)
                if (s.link->Id < first->Id)
                    first = s.link;
            bool horizontal = first->Y1() == first->Y2();
            int line = horizontal ? first->Y1() : first->X1();
            int from = cluster[0].from, to = cluster[0].to;
            for (const Span& s : cluster) {
                from = std::min(from, s.from);
                to = std::max(to, s.to);
            }
            std::vector<int> cuts{from, to};
            auto consider = [&](int x, int y) {
                int along = horizontal ? x : y, across = horizontal ? y : x;
                if (across == line && along > from && along < to)
                    cuts.push_back(along);
            };
            for (const auto& o : objects_) {
                if (o->Deleted())
                    continue;
                if (o->IsLink()) {
                    if (std::any_of(cluster.begin(), cluster.end(), [&](const Span& s) { return s.link == o.get(); }))
                        continue;
                    auto* l = static_cast<TLink*>(o.get());
                    consider(l->X1(), l->Y1());
                    consider(l->X2(), l->Y2());
                } else if (auto* e = dynamic_cast<TElement*>(o.get())) {
                    for (int i = 0; i < e->PinCount(); ++i)
                        consider(e->Pin(i)->TipX(), e->Pin(i)->TipY());
                }
            }
            std::sort(cuts.begin(), cuts.end());
            cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
            AnsiString chain = first->ChainName();
            int number = first->ChainNumber();
            bool shown = first->Visible();
            for (const Span& s : cluster)
                DeleteObject(s.link);
            for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
                TLink* w = horizontal ? NewWire(cuts[i], line, cuts[i + 1], line, chain, number)
                                      : NewWire(line, cuts[i], line, cuts[i + 1], chain, number);
                if (shown)
                    w->Show();
                made.push_back(w);
            }
        }
    }
    if (!JoinOrWithdraw(made))
        return false;
    SetModified(true);
    return true;
}
