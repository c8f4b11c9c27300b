#include "toolbars/TBExTlwn.h"

TToolWindowEx::TToolWindowEx(TComponent* owner) : TCustomToolWindowEx(owner) { SetBounds(Left(), Top(), 32, 32); }

TToolWindowEx::~TToolWindowEx() { ToolWindowDestroying(); }

int TToolWindowEx::ClientAreaWidth() const { return Parent() ? ClientWidth() : Width(); }

int TToolWindowEx::ClientAreaHeight() const { return Parent() ? ClientHeight() : Height(); }

void TToolWindowEx::SetClientAreaSize(int width, int height) {
    if (Parent()) {
        width += Width() - ClientWidth();
        height += Height() - ClientHeight();
    }
    SetBounds(Left(), Top(), width, height);
}

void TToolWindowEx::SizeChanging(int width, int height) {
    if (Parent()) {
        barWidth_ = width + (ClientWidth() - Width());
        barHeight_ = height + (ClientHeight() - Height());
    } else {
        barWidth_ = width;
        barHeight_ = height;
    }
}

void TToolWindowEx::GetMinimumSize(int& clientWidth, int& clientHeight) {
    clientWidth = MinClientWidth;
    clientHeight = MinClientHeight;
}

int TToolWindowEx::GetBarSize(TDockType dockType) { return dockType == dtLeftRight ? barWidth_ : barHeight_; }

// The children are not moved: they align themselves.
TPoint TToolWindowEx::OrderControls(bool, TDockType, TDockEx*) { return TPoint(barWidth_, barHeight_); }

void TToolWindowEx::ReadPositionData(const TPositionReader& reader) {
    TCustomToolWindowEx::ReadPositionData(reader);
    if (!Resizable()) return;
    int h = reader.ReadInt(Name(), "ClientHeight", barHeight_, reader.ExtraData);
    int w = reader.ReadInt(Name(), "ClientWidth", barWidth_, reader.ExtraData);
    SetClientAreaSize(w, h);
}

void TToolWindowEx::WritePositionData(const TPositionWriter& writer) {
    TCustomToolWindowEx::WritePositionData(writer);
    writer.WriteInt(Name(), "ClientWidth", barWidth_, writer.ExtraData);
    writer.WriteInt(Name(), "ClientHeight", barHeight_, writer.ExtraData);
}
