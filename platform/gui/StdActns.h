#pragma once
// The standard window actions of a multi-document frame: each arranges the
// frame's child windows and is enabled only while the frame holds a child
// (with no child there is nothing to arrange, so the command never sits
// enabled doing nothing). Handlers of their own (OnExecute, OnUpdate) take
// the place of the standard behaviour, as for any action.

#include "platform/gui/Actions.h"

class TForm;

class TWindowAction : public TAction {
public:
    explicit TWindowAction(TComponent* owner) : TAction(owner) {}
    // The frame whose children are arranged; null: the application's main form.
    TForm* Form = nullptr;
    // Enabled exactly while the frame is a multi-document frame with a child.
    bool Update() override;
    bool Execute() override;

protected:
    virtual void Arrange(TForm* frame) = 0;
    TForm* Frame() const;
};

class TWindowCascade : public TWindowAction {
public:
    explicit TWindowCascade(TComponent* owner) : TWindowAction(owner) {}

protected:
    void Arrange(TForm* frame) override;
};

class TWindowTileHorizontal : public TWindowAction {
public:
    explicit TWindowTileHorizontal(TComponent* owner) : TWindowAction(owner) {}

protected:
    void Arrange(TForm* frame) override;
};

class TWindowTileVertical : public TWindowAction {
public:
    explicit TWindowTileVertical(TComponent* owner) : TWindowAction(owner) {}

protected:
    void Arrange(TForm* frame) override;
};

class TWindowMinimizeAll : public TWindowAction {
public:
    explicit TWindowMinimizeAll(TComponent* owner) : TWindowAction(owner) {}

protected:
    void Arrange(TForm* frame) override;
};

class TWindowArrange : public TWindowAction {
public:
    explicit TWindowArrange(TComponent* owner) : TWindowAction(owner) {}

protected:
    void Arrange(TForm* frame) override;
};
