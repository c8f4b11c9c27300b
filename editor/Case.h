#pragma once
// TfmCase: the CASE-forming window ("Формирование элемента CASE"). A scheme
// window in which the logic of a CASE element with masks is drawn as an
// ordinary scheme: its connectors that feed element inputs are the inputs.
// "Применить" translates the drawing, runs it on the emulator for every input
// value, and writes what it computes into the element's table: the most
// frequent output becomes the default, the other input values become rows.
//
// The window holds the element's window by its alive token: once that window
// has closed, or the element has left its scheme, nothing is written.

#include <cstdint>
#include <memory>
#include <vector>

#include "editor/ChildWin.h"

class TDockEx;
class TToolbarEx;
class TToolbarButtonEx;
class TToolbarSepEx;
class TCaseElement;

class TfmCase : public TMDIChild {
public:
    explicit TfmCase(TComponent* owner);
    ~TfmCase() override;

    // The most input values the emulator's check goes through.
    static constexpr int kEntries = 65536;

    TDockEx* DockEx1;
    TToolbarEx* ToolbarEx1;
    TToolbarButtonEx *ToolbarButtonEx1, *ToolbarButtonEx2, *ToolbarButtonEx3; // "Проверить", "Применить", "Выход"
    TToolbarSepEx *ToolbarSepEx1, *ToolbarSepEx2;

    // The element whose table is formed (not owned).
    void SetElement(TObject* element);
    TObject* GetElement() const;
    int32_t CaseDefault = 0;
    // Entry i: the output and the input of input value i.
    std::vector<int32_t> CaseOutputs;
    std::vector<int32_t> CaseInputs;

    // The connectors of the drawing that feed element inputs only.
    int32_t CountInputs();
    // Examines the 2^n entries of the n inputs (at most 16; one entry
    // without inputs): the most frequent output is CaseDefault (on a tie the
    // one that got there first; 0 when no output repeats), and the entries
    // with another output move to the front in order. Returns how many.
    int32_t DefaultOutput();

    void ToolbarButtonEx2Click(TObject* Sender);
    void ToolbarButtonEx3Click(TObject* Sender);

private:
    // Whether the element is still in its scheme in an open window.
    bool ElementPresent() const;
    TCaseElement* element_ = nullptr;
    TScheme* elementScheme_ = nullptr;
    std::weak_ptr<char> elementWindow_;
};

// Makes a CASE-forming window as the frame does: its scheme named fileName
// and loaded from it, the element handed to it.
TForm* MakeCaseWindow(TComponent* owner, const AnsiString& fileName, TObject* element);
