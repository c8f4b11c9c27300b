#include "translator/TranslatorHost.h"

const char* const TTranslatorOptions::DoTextLogicFile = "DoTextLogicFile";
const char* const TTranslatorOptions::SortBits = "SortBits";
const char* const TTranslatorOptions::CheckBit = "CheckBit";
const char* const TTranslatorOptions::CheckSchemes = "CheckSchemes";

TTranslatorHooks& TranslatorHooks() {
    static TTranslatorHooks hooks;
    return hooks;
}

bool TTranslatorOptions::Get(const AnsiString& name) const {
    if (Query)
        return Query(name);
    auto it = values_.find(name);
    return it != values_.end() && it->second;
}

TTranslatorOptions& TranslatorOptions() {
    static TTranslatorOptions options;
    return options;
}

namespace {
int& DisableDepth() {
    static int depth = 0;
    return depth;
}
} // namespace

TFrameDisabledScope::TFrameDisabledScope() {
    if (DisableDepth()++ == 0)
        if (ITranslatorFrame* frame = TranslatorHooks().Frame)
            frame->SetFrameEnabled(false);
}

TFrameDisabledScope::~TFrameDisabledScope() {
    if (--DisableDepth() == 0)
        if (ITranslatorFrame* frame = TranslatorHooks().Frame)
            frame->SetFrameEnabled(true);
}

bool TFrameDisabledScope::FrameDisabled() { return DisableDepth() > 0; }
