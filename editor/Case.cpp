#include "editor/Case.h"

#include <algorithm>
#include <unordered_map>

#include "document/Scheme.h"
#include "editor/EditorHooks.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"

TForm* MakeCaseWindow(TComponent* owner, const AnsiString& fileName, TObject* element) {
    auto* window = NewForm<TfmCase>(owner);
    window->Scheme->SetFileName(fileName);
    window->Scheme->LoadFromFile();
    window->SetElement(element);
    return window;
}

TfmCase::TfmCase(TComponent* owner)
    : TMDIChild(owner), CaseOutputs(std::size_t(kEntries), 0), CaseInputs(std::size_t(kEntries), 0) {
    SetName("fmCase");
    SetCaption("Формирование элемента CASE"_a);
    // The toolbar's dock takes the top: the sheet starts below it.
    DockEx1 = NewControl<TDockEx>(this, this, "DockEx1");
    DockEx1->SetPosition(dpTop);
    ToolbarEx1 = NewControl<TToolbarEx>(this, DockEx1, "ToolbarEx1");
    ToolbarEx1->SetCaption("ToolbarEx1");
    ToolbarEx1->SetFullSize(true);
    ToolbarEx1->DockMode = dmCannotFloatOrChangeDocks;
    ToolbarEx1->SetCloseButton(false);
    auto button = [this](const char* name, const char* caption) {
        auto* b = NewControl<TToolbarButtonEx>(this, ToolbarEx1, name);
        b->SetCaption(Utf8ToAnsi(caption));
        b->SetDisplayMode(dmTextOnly);
        b->SetBounds(0, 0, 77, 22);
        return b;
    };
    ToolbarButtonEx1 = button("ToolbarButtonEx1", "Проверить");
    ToolbarSepEx1 = NewControl<TToolbarSepEx>(this, ToolbarEx1, "ToolbarSepEx1");
    ToolbarButtonEx2 = button("ToolbarButtonEx2", "Применить");
    ToolbarSepEx2 = NewControl<TToolbarSepEx>(this, ToolbarEx1, "ToolbarSepEx2");
    ToolbarButtonEx3 = button("ToolbarButtonEx3", "Выход");
    ToolbarButtonEx2->OnClick = [this](TObject* s) { ToolbarButtonEx2Click(s); };
    ToolbarButtonEx3->OnClick = [this](TObject* s) { ToolbarButtonEx3Click(s); };
}

TfmCase::~TfmCase() = default;

void TfmCase::SetElement(TObject* element) {
    element_ = dynamic_cast<TCaseElement*>(element);
    elementScheme_ = element_ ? dynamic_cast<TScheme*>(element_->Scheme()) : nullptr;
    auto* window = elementScheme_ ? dynamic_cast<TForm*>(elementScheme_->Window()) : nullptr;
    elementWindow_ = window ? window->Alive() : std::weak_ptr<char>();
}

TObject* TfmCase::GetElement() const { return element_; }

bool TfmCase::ElementPresent() const {
    // The element's document lives as long as its window.
    if (!element_ || !elementScheme_ || elementWindow_.expired()) return false;
    const auto live = elementScheme_->LiveObjects();
    return std::find(live.begin(), live.end(), static_cast<TEntity*>(element_)) != live.end();
}

int32_t TfmCase::CountInputs() {
    int32_t n = 0;
    uint8_t cls = 0;
    for (TVarDriver* v = Scheme->NextVarDriver(cls, true); v; v = Scheme->NextVarDriver(cls, false)) n += cls == 0;
    return n;
}

int32_t TfmCase::DefaultOutput() {
    const int n = std::clamp(CountInputs(), 0, 16);
    const int c = 1 << n;
    // How often each output came before: the first to reach the most wins.
    std::unordered_map<int32_t, int> seen;
    seen.reserve(std::size_t(c));
    int32_t chosen = 0;
    int best = 0;
    for (int i = 0; i < c; ++i) {
        int& count = seen[CaseOutputs[std::size_t(i)]];
        if (count > best) {
            best = count;
            chosen = CaseOutputs[std::size_t(i)];
        }
        ++count;
    }
    // The entries with another output, in order, in front.
    int kept = 0;
    for (int i = 0; i < c; ++i) {
        if (CaseOutputs[std::size_t(i)] == chosen) continue;
        CaseInputs[std::size_t(kept)] = CaseInputs[std::size_t(i)];
        CaseOutputs[std::size_t(kept)] = CaseOutputs[std::size_t(i)];
        ++kept;
    }
    CaseDefault = chosen;
    return kept;
}

void TfmCase::ToolbarButtonEx2Click(TObject*) {
    if (!ElementPresent()) return;
    std::vector<int32_t> outputs(std::size_t(kEntries), 0);
    // The check did not run (no project, errors, no emulator): nothing to write.
    if (!SchemeFrame().ExportCase(this, &outputs) || !ElementPresent()) return;
    std::copy_n(outputs.begin(), std::min<std::size_t>(outputs.size(), CaseOutputs.size()), CaseOutputs.begin());
    for (int i = 0; i < kEntries; ++i) CaseInputs[std::size_t(i)] = i;
    const int rows = DefaultOutput();
    element_->Hide();
    element_->Options.SetCount(rows);
    int i = 0;
    for (bool on = element_->Options.First(); on; on = element_->Options.Next(), ++i) {
        element_->Options.SetInput(CaseInputs[std::size_t(i)]);
        element_->Options.SetOutput(CaseOutputs[std::size_t(i)]);
    }
    element_->Options.Default = CaseDefault;
    element_->DefaultOutput = CaseDefault;
    // Masked rows are tried first: any left would override the drawn logic.
    if (auto* masked = dynamic_cast<TCaseMaskElement*>(element_)) masked->Masks.SetCount(0);
    element_->Show();
    elementScheme_->SetModified(true);
    Close();
}

void TfmCase::ToolbarButtonEx3Click(TObject*) { Close(); }
