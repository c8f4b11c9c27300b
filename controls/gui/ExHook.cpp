#include "controls/gui/ExHook.h"

#include <algorithm>
#include <memory>

// What the procedure installed on a control knows: the control hook that
// handles its messages (null once detached) and the procedure it replaced. A
// wrapper installed later by someone else may keep calling it after the
// hook has gone; it then passes every message on unchanged.
struct ProcState {
    TControlHook* owner = nullptr;
    TWndMethod replaced;
    TWinControl* control = nullptr;
};

// The procedure installed on the control.
struct HookProc {
    std::shared_ptr<ProcState> state;
    void operator()(TMessage& m) const;
};

// One wrapper of a control's WindowProc, shared by every hook on it.
class TControlHook : public TObject {
public:
    explicit TControlHook(TWinControl* control) : control_(control) {}
    ~TControlHook() override;

    TWinControl* Control() const { return control_; }
    void Attach(TExWindowHook* hook);
    void Detach(TExWindowHook* hook);
    bool Empty() const { return hooks_.empty(); }
    void Subclass();
    void Restore();
    // The control is going away: its procedure is gone with it.
    void ForgetControl() {
        if (state_) state_->owner = nullptr;
        state_.reset();
        control_ = nullptr;
    }
    void HandleMessage(TMessage& m);

private:
    TWinControl* control_;
    std::shared_ptr<ProcState> state_;
    std::vector<TExWindowHook*> hooks_;
    bool destroying_ = false;
};

void HookProc::operator()(TMessage& m) const {
    if (state->owner) state->owner->HandleMessage(m);
    else if (state->replaced) state->replaced(m);
    else if (state->control) state->control->WndProc(m);
}

namespace {

// Every control hook of the process.
std::vector<std::unique_ptr<TControlHook>>& HookList() {
    static std::vector<std::unique_ptr<TControlHook>> list;
    return list;
}

bool InList(const TControlHook* h) {
    for (auto& p : HookList())
        if (p.get() == h) return true;
    return false;
}

TControlHook* HookOf(TWinControl* control) {
    for (auto& p : HookList())
        if (p->Control() == control) return p.get();
    auto hook = std::make_unique<TControlHook>(control);
    TControlHook* raw = hook.get();
    HookList().push_back(std::move(hook));
    return raw;
}

// Frees a control hook that has no hooks left, once the current message is done.
void PostRelease(TControlHook* h) {
    PostCall([h] {
        if (!InList(h) || !h->Empty()) return;
        auto& list = HookList();
        auto it = std::find_if(list.begin(), list.end(), [h](auto& p) { return p.get() == h; });
        std::unique_ptr<TControlHook> owned = std::move(*it);
        list.erase(it);
    });
}

} // namespace

int HookedControlCount() { return int(HookList().size()); }

// ---- TControlHook -----------------------------------------------------------------

TControlHook::~TControlHook() {
    destroying_ = true;
    while (!hooks_.empty()) {
        TExWindowHook* h = hooks_.back();
        Detach(h);
        h->controlHook_ = nullptr;
    }
    Restore();
    control_ = nullptr;
}

void TControlHook::Attach(TExWindowHook* hook) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
    hook->controlHook_ = this;
    Subclass();
}

void TControlHook::Detach(TExWindowHook* hook) {
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
    if (hooks_.empty()) Restore();
}

void TControlHook::Subclass() {
    if (!control_ || destroying_ || control_->IsDestroying() || (control_->ComponentState() & csDesigning)) return;
    if (auto* current = control_->WindowProc.target<HookProc>(); current && state_ && current->state == state_) return;
    if (state_) state_->owner = nullptr; // an older wrapper of ours, now under someone else's
    state_ = std::make_shared<ProcState>();
    state_->owner = this;
    state_->replaced = control_->WindowProc;
    state_->control = control_;
    control_->WindowProc = HookProc{state_};
}

void TControlHook::Restore() {
    if (!state_) return;
    if (control_ && !control_->IsDestroying()) {
        // Only our own procedure is replaced; a later wrapper stays in place
        // and its calls pass through to the procedure we replaced.
        if (auto* current = control_->WindowProc.target<HookProc>(); current && current->state == state_)
            control_->WindowProc = state_->replaced;
    }
    state_->owner = nullptr;
    state_.reset();
}

void TControlHook::HandleMessage(TMessage& m) {
    bool handled = false;
    auto ask = [&](bool before) {
        if (hooks_.empty() || !control_ || destroying_ || control_->IsDestroying()) return;
        // A handler may detach hooks: walk a copy, last attached first.
        std::vector<TExWindowHook*> hooks = hooks_;
        for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it) {
            if (std::find(hooks_.begin(), hooks_.end(), *it) == hooks_.end()) continue;
            const THookMessageEvent& e = before ? (*it)->BeforeMessage : (*it)->AfterMessage;
            if (e) e(*it, m, handled);
        }
    };
    if (m.Msg != WM_QUIT) ask(true);
    if (!handled || m.Msg == WM_DESTROY) {
        std::shared_ptr<ProcState> state = state_; // the hook list may change while it runs
        if (state && state->replaced) state->replaced(m);
        else if (control_) control_->WndProc(m);
        handled = false;
        ask(false);
    }
    if (m.Msg == WM_DESTROY) {
        TWinControl* c = control_;
        Restore();
        // A window that is made again is watched again.
        if (c && !destroying_ && !c->IsDestroying()) {
            PostCall([this, alive = c->Alive()] {
                if (!alive.expired() && InList(this) && !Empty()) Subclass();
            });
        }
    }
}

// ---- TExWindowHook -----------------------------------------------------------------

TExWindowHook::TExWindowHook(TComponent* owner) : TComponent(owner) {}

TExWindowHook::~TExWindowHook() {
    Destroying();
    active_ = false;
    UnhookControl();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = nullptr;
}

TWinControl* TExWindowHook::WinControl() const { return controlHook_ ? controlHook_->Control() : control_; }

void TExWindowHook::SetActive(bool v) {
    if (v == active_) return;
    if (v) HookControl();
    else UnhookControl();
}

void TExWindowHook::HookControl() {
    if (!control_ || IsDestroying()) return;
    HookOf(control_)->Attach(this);
    active_ = true;
}

void TExWindowHook::UnhookControl() {
    if (controlHook_) {
        TControlHook* h = controlHook_;
        controlHook_ = nullptr;
        h->Detach(this);
        if (h->Empty()) PostRelease(h);
    }
    active_ = false;
}

void TExWindowHook::SetWinControl(TWinControl* control) {
    if (control == control_) return;
    bool wasActive = active_;
    UnhookControl();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = control;
    if (control_) control_->FreeNotification(this);
    if (wasActive) HookControl();
    else active_ = false;
}

void TExWindowHook::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == control_) {
        bool wasActive = active_;
        // The control is going: forget it without touching its procedure.
        if (controlHook_) {
            TControlHook* h = controlHook_;
            controlHook_ = nullptr;
            h->Detach(this);
            if (h->Empty()) {
                h->ForgetControl();
                PostRelease(h);
            }
        }
        control_ = nullptr;
        active_ = wasActive;
    } else if (component == Owner()) {
        SetWinControl(nullptr);
    }
}
