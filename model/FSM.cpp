#include "model/FSM.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "model/Painter.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"
#include "platform/UiPort.h"

TFSM::TFSM(IEntityOwner* owner) : TElement(owner, TEntityKind::FSM) { Finish(); }

void TFSM::SetFileName(const AnsiString& name) { fileName_ = ExtractFileName(name); }

AnsiString TFSM::GetFullFileName() const {
    if (IFrameServices* frame = ModelHooks().Frame)
        return frame->MakeProjectPath(fileName_);
    if (scheme_ && !scheme_->GetFileName().IsEmpty())
        return PathJoin(ExtractFilePath(scheme_->GetFileName()), fileName_);
    return PathJoin(FromFsPath(std::filesystem::current_path()), fileName_);
}

void TFSM::PinNames(TStrings* inputs, TStrings* outputs) const {
    for (const auto& p : pins_)
        (p->Direction() == 0 ? inputs : outputs)->Add(p->Name());
}

namespace {

// The names keep this far from the box's edges and from each other.
constexpr int kEdge = 2;
constexpr int kGap = 2;
constexpr int kMinWidth = 40;

// A text's width in scheme units at the zoom that needs the most of them
// (small type is relatively wider).
int Units(const AnsiString& text, int height) {
    int units = 0;
    for (int zoom = 25; zoom <= 400; zoom += 25)
        units = std::max(units, (TPainter::TextWidth(text, height, zoom) * 100 + zoom - 1) / zoom);
    return units;
}

} // namespace

int TFSM::WidthForPins() const {
    // The names' widths row by row: inputs on one side, outputs on the other.
    std::vector<int> inputs, outputs;
    for (const auto& p : pins_)
        (p->Direction() == 0 ? inputs : outputs).push_back(Units(ShownPinName(*p), kPinNameHeight));
    const std::size_t rows = std::max(inputs.size(), outputs.size());
    int width = kMinWidth;
    for (std::size_t row = 0; row < rows; ++row) {
        const int in = row < inputs.size() ? inputs[row] : 0;
        const int out = row < outputs.size() ? outputs[row] : 0;
        int need = kEdge + in + kGap + out + kEdge;
        // The title is centred over the first row.
        if (row == 0)
            need = std::max(need, Units(Symbol(), kSymbolHeight) + 2 * (kEdge + kGap + std::max(in, out)));
        width = std::max(width, need);
    }
    return (width + 9) / 10 * 10;
}

void TFSM::FitToPins() {
    const int width = WidthForPins();
    if (width == GetWidth())
        return;
    ChangePins([&] {
        SetWidth(width);
        LayoutPins();
    });
}

void TFSM::LoadPinsFromFile(const AnsiString& fileName) {
    IFsmServices* fsm = ModelHooks().Fsm;
    if (!fsm)
        return;
    TStringList inputs, outputs;
    if (!fsm->ReadPins(fileName, &inputs, &outputs))
        return;
    ChangePins([&] {
        pins_.clear();
        for (int i = 0; i < inputs.Count() && PinCount() < kMaxPins; ++i)
            NewPin(inputs[i], 0);
        for (int i = 0; i < outputs.Count() && PinCount() < kMaxPins; ++i)
            NewPin(outputs[i], 1);
        SetWidth(WidthForPins());
        Finish();
        fileName_ = ExtractFileName(fileName);
    });
    Touch();
}

bool TFSM::SavePinsToFile(const AnsiString& fileName) {
    IFsmServices* fsm = ModelHooks().Fsm;
    if (!fsm)
        return false;
    TStringList inputs, outputs;
    PinNames(&inputs, &outputs);
    return fsm->WritePins(fileName, &inputs, &outputs);
}

bool TFSM::DiffersFromFile(const AnsiString& file, AnsiString& difference) const {
    IFsmServices* fsm = ModelHooks().Fsm;
    TStringList fileInputs, fileOutputs;
    if (!fsm || !fsm->ReadPins(file, &fileInputs, &fileOutputs))
        return false;
    TStringList inputs, outputs;
    PinNames(&inputs, &outputs);
    struct Side {
        const TStringList& mine;
        const TStringList& file;
        AnsiString count;
        AnsiString one;
    };
    const Side sides[] = {{inputs, fileInputs, "входов "_a, "вход "_a}, {outputs, fileOutputs, "выходов "_a, "выход "_a}};
    for (const Side& s : sides)
        if (s.mine.Count() != s.file.Count()) {
            difference = s.count + IntToStr(s.mine.Count()) + ", в файле "_a + IntToStr(s.file.Count());
            return true;
        }
    for (const Side& s : sides)
        for (int i = 0; i < s.mine.Count(); ++i)
            if (s.mine[i] != s.file[i]) {
                difference = s.one + IntToStr(i + 1) + " " + s.mine[i] + ", в файле "_a + s.file[i];
                return true;
            }
    return false;
}

void TFSM::Translate(TStrings* lines) {
    // The table speaks of the file's signals in the file's order; pins that
    // differ from them would wire the controller to the wrong signals.
    const AnsiString file = GetFullFileName();
    AnsiString difference;
    if (lines && DiffersFromFile(file, difference)) {
        TempNames = "";
        ReportTranslationError("Выводы элемента "_a + Name() + " не совпадают с сигналами машины состояний "_a + file +
                               " ("_a + difference + ")");
        return;
    }
    TElement::Translate(lines);
}

void TFSM::TranslateTail(TStrings* lines) {
    // A machine that is missing, refused or fails its check leaves the block
    // without a table; the run must not count as a success.
    IFsmServices* fsm = ModelHooks().Fsm;
    const AnsiString file = GetFullFileName();
    if (!fsm || !fsm->AppendTransitionTable(file, lines))
        ReportTranslationError("Машина состояний "_a + file + " элемента "_a + Name() + " не транслирована"_a);
}

bool TFSM::Properties() {
    IPropertyDialogs* dialogs = ModelHooks().Dialogs;
    if (!dialogs || dialogs->Run(TPropertyDialog::SymbolAction, this) != mrOk)
        return false;
    IFrameServices* frame = ModelHooks().Frame;
    switch (dialogs->SymbolActionChoice()) {
    case 0: {
        if (!frame)
            return false;
        AnsiString chosen = frame->AskFileName(fileName_);
        if (chosen.IsEmpty() || chosen == fileName_)
            return false;
        const std::vector<TPinTip> before = PinTips();
        LoadPinsFromFile(chosen);
        FollowPinsByName(before, chosen);
        return true;
    }
    case 1: {
        if (!frame)
            return false;
        frame->OpenFSMWindow(GetFullFileName());
        TStringList inputs, outputs;
        PinNames(&inputs, &outputs);
        frame->CheckFSMPins(AnsiString(), &inputs, &outputs);
        return false;
    }
    case 2:
        if (!RunDialog(TPropertyDialog::Element))
            return false;
        SavePinsToFile(GetFullFileName());
        return true;
    default:
        return false;
    }
}

void TFSM::SaveExtra(ByteWriter& w) const { WriteRecordString(w, fileName_); }

void TFSM::LoadExtra(ByteReader& r) { fileName_ = ReadRecordString(r); }
