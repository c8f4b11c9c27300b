#include "FsmTestSupport.h"

#include <QImage>

namespace fsmtest {

BitmapView::BitmapView(int w, int h) {
    bitmap.SetSize(w, h);
    FillPattern();
}

void BitmapView::FillPattern() {
    QImage& img = bitmap.Image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, 0xFF000000u | uint32_t((x * 7 + y * 13) & 0xFF) << 16 | uint32_t((x ^ y) & 0xFF) << 8 |
                                   uint32_t((x * y) & 0xFF));
    bitmap.Changed();
}

std::string BitmapView::Pixels() const {
    const QImage& img = bitmap.Image();
    return std::string(reinterpret_cast<const char*>(img.constBits()), std::size_t(img.sizeInBytes()));
}

void RecordingWindow::ShowSignals(const TStrings& inputs, const TStrings& outputs) {
    InputItems.clear();
    OutputItems.clear();
    for (int i = 0; i < inputs.Count(); ++i) InputItems.push_back(inputs.Get(i));
    for (int i = 0; i < outputs.Count(); ++i) OutputItems.push_back(outputs.Get(i));
}

bool RecordingWindow::EditStateName(AnsiString& name) {
    if (NameAnswer.IsEmpty()) return false;
    name = NameAnswer;
    return true;
}

bool RecordingWindow::EditCondition(TfsmCond*, AnsiString& text) {
    if (ConditionAnswer.IsEmpty()) return false;
    text = ConditionAnswer;
    return true;
}

TfsmElement* AddState(TFSMScheme& doc, int x, int y, const AnsiString& name, const AnsiString& output) {
    TfsmElement* s = doc.CreateState();
    s->SetX(x);
    s->SetY(y);
    s->SetName(name);
    s->EndDrag();
    if (!output.IsEmpty()) {
        TfsmCond* c = doc.CreateStateCondition(s);
        c->SetText(output);
        c->SetX(x + 40);
        c->SetY(y - 50);
        c->SetAnchor(x, y);
        c->Show();
    }
    s->Show();
    return s;
}

TfsmLink* AddTransition(TFSMScheme& doc, int ax, int ay, int bx, int by, const char* cond) {
    TfsmLink* t = doc.CreateTransition2(ax, ay, bx, by);
    t->EndDrag();
    if (cond) {
        TfsmCond* c = doc.CreateTransitionCondition(t);
        c->SetText(cond);
        c->SetX((ax + bx) / 2 + 10);
        c->SetY((ay + by) / 2 + 10);
    }
    t->EndDrag();
    t->Show();
    if (t->GetCondition()) t->GetCondition()->Show();
    return t;
}

TfsmLink* Connect(TFSMScheme& doc, TfsmElement* from, TfsmElement* to, const char* cond) {
    return AddTransition(doc, from->GetX(), from->GetY(), to->GetX(), to->GetY(), cond);
}

TfsmResetLink* AddReset(TFSMScheme& doc, int ax, int ay, TfsmElement* to, const char* cond) {
    TfsmResetLink* r = doc.AddResetLink();
    r->SetPointX(0, ax);
    r->SetPointY(0, ay);
    r->SetPointX(3, to->GetX());
    r->SetPointY(3, to->GetY());
    r->SetStraight(true);
    r->EndDrag();
    if (cond) {
        TfsmCond* c = doc.CreateTransitionCondition(r);
        c->SetText(cond);
        c->SetX(ax + 5);
        c->SetY(ay + 15);
    }
    r->EndDrag();
    r->Show();
    if (r->GetCondition()) r->GetCondition()->Show();
    return r;
}

void SetSignals(TFSMScheme& doc, std::vector<AnsiString> inputs, std::vector<AnsiString> outputs) {
    TStringList in, out;
    for (auto& s : inputs) in.Add(s);
    for (auto& s : outputs) out.Add(s);
    doc.SetPins(&in, &out);
}

Example BuildExample(TFSMScheme& doc, bool withReset) {
    SetSignals(doc, {"Пуск"_a, "Стоп"_a}, {"Мотор"_a});
    Example e{};
    e.S1 = AddState(doc, 150, 150, "S1", "0");
    e.S2 = AddState(doc, 400, 150, "S2", "1");
    e.Initial = AddTransition(doc, 150, 40, 150, 150, "XX");
    if (withReset) e.Reset = AddReset(doc, 40, 150, e.S1, "1X");
    e.S1S2 = doc.CreateTransition4(150, 150, 230, 100, 320, 100, 400, 150);
    e.S1S2->EndDrag();
    doc.CreateTransitionCondition(e.S1S2)->SetText("01");
    e.S1S2->EndDrag();
    e.S2S1 = doc.CreateTransition4(400, 150, 320, 220, 230, 220, 150, 150);
    e.S2S1->EndDrag();
    doc.CreateTransitionCondition(e.S2S1)->SetText("00");
    e.S2S1->EndDrag();
    // Everything on the canvas, as after loading.
    for (TfsmEntity* x : doc.Entities()) x->Show();
    return e;
}

std::vector<std::string> ExampleLines() {
    return {"%~2 2 ",
            "%%00000000-11111111=00000001;",
            "%%00000010-11111101=00000001;",
            "%~1 ",
            "%%00000000;00000001-11111100=00000010;",
            "%~1 ",
            "%%00000001;00000000-11111100=00000001;"};
}

std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> r;
    for (int i = 0; i < list.Count(); ++i) r.push_back(list.Get(i).str());
    return r;
}

std::vector<std::pair<int, int>> Logic(const TFSMScheme& doc) {
    const std::vector<TfsmElement*> states = doc.States();
    auto place = [&](const TfsmElement* s) {
        for (std::size_t i = 0; i < states.size(); ++i)
            if (states[i] == s) return int(i);
        return -1;
    };
    std::vector<std::pair<int, int>> logic;
    for (TfsmLink* t : doc.Transitions()) logic.emplace_back(place(t->GetSource()), place(t->GetTarget()));
    return logic;
}

} // namespace fsmtest
