#pragma once
// TExWindowHook lets its owner see every message of one windowed control,
// before and after the control handles it, by wrapping the control's
// WindowProc. Several hooks on one control share one wrapper (TControlHook):
// the hook attached last is asked first, and a BeforeMessage that sets
// Handled keeps the message from the control (WM_DESTROY always passes).
// Detaching the last hook puts the control's own procedure back, unless
// someone wrapped the control after the hook: that wrapper stays in place.

#include <functional>
#include <vector>

#include "platform/gui/Controls.h"

class TExWindowHook;
class TControlHook;

using THookMessageEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

class TExWindowHook : public TComponent {
public:
    explicit TExWindowHook(TComponent* owner);
    ~TExWindowHook() override;

    bool Active() const { return active_; }
    void SetActive(bool v);
    // The watched control; setting another detaches and attaches again.
    TWinControl* WinControl() const;
    void SetWinControl(TWinControl* control);
    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

    void HookControl();
    void UnhookControl();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TControlHook;
    TControlHook* controlHook_ = nullptr;
    TWinControl* control_ = nullptr;
    bool active_ = true;
};

// The number of controls currently wrapped (for tests and diagnostics).
int HookedControlCount();
