// The ".fsm" file of a state machine, its autosave copy and the state-machine
// side of the clipboard file "clip.brd".

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "document/FileHeader.h"
#include "fsm/FsmRecords.h"
#include "fsm/FsmSettings.h"
#include "fsm/fsmScheme.h"
#include "platform/FileIO.h"
#include "platform/UiPort.h"

namespace {

const AnsiString kClipboardFile = "clip.brd";

bool FileExists(const AnsiString& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(ToFsPath(name), ec);
}

TfsmEntity* NewEntityOfTag(uint8_t tag, TFSMScheme* doc) {
    switch (tag) {
    case fsmfile::kTagTransition: return new TfsmLink(doc);
    case fsmfile::kTagState: return new TfsmElement(doc);
    case fsmfile::kTagCondition: return new TfsmCond(doc);
    case fsmfile::kTagReset: return new TfsmResetLink(doc);
    default: return nullptr;
    }
}

} // namespace

bool TFSMScheme::Refuse(const AnsiString& message) {
    ShowMessage(message);
    return false;
}

bool TFSMScheme::LoadFromFile() {
    partialFile_.Clear();
    Clear();
    idCounter_ = 0;
    SetModified(false);
    if (!FileExists(fileName_)) return true;
    std::string bytes;
    const bool loaded = ReadWholeFile(fileName_, bytes) ? LoadFromBytes(bytes) : Refuse("Не могу открыть файл!"_a);
    // A file refused whole (another kind, another version, damaged, empty)
    // is no more written over unasked than one read in part.
    if (!loaded) partialFile_.Mark(fileName_);
    return loaded;
}

bool TFSMScheme::LoadFromBytes(const std::string& bytes) {
    partialFile_.Clear();
    Clear();
    idCounter_ = 0;
    SetModified(false);
    ByteReader r(bytes);
    bool ok;
    try {
        ok = ParseFile(r);
    } catch (const EReadError&) {
        ok = Refuse("Файл разрушен!!"_a);
    }
    if (!ok) {
        // A refused file leaves the document empty, as a missing one does.
        Clear();
    } else {
        for (TfsmEntity* e : entities_) e->Show();
    }
    version_ = fsmfile::kVersion;
    undo_->Clear();
    if (window_) window_->EndProgress();
    return ok;
}

bool TFSMScheme::ParseFile(ByteReader& r) {
    using namespace fsmfile;
    FileHeader header;
    PinHeader pins;
    const HeaderStatus status = ReadHeaders(r, &header, &pins);
    if (status != HeaderStatus::Ok) return Refuse(RefusalMessage(status));
    ReadPins(r, pins.Inputs, pins.Outputs);
    // Every record takes at least 89 bytes: a count beyond the bytes that are
    // left cannot be a real one. A count a little too high (a cut-off file)
    // simply ends where the file ends.
    const int32_t count = header.Count;
    if (count < 0 || std::size_t(count) > r.Remaining()) return Refuse("Файл разрушен!!"_a);
    if (window_) window_->BeginProgress(count);
    // Every record in file order: a transition names its states by their place.
    std::vector<TfsmEntity*> placed;
    std::vector<bool> isState;
    bool cutShort = false;
    for (int32_t i = 0; i < count; ++i) {
        if (window_) window_->StepProgress(i);
        if (r.AtEnd()) {
            cutShort = true;
            break;
        }
        const uint8_t tag = r.U8();
        const int size = BodySize(tag);
        if (size == 0) return Refuse("Файл разрушен!!"_a);
        if (r.Remaining() < std::size_t(size)) {
            cutShort = true;
            break;
        }
        TfsmEntity* e = NewEntityOfTag(tag, this);
        Add(e, false);
        e->LoadFromStream(r);
        placed.push_back(e);
        isState.push_back(tag == kTagState);
        if (tag == kTagState && window_) window_->StateLoaded();
    }
    // Each end joins the state the record names when the end lies in it (id 0
    // also stands for "none", so the drawing must agree); failing that, the
    // state under the end, as the drawing shows it.
    auto named = [&](int id, int x, int y) -> TfsmElement* {
        if (id >= 0 && std::size_t(id) < placed.size() && isState[std::size_t(id)]) {
            auto* s = static_cast<TfsmElement*>(placed[std::size_t(id)]);
            if (s->HitTest(x, y, false)) return s;
        }
        return StateAt(x, y);
    };
    for (TfsmEntity* e : placed)
        if (auto* t = dynamic_cast<TfsmLink*>(e))
            t->AttachLoaded(named(t->FileSourceId(), t->GetPointX(0), t->GetPointY(0)),
                            named(t->FileTargetId(), t->GetPointX(3), t->GetPointY(3)));
    if (cutShort) {
        // What was whole is kept, but the file is not saved over without asking.
        partialFile_.Mark(fileName_);
        ShowMessage("Файл разрушен!!"_a);
    }
    return true;
}

