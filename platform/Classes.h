#pragma once
// The object model the program is written in: TObject, TPersistent and
// TComponent with ownership and free notification, and the event types.
//
// Property convention of this layer: a property with side effects is a getter
// X() and a setter SetX(v); a plain value without side effects may be a public
// field. Events are public std::function fields named OnX, empty when unset.

#include <functional>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Exceptions.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    // Runs while the object is still whole, before its destructors: owners
    // call it before they delete what they own, and so does Free.
    virtual void BeforeDestruction() {}
};

// Frees an object the way its owner would: BeforeDestruction, then delete.
inline void Free(TObject* obj) {
    if (!obj) return;
    obj->BeforeDestruction();
    delete obj;
}

template <class T>
void FreeAndNil(T*& obj) {
    T* p = obj;
    obj = nullptr;
    Free(p);
}

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
    // Copies the state of source; the default refuses, as the old framework did.
    virtual void Assign(TPersistent* source);
};

enum TComponentStateFlag : unsigned {
    csLoading = 1,
    csReading = 2,
    csWriting = 4,
    csDestroying = 8,
    csDesigning = 16,
};
using TComponentState = unsigned;

enum TOperation { opInsert, opRemove };

// A component is owned by another and destroyed with it. Components that hold
// pointers to others ask for a free notification and clear the pointer in
// Notification(opRemove).
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& name) { name_ = name; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const AnsiString& name) const;
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    void DestroyComponents();

    TComponentState ComponentState() const { return state_; }
    bool IsDestroying() const { return state_ & csDestroying; }
    bool IsLoading() const { return state_ & csLoading; }
    // Marks the component as being set up; Loaded() runs when EndLoading is called.
    void BeginLoading() { state_ |= csLoading; }
    void EndLoading();

    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

    int Tag = 0;

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void Loaded() {}
    void SetState(TComponentState s) { state_ = s; }
    // Called first by a destructor of a derived class that needs the
    // destroying flag raised before its own members go.
    void Destroying() { state_ |= csDestroying; }

private:
    TComponent* owner_ = nullptr;
    AnsiString name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    TComponentState state_ = 0;
};
