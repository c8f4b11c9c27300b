#include "document/Scheme.h"

#include <algorithm>
#include <filesystem>

#include "document/UndoList.h"
#include "model/Painter.h"
#include "model/SchemeSettings.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/UiPort.h"

int SnapToGrid(int value, int step) { return step == 0 ? value : value / step * step; }

namespace {
// A symbol's scheme is a document of its own, read from the symbol file.
[[maybe_unused]] const bool symbolSchemesInstalled = [] {
    ModelHooks().SymbolSchemes = [](const AnsiString& fileName, int depth) -> std::unique_ptr<ISchemeContext> {
        auto inner = std::make_unique<TScheme>();
        inner->NestingDepth = depth;
        inner->SetFileName(fileName);
        if (!inner->LoadFromFile())
            return nullptr;
        return inner;
    };
    return true;
}();
} // namespace

TScheme::TScheme(IEntityOwner* window) : window_(window), undo_(std::make_unique<TUndoList>(this)) {
    if (window_)
        window_->ShowZoom(zoom_);
}

TScheme::TScheme() : undo_(std::make_unique<TUndoList>(this)) { expandSymbols_ = true; }

TScheme::~TScheme() {
    ClearExpansion();
    if (!autosaveWritten_.IsEmpty()) {
        std::error_code ec;
        std::filesystem::remove(ToFsPath(autosaveWritten_), ec);
    }
}

TCanvas* TScheme::GetCanvas() { return window_ ? window_->GetCanvas() : nullptr; }

// ---- file name and flags ------------------------------------------------------------

void TScheme::SetFileName(const AnsiString& name) {
    ++changes_;
    fileName_ = name;
    isSymbol_ = name.Pos(".tvy") > 0;
    if (!name.IsEmpty()) recoveredFrom_ = AnsiString();
    UpdateCaption();
}

void TScheme::SetRecoveredFrom(const AnsiString& copy) {
    recoveredFrom_ = copy;
    UpdateCaption();
}

AnsiString TScheme::Caption() const {
    AnsiString name = fileName_;
    if (name.IsEmpty() && !recoveredFrom_.IsEmpty()) name = recoveredFrom_ + " (восстановленная копия)"_a;
    return modified_ ? name + "*" : name;
}

AnsiString TScheme::GetName() const { return ExtractFileName(fileName_); }

void TScheme::SetModified(bool modified) {
    ++changes_;
    modified_ = modified;
    UpdateCaption();
}

void TScheme::UpdateCaption() {
    if (window_)
        window_->SetCaption(Caption());
}

void TScheme::SetScale(int percent) {
    if (percent < 25 || percent > 400)
        return;
    zoom_ = percent;
    if (window_)
        window_->ShowZoom(percent);
}

// ---- adding and removing ---------------------------------------------------------------

void TScheme::AddNew(TEntity* object, bool withUndo) {
    object->Id = nextId_++;
    objects_.emplace_back(object);
    if (withUndo) {
        undo_->AddInsert(object);
        SetModified(true);
    }
    RebuildNets();
}

void TScheme::InsertNew(TEntity* object) {
    undo_->BeginGroup();
    AddNew(object, true);
}

void TScheme::AddObject(TEntity* object) {
    if (object)
        InsertNew(object);
}

void TScheme::DeleteObject(TEntity* object) {
    if (!object || object->Deleted())
        return;
    object->Hide();
    object->SetSelected(false);
    object->Pasted = false;
    object->SetDeleted(true);
    std::erase(selection_, object);
    undo_->AddDelete(object);
}

void TScheme::DeleteSelected() {
    if (selection_.empty())
        return;
    undo_->BeginGroup();
    std::vector<TEntity*> doomed = selection_;
    for (TEntity* o : doomed)
        DeleteObject(o);
    selection_.clear();
    followers_.clear();
    RebuildNets();
    SetModified(true);
}