void TFSMScheme::ReadPins(ByteReader& r, int inputs, int outputs) {
    inputs_.Clear();
    outputs_.Clear();
    inputCount_ = outputCount_ = 0;
    for (int i = 0; i < inputs; ++i) AddInput(r.SmallString(fsmfile::kNameCapacity));
    for (int i = 0; i < outputs; ++i) AddOutput(r.SmallString(fsmfile::kNameCapacity));
    ShowSignalsInWindow();
}

void TFSMScheme::WritePins(ByteWriter& w) const {
    // Exactly as many names as the pin header counts, so the records that
    // follow are where a reader looks for them.
    for (int i = 0; i < inputCount_; ++i)
        w.SmallString(i < inputs_.Count() ? inputs_.Get(i) : AnsiString(), fsmfile::kNameCapacity);
    for (int i = 0; i < outputCount_; ++i)
        w.SmallString(i < outputs_.Count() ? outputs_.Get(i) : AnsiString(), fsmfile::kNameCapacity);
}

std::string TFSMScheme::SaveBytesNamed(const AnsiString& headerName) {
    ByteWriter w;
    FileHeader header;
    header.Name = headerName;
    header.Version = fsmfile::kVersion;
    header.Write(w);
    FileSignature().Write(w);
    fsmfile::PinHeader pins;
    pins.Inputs = inputCount_;
    pins.Outputs = outputCount_;
    pins.Write(w);
    WritePins(w);
    int32_t count = 0;
    auto write = [&](TfsmEntity* e) {
        e->SetNumber(++count);
        e->SaveToStream(w);
    };
    // States before transitions before boxes: a reader attaches transitions
    // to the states under their ends and boxes to their owners by number.
    for (TfsmElement* s : States()) write(s);
    for (TfsmLink* t : Transitions()) write(t);
    for (TfsmCond* c : Conditions()) write(c);
    w.PatchI32(FileHeader::kCountOffset, count);
    return w.Take();
}

std::string TFSMScheme::SaveToBytes() { return SaveBytesNamed(fileName_); }

bool TFSMScheme::SaveToFile() {
    if (fileName_.IsEmpty()) return false;
    if (!partialFile_.MayWrite(fileName_)) return false;
    if (!WriteFileAtomic(fileName_, SaveToBytes())) return Refuse(CannotCreateFileText(fileName_));
    partialFile_.Clear();
    undo_->Clear();
    // With the history gone the objects take the ids the file gave them, as
    // a load of it would, so that saving again writes the same bytes.
    int next = 0;
    for (TfsmElement* e : States()) e->SetId(next++);
    for (TfsmLink* e : Transitions()) e->SetId(next++);
    for (TfsmCond* e : Conditions()) e->SetId(next++);
    for (TfsmEntity* e : removed_) e->SetId(next++);
    idCounter_ = next;
    SetModified(false);
    return true;
}

AnsiString TFSMScheme::AutoSaveName(const AnsiString& fileName) {
    return fileName.SubString(1, fileName.Length() - 3) + "fsmt";
}

bool TFSMScheme::AutoSave() {
    const int n = fileName_.Length();
    if (n < 4 || !SameText(fileName_.SubString(n - 3, 4), ".fsm")) return false;
    const AnsiString name = AutoSaveName(fileName_);
    if (!WriteFileAtomic(name, SaveBytesNamed(name))) {
        // Said once: the timer tries again every period, and the same box
        // each time would tell nothing new.
        if (autoSaveRefused_ != name) ShowMessage(CannotCreateFileText(name));
        autoSaveRefused_ = name;
        return false;
    }
    autoSaveRefused_ = AnsiString();
    autoSaveWritten_ = name;
    return true;
}

void TFSMScheme::DeleteAutoSaveFile() {
    if (autoSaveWritten_.IsEmpty()) return;
    std::error_code ec;
    std::filesystem::remove(ToFsPath(autoSaveWritten_), ec);
    autoSaveWritten_ = AnsiString();
}

