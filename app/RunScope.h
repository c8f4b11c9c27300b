#pragma once
// Holds the frame disabled while a translation runs and hides the progress
// window on every way out of it, also when the run ends early.

#include "translator/TranslatorHost.h"

class TRunScope {
public:
    TRunScope() = default;
    ~TRunScope() { TranslatorHooks().ProgressWindow().HideProgress(); }
    TRunScope(const TRunScope&) = delete;
    TRunScope& operator=(const TRunScope&) = delete;

private:
    TFrameDisabledScope disabled_;
};
