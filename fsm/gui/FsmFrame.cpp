#include "fsm/gui/FsmFrame.h"

namespace {
IFsmFrame* g_frame = nullptr;
} // namespace

IFsmFrame* FsmFrame() { return g_frame; }

IFsmFrame* SetFsmFrame(IFsmFrame* frame) {
    IFsmFrame* previous = g_frame;
    g_frame = frame;
    return previous;
}