void TScheme::Clear() {
    ClearExpansion();
    for (auto& o : objects_)
        o->Hide();
    for (auto& p : points_)
        p.Hide();
    selection_.clear();
    followers_.clear();
    order_.clear();
    driverWalk_.clear();
    nets_.clear();
    chains_.clear();
    points_.clear();
    objects_.clear();
    undo_->Clear();
    chainCounter_ = 0;
    nextId_ = 1;
    elementCursor_ = deviceCursor_ = driverCursor_ = varCursor_ = orderCursor_ = 0;
}

void TScheme::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0 && rebuildPending_)
        RebuildNets();
}

std::vector<TEntity*> TScheme::LiveObjects() const {
    std::vector<TEntity*> out;
    out.reserve(objects_.size());
    for (const auto& o : objects_)
        if (!o->Deleted())
            out.push_back(o.get());
    return out;
}

// ---- iteration ---------------------------------------------------------------------------

TEntity* TScheme::NextLive(std::size_t& cursor, bool devicesOnly) const {
    while (cursor < objects_.size()) {
        TEntity* o = objects_[cursor++].get();
        if (!o->Deleted() && (!devicesOnly || o->IsDevice()))
            return o;
    }
    return nullptr;
}

TEntity* TScheme::FirstElement() {
    elementCursor_ = 0;
    return NextElement();
}

TEntity* TScheme::NextElement() { return NextLive(elementCursor_, false); }

TElement* TScheme::FirstDevice() {
    deviceCursor_ = 0;
    return NextDevice();
}

TElement* TScheme::NextDevice() { return static_cast<TElement*>(NextLive(deviceCursor_, true)); }

TVarDriver* TScheme::NextVarDriver(uint8_t& cls, bool restart) {
    if (restart)
        varCursor_ = 0;
    while (varCursor_ < objects_.size()) {
        TEntity* o = objects_[varCursor_++].get();
        if (o->Deleted() || o->Kind() != TEntityKind::VarDriver)
            continue;
        auto* v = static_cast<TVarDriver*>(o);
        bool in = false, out = false;
        if (TNet* net = v->Terminal() ? v->Terminal()->Net() : nullptr)
            for (TInOut* p : net->Pins)
                if (p->Element()->IsDevice())
                    (p->Direction() == 0 ? in : out) = true;
        cls = in && out ? 3 : out ? 1 : in ? 0 : 2;
        return v;
    }
    return nullptr;
}

// ---- numbering -------------------------------------------------------------------------

int TScheme::CountDevices() const {
    int n = 0;
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice())
            ++n;
    return n;
}

TElement* TScheme::FindDeviceByNumber(int number) const {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice() && static_cast<TElement*>(o.get())->Number() == number)
            return static_cast<TElement*>(o.get());
    return nullptr;
}

int TScheme::CheckNumbers(int number) const {
    std::vector<int> numbers;
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice())
            numbers.push_back(static_cast<TElement*>(o.get())->Number());
    if (number != 0) {
        auto n = std::count(numbers.begin(), numbers.end(), number);
        return n == 1 ? 0 : n > 1 ? 2 : 1;
    }
    if (std::find(numbers.begin(), numbers.end(), 0) != numbers.end())
        return 3;
    const int count = int(numbers.size());
    std::vector<int> uses(std::size_t(count) + 1, 0);
    for (int n : numbers)
        if (n >= 1 && n <= count && ++uses[std::size_t(n)] > 1)
            return 2;
    for (int n = 1; n <= count; ++n)
        if (uses[std::size_t(n)] == 0)
            return 1;
    return 0;
}

bool TScheme::CheckNames() {
    std::vector<TElement*> devices;
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice())
            devices.push_back(static_cast<TElement*>(o.get()));
    std::stable_sort(devices.begin(), devices.end(),
                     [](TElement* a, TElement* b) { return AnsiCompareText(a->Name(), b->Name()) < 0; });
    for (std::size_t i = 1; i < devices.size(); ++i) {
        if (AnsiCompareText(devices[i - 1]->Name(), devices[i]->Name()) == 0) {
            AnsiString text = " В схеме "_a + fileName_ + " обнаружено более одного элемента с именем "_a +
                              devices[i]->Name();
            if (devices[i]->Number() != 0)
                text += " и номером "_a + IntToStr(devices[i]->Number());
            ShowMessage(text);
            return false;
        }
    }
    for (std::size_t i = 0; i < devices.size(); ++i)
        devices[i]->AssignNumber(int(i) + 1);
    if (!devices.empty())
        SetModified(true);
    return true;
}

