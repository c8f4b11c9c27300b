#include "controls/gui/Exprgrss.h"

#include <vector>

#include "platform/gui/ComCtrls.h"

namespace {

constexpr int kMaxPropName = 63;

struct TProgressProp {
    TClassRef controlClass;
    AnsiString maxProp, minProp, progressProp;
};

enum class Which { kMax, kMin, kValue };

void PublishProgressBar() {
    static bool done = false;
    if (done) return;
    done = true;
    PublishProperties<TProgressBar>({
        IntegerProperty<TProgressBar>("Max", [](TProgressBar& b) { return b.Max(); },
                                      [](TProgressBar& b, int v) { b.SetMax(v); }),
        IntegerProperty<TProgressBar>("Min", [](TProgressBar& b) { return b.Min(); },
                                      [](TProgressBar& b, int v) { b.SetMin(v); }),
        IntegerProperty<TProgressBar>("Position", [](TProgressBar& b) { return b.Position(); },
                                      [](TProgressBar& b, int v) { b.SetPosition(v); }),
    });
}

std::vector<TProgressProp>& ProgressList() {
    static std::vector<TProgressProp> list = [] {
        PublishProgressBar();
        return std::vector<TProgressProp>{{ClassRefOf<TProgressBar>(), "Max", "Min", "Position"}};
    }();
    return list;
}

const TProgressProp* FindEntry(TControl* control) {
    const std::vector<TProgressProp>& list = ProgressList();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->controlClass.IsInstance(control)) return &*it;
    return nullptr;
}

bool SetProgressProp(TControl* control, Which which, int value) {
    if (!control) return false;
    const TProgressProp* entry = FindEntry(control);
    if (!entry) return false;
    const AnsiString& name = which == Which::kMax   ? entry->maxProp
                             : which == Which::kMin ? entry->minProp
                                                    : entry->progressProp;
    TPropInfoList props(control, tkProperties);
    const TPropInfo* prop = props.Find(name);
    if (!prop) return false;
    switch (prop->Kind) {
    case tkInteger:
        if (!prop->SetOrd) return false;
        prop->SetOrd(control, value);
        return true;
    case tkFloat:
        if (!prop->SetFloat) return false;
        prop->SetFloat(control, double(value));
        return true;
    default:
        return false;
    }
}

} // namespace

void RegisterProgressControl(const TClassRef& controlClass, const AnsiString& maxPropName,
                             const AnsiString& minPropName, const AnsiString& progressPropName) {
    ProgressList().push_back({controlClass, maxPropName.SubString(1, kMaxPropName),
                              minPropName.SubString(1, kMaxPropName), progressPropName.SubString(1, kMaxPropName)});
}

void UnRegisterProgressControl(const TClassRef& controlClass) {
    std::vector<TProgressProp>& list = ProgressList();
    for (std::size_t i = list.size(); i-- > 0;)
        if (list[i].controlClass.InheritsFrom(controlClass)) list.erase(list.begin() + std::ptrdiff_t(i));
}

bool SupportsProgressControl(TControl* control) { return control && FindEntry(control); }

bool SetProgressMax(TControl* control, int value) { return SetProgressProp(control, Which::kMax, value); }
bool SetProgressMin(TControl* control, int value) { return SetProgressProp(control, Which::kMin, value); }
bool SetProgressValue(TControl* control, int value) { return SetProgressProp(control, Which::kValue, value); }
