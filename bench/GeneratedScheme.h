#pragma once
// The scheme the benchmarks work on: 100 rows of 100 elements of six kinds,
// each output wired in two segments towards the next element: 10,000
// elements and 20,000 wires over 8,040 by 4,040 units.

#include <string>

#include "document/Scheme.h"
#include "document/UndoList.h"

namespace benchscheme {

constexpr int kColumns = 100;
constexpr int kRows = 100;
constexpr int kPitchX = 80;
constexpr int kPitchY = 40;

inline void Generate(TScheme& s) {
    s.BeginUpdate();
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            TElement* e = nullptr;
            switch ((row * kColumns + col) % 6) {
            case 0: e = s.CreateAndElement(); break;
            case 1: e = s.CreateOrElement(); break;
            case 2: e = s.CreateXorElement(); break;
            case 3: e = s.CreateTimerElement(); break;
            case 4: e = s.CreateTriggerElement(); break;
            default: e = s.CreateDTriggerElement(); break;
            }
            int x = 20 + col * kPitchX, y = 20 + row * kPitchY;
            e->SetX(x);
            e->SetY(y);
            e->SetName("E" + IntToStr(row * kColumns + col));
            e->AssignNumber(row * kColumns + col + 1);
            int tipX = x + 50, tipY = y + 10;
            s.AddObject(new TLink(&s, tipX, tipY, tipX + 10, tipY));
            s.AddObject(new TLink(&s, tipX + 10, tipY, tipX + 20, tipY));
        }
    }
    s.EndUpdate();
    s.UndoList()->Clear();
}

// The scheme's file bytes, made once.
inline const std::string& SchemeBytes() {
    static const std::string bytes = [] {
        TScheme s;
        Generate(s);
        return s.SaveToBytes();
    }();
    return bytes;
}

} // namespace benchscheme