bool TScheme::SetElementNumber(int number, TElement* element) {
    try {
        if (!element)
            return false;
        int others = 0;
        for (const auto& o : objects_)
            if (!o->Deleted() && o->IsDevice() && o.get() != element &&
                static_cast<TElement*>(o.get())->Number() == number)
                ++others;
        bool check = schemesettings::CheckOrder();
        if (check && others > 1) {
            ShowMessage("В схеме существует несколько элементов с номером "_a + IntToStr(number));
            return true;
        }
        element->AssignNumber(number);
        element->SetCustomColor(clNone);
        SetModified(true);
        if (check && others == 1)
            ShowMessage("Теперь в схеме существует несколько элементов с номером "_a + IntToStr(number));
        return true;
    } catch (const Exception&) {
        ShowMessage(Format("Ошибка в файле %s стр. %d"_a, AnsiString("Scheme"), __LINE__));
        return false;
    }
}

void TScheme::StartOrdering() {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice())
            o->SetCustomColor(schemesettings::OrderingColor());
}

void TScheme::AutoNameDevices(const AnsiString& prefix) {
    AnsiString p = prefix;
    if (p.IsEmpty()) {
        p = GetName();
        int dot = p.LastDelimiter(".");
        if (dot > 0)
            p = p.SubString(1, dot - 1);
    }
    std::vector<TElement*> devices;
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice())
            devices.push_back(static_cast<TElement*>(o.get()));
    std::stable_sort(devices.begin(), devices.end(), [](TElement* a, TElement* b) { return a->Number() < b->Number(); });
    for (std::size_t i = 0; i < devices.size(); ++i)
        devices[i]->SetName(p + IntToStr((long long)i + 1));
    if (!devices.empty())
        SetModified(true);
}

bool TScheme::ListDeviceNames(TStrings* list) const {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice())
            list->Add(o->Name());
    return true;
}

bool TScheme::HasDriverNamed(const AnsiString& name) const {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDriver() && o->Name() == name)
            return true;
    return false;
}

void TScheme::ListSelectedDriverNames(TStrings* list) const {
    list->Clear();
    for (TEntity* o : selection_)
        if (o->Kind() == TEntityKind::Driver && static_cast<TDriver*>(o)->GetDirection() != 2)
            list->Add(o->Name());
}

void TScheme::ListSignalUsers(TStrings* list, const AnsiString& name) const {
    list->Clear();
    for (const TNet& net : nets_) {
        if (std::find(net.Signals.begin(), net.Signals.end(), name) == net.Signals.end())
            continue;
        for (TInOut* p : net.Pins)
            if (p->Element()->IsDevice())
                list->Add(p->Element()->Name() + (p->Direction() == 0 ? "=In" : "=Out"));
    }
}

// ---- selection ----------------------------------------------------------------------------

void TScheme::AddToSelection(TEntity* object, bool selected) {
    if (!object)
        return;
    if (std::find(selection_.begin(), selection_.end(), object) == selection_.end())
        selection_.push_back(object);
    object->SetSelected(selected);
}

void TScheme::ClearSelection() {
    for (const auto& o : objects_) {
        o->Pasted = false;
        o->InRectMark = false;
    }
    for (TEntity* o : selection_)
        o->SetSelected(false);
    selection_.clear();
}

void TScheme::SelectAt(int x, int y, bool selected) {
    ClearSelection();
    for (const auto& o : objects_)
        if (!o->Deleted() && o->HitTest(x, y))
            AddToSelection(o.get(), selected);
}

void TScheme::SelectInRect(const TRect& rect, bool selected) {
    ClearSelection();
    for (const auto& o : objects_)
        if (!o->Deleted() && o->InRect(rect)) {
            o->InRectMark = true;
            AddToSelection(o.get(), selected);
        }
}

void TScheme::SelectDeviceByName(const AnsiString& name) {
    ClearSelection();
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice() && o->Name() == name) {
            AddToSelection(o.get(), true);
            return;
        }
}