bool TFSMScheme::CopyToClipboard() {
    const FsmSettings settings = CurrentFsmSettings();
    FileSignature sig;
    sig.MinX = settings.SheetWidth;
    sig.MinY = settings.SheetHeight;
    for (TfsmEntity* e : selection_) {
        sig.MinX = std::min(sig.MinX, e->GetX());
        sig.MinY = std::min(sig.MinY, e->GetY());
    }
    sig.Writer = ClipWriter::StateMachine;
    ByteWriter w;
    FileHeader header;
    header.Name = "clipboard";
    header.Version = version_;
    header.Count = int32_t(selection_.size());
    header.Write(w);
    sig.Write(w);
    for (TfsmEntity* e : selection_) e->SaveToStream(w);
    if (!WriteFileAtomic(kClipboardFile, w.Take())) return Refuse(CannotCreateFileText(kClipboardFile));
    return true;
}

bool TFSMScheme::PasteFromClipboard(int x, int y) {
    std::string bytes;
    if (!FileExists(kClipboardFile) || !ReadWholeFile(kClipboardFile, bytes)) return false;
    ByteReader r(bytes);
    // The states and transitions to paste, each as its tag and body; every
    // one is checked before any is added.
    std::vector<std::pair<uint8_t, std::string_view>> bodies;
    bool damaged = false;
    long long dx = 0, dy = 0;
    try {
        const FileHeader header = FileHeader::Read(r);
        const FileSignature sig = FileSignature::Read(r);
        // A fragment of a logic scheme is not a state machine.
        if (!sig.IsValid() || sig.Writer != ClipWriter::StateMachine)
            return Refuse("В буфере обмена нет фрагмента машины состояний"_a);
        dx = (long long)x - sig.MinX;
        dy = (long long)y - sig.MinY;
        bool fits = std::llabs(sig.MinX) <= fsmfile::kCoordLimit && std::llabs(sig.MinY) <= fsmfile::kCoordLimit;
        auto inLimits = [&](long long px, long long py, long long limit) {
            return std::llabs(px + dx) <= limit && std::llabs(py + dy) <= limit;
        };
        for (int32_t i = 0; i < header.Count && !r.AtEnd(); ++i) {
            const uint8_t tag = r.U8();
            const int size = fsmfile::BodySize(tag);
            if (size == 0) {
                damaged = true;
                break;
            }
            if (r.Remaining() < std::size_t(size)) break;
            const std::string_view body = r.Bytes(std::size_t(size));
            // Boxes and the reset transition are not pasted.
            if (tag == fsmfile::kTagState) {
                ByteReader b(body);
                const fsmfile::StateRecord s = fsmfile::StateRecord::Read(b);
                fits = fits && inLimits(s.X, s.Y, fsmfile::kStateLimit);
            } else if (tag == fsmfile::kTagTransition) {
                ByteReader b(body);
                const fsmfile::TransitionRecord t = fsmfile::TransitionRecord::Read(b);
                for (int k = 0; k < 4; ++k) fits = fits && inLimits(t.X[k], t.Y[k], fsmfile::kCoordLimit);
            } else {
                continue;
            }
            bodies.emplace_back(tag, body);
        }
        if (!fits) return Refuse("Файл разрушен!!"_a);
    } catch (const EReadError&) {
        return Refuse("Файл разрушен!!"_a);
    }
    selection_.clear();
    std::vector<TfsmEntity*> pasted;
    for (const auto& [tag, body] : bodies) {
        TfsmElement* e = tag == fsmfile::kTagState ? new TfsmElement(this) : new TfsmLink(this);
        Add(e, false);
        ByteReader b(body);
        e->LoadFromStream(b);
        e->SetX(e->GetX() + int(dx));
        e->SetY(e->GetY() + int(dy));
        pasted.push_back(e);
    }
    // Transitions join the states under their ends where they now lie.
    for (TfsmEntity* e : pasted)
        if (auto* t = dynamic_cast<TfsmLink*>(e)) t->EndDrag();
    for (TfsmEntity* e : pasted) {
        selection_.push_back(e);
        e->SetSelected(true);
        e->SetMarked(true);
        e->Show();
    }
    // A record of a kind no writer makes ends the fragment: what came before it stays.
    return damaged ? Refuse("Файл разрушен!!"_a) : true;
}