void TScheme::FindAndSelectDevice(const AnsiString& name) {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice() && o->Name() == name) {
            ClearSelection();
            AddToSelection(o.get(), true);
            return;
        }
}

void TScheme::FindAndSelectDriver(const AnsiString& name) {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDriver() && o->Name() == name) {
            ClearSelection();
            AddToSelection(o.get(), true);
            return;
        }
}

bool TScheme::SelectionHasDriver() const {
    return std::any_of(selection_.begin(), selection_.end(), [](TEntity* o) { return o->IsDriver(); });
}

bool TScheme::SelectionHasEditable() const {
    return std::any_of(selection_.begin(), selection_.end(), [](TEntity* o) { return !o->IsLink() && !o->IsPoint(); });
}

void TScheme::GetSelectionBounds(TRect& rect) const {
    if (selection_.empty()) {
        rect = TRect();
        return;
    }
    int l = selection_[0]->GetX(), t = selection_[0]->GetY(), r = l, b = t;
    for (TEntity* o : selection_) {
        l = std::min(l, o->GetX());
        t = std::min(t, o->GetY());
        r = std::max(r, o->GetX());
        b = std::max(b, o->GetY());
    }
    rect = Rect(l, t, r + 20, b + 20);
}

int TScheme::HitTest(int x, int y) const {
    int result = 0;
    for (const auto& o : objects_)
        if (!o->Deleted() && o->HitTest(x, y)) {
            if (o->Selected())
                return 1;
            result = 2;
        }
    return result;
}

TElement* TScheme::DeviceAt(int x, int y) const {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDevice() && o->HitTest(x, y))
            return static_cast<TElement*>(o.get());
    return nullptr;
}

AnsiString TScheme::GetHintAt(int x, int y) const {
    for (const auto& o : objects_)
        if (!o->Deleted() && o->IsDriver() && o->HitTest(x, y))
            return static_cast<TDriver*>(o.get())->Hint();
    return AnsiString();
}

// ---- editing --------------------------------------------------------------------------

void TScheme::CommitSelection() {
    followers_.clear();
    std::vector<std::pair<int, int>> moving;
    for (TEntity* o : selection_) {
        o->CommitPosition(undo_.get());
        if (o->IsLink()) {
            auto* l = static_cast<TLink*>(o);
            moving.push_back({l->X1(), l->Y1()});
            moving.push_back({l->X2(), l->Y2()});
        } else if (auto* e = dynamic_cast<TElement*>(o)) {
            for (int i = 0; i < e->PinCount(); ++i)
                moving.push_back({e->Pin(i)->TipX(), e->Pin(i)->TipY()});
        }
    }
    if (moving.empty())
        return;
    std::sort(moving.begin(), moving.end());
    auto at = [&](int x, int y) { return std::binary_search(moving.begin(), moving.end(), std::make_pair(x, y)); };
    // Wires that end at a moving pin or wire end stretch with it.
    for (const auto& o : objects_) {
        if (o->Deleted() || !o->IsLink() || o->Selected())
            continue;
        auto* l = static_cast<TLink*>(o.get());
        int ends = (at(l->X1(), l->Y1()) ? 1 : 0) | (at(l->X2(), l->Y2()) ? 2 : 0);
        if (ends) {
            l->CommitPosition(undo_.get());
            followers_.push_back({l, ends});
        }
    }
}

void TScheme::MoveSelection(int dx, int dy) {
    if (dx == 0 && dy == 0)
        return;
    // Everything that moves is erased and drawn again through one painter:
    // first all of it off the sheet, then all of it at its new place.
    std::vector<TEntity*> moving(selection_.begin(), selection_.end());
    for (auto [l, ends] : followers_)
        moving.push_back(l);
    std::vector<TEntity*> shown;
    TCanvas* canvas = GetCanvas();
    std::unique_ptr<TPainter> painter;
    if (canvas)
        painter = std::make_unique<TPainter>(canvas, zoom_, TPaintMode::Invert);
    for (TEntity* o : moving)
        if (o->Visible()) {
            shown.push_back(o);
            if (painter)
                o->HideWith(*painter);
            else
                o->Hide();
        }
    for (TEntity* o : selection_)
        o->Move(dx, dy);
    for (auto [l, ends] : followers_)
        l->SetEnds(l->X1() + ((ends & 1) ? dx : 0), l->Y1() + ((ends & 1) ? dy : 0), l->X2() + ((ends & 2) ? dx : 0),
                   l->Y2() + ((ends & 2) ? dy : 0));
    for (TEntity* o : shown)
        if (painter)
            o->ShowWith(*painter);
        else
            o->Show();
}

void TScheme::FlipSelection() {
    // One undo step for the whole flip.
    undo_->BeginGroup();
    for (TEntity* o : selection_) {
        undo_->AddMirror(o);
        o->SetMirrored(!o->Mirrored());
    }
    if (!selection_.empty()) {
        RebuildNets();
        SetModified(true);
    }
}

void TScheme::EditSelectionProperties() {
    std::vector<TEntity*> items = selection_;
    for (TEntity* o : items) {
        if (o->Deleted())
            continue;
        if (o->Properties()) {
            SetModified(true);
            // Its joins are a step of their own: a refused union of named
            // chains takes back only what the new pins would have joined.
            undo_->BeginGroup();
            AttachElement(o);
        }
    }
}

// ---- drawing ---------------------------------------------------------------------------

void TScheme::Draw() {
    TCanvas* canvas = GetCanvas();
    if (!canvas)
        return;
    TPainter painter(canvas, zoom_, TPaintMode::Invert);
    for (const auto& o : objects_)
        if (!o->Deleted())
            o->DrawWith(painter);
    for (auto& p : points_)
        p.DrawWith(painter);
}

void TScheme::DrawTo(TCanvas* canvas, bool print, int zoom) {
    if (!canvas)
        return;
    TPainter painter(canvas, zoom, print ? TPaintMode::Print : TPaintMode::Normal);
    for (const auto& o : objects_)
        if (!o->Deleted())
            o->DrawNormal(painter);
    for (const auto& p : points_)
        if (p.IsJunction())
            p.DrawNormal(painter);
}

void TScheme::GetExtent(int& maxX, int& maxY) const {
    maxX = 0;
    maxY = 0;
    for (const auto& o : objects_) {
        if (o->Deleted())
            continue;
        if (o->IsLink()) {
            auto* l = static_cast<TLink*>(o.get());
            maxX = std::max({maxX, l->X1(), l->X2()});
            maxY = std::max({maxY, l->Y1(), l->Y2()});
        } else {
            maxX = std::max(maxX, o->GetX() + o->GetWidth());
            maxY = std::max(maxY, o->GetY() + o->GetHeight());
        }
    }
}

// ---- debug signals ----------------------------------------------------------------------

void TScheme::CollectDebug(TStrings* inputs, TStrings* outputs, bool byY) {
    std::vector<TEntity*> items;
    for (TEntity* o : selection_)
        if (o->IsDriver() && !o->Deleted())
            items.push_back(o);
    if (byY)
        std::stable_sort(items.begin(), items.end(), [](TEntity* a, TEntity* b) { return a->GetY() < b->GetY(); });
    for (TEntity* o : items) {
        int direction;
        if (o->Kind() == TEntityKind::VarDriver) {
            IFrameServices* frame = ModelHooks().Frame;
            direction = frame ? frame->AskSignalDirection(o->Name()) : -1;
        } else {
            direction = static_cast<TDriver*>(o)->GetDirection();
        }
        if (direction == 0)
            inputs->Add(o->Name());
        else if (direction == 1)
            outputs->Add(o->Name());
    }
}

void TScheme::CollectDebugSignals(TStrings* inputs, TStrings* outputs) { CollectDebug(inputs, outputs, false); }
void TScheme::CollectDebugSignalsByY(TStrings* inputs, TStrings* outputs) { CollectDebug(inputs, outputs, true); }
void TScheme::CollectDebugSignalsBySelection(TStrings* inputs, TStrings* outputs) {
    CollectDebug(inputs, outputs, false);
}
