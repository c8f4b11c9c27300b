// Scheme files, the clipboard file and the recovery copy. Layout: the shared
// FileHeader and FileSignature, then FileHeader.Count records, each a tag
// byte, a 32-bit body length and the body (docs/file-formats.md).
#include <filesystem>

#include "document/Scheme.h"
#include "document/UndoList.h"
#include "model/Records.h"
#include "model/SchemeSettings.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/UiPort.h"

const char* const TScheme::kClipboardFile = "clip.brd";

namespace {

// The record of the document's own values (the chain counter).
constexpr uint8_t kSchemeInfoTag = 0x80;
// The smallest record: tag and length.
constexpr std::size_t kMinRecord = 5;

AnsiString MsgFileDamaged() { return "Файл разрушен!!"_a; }
AnsiString MsgOldVersion() { return "Старая версия файла"_a; }

bool FileExists(const AnsiString& name) {
    std::error_code ec;
    return !name.IsEmpty() && std::filesystem::is_regular_file(ToFsPath(name), ec);
}

void WriteHeaders(ByteWriter& w, const AnsiString& name, int count, const FileSignature& signature) {
    FileHeader header;
    header.Name = name;
    header.Version = kSchemeFileVersion;
    header.Count = count;
    header.Write(w);
    signature.Write(w);
}

} // namespace

void TScheme::WriteObjects(ByteWriter& w, const std::vector<TEntity*>& objects) const {
    w.U8(kSchemeInfoTag);
    w.U32(4);
    w.I32(chainCounter_);
    for (TEntity* o : objects)
        WriteEntityRecord(w, *o);
}

std::string TScheme::SaveToBytes() const {
    std::vector<TEntity*> objects = LiveObjects();
    ByteWriter w;
    WriteHeaders(w, GetName(), int(objects.size()) + 1, FileSignature());
    WriteObjects(w, objects);
    return w.Take();
}

// Reads a whole file into out; false after reporting a damaged or foreign file.
bool TScheme::ReadFile(const std::string& bytes, std::vector<std::unique_ptr<TEntity>>& out, int& chainCounter,
                       FileSignature* signature) {
    out.clear();
    chainCounter = 0;
    try {
        ByteReader r(bytes);
        FileHeader header = FileHeader::Read(r);
        FileSignature sig = FileSignature::Read(r);
        if (!sig.IsValid()) {
            ShowMessage(MsgFileDamaged());
            return false;
        }
        if (header.Version != kSchemeFileVersion) {
            ShowMessage(MsgOldVersion());
            return false;
        }
        if (signature)
            *signature = sig;
        if (header.Count < 0 || std::size_t(header.Count) > r.Remaining() / kMinRecord)
            throw EReadError("record count out of range");
        for (int i = 0; i < header.Count; ++i) {
            if (window_ && (i & 1023) == 0)
                window_->ShowProgress(i, header.Count);
            std::size_t at = r.Position();
            if (r.U8() == kSchemeInfoTag) {
                uint32_t length = r.U32();
                if (length < 4 || length > r.Remaining())
                    throw EReadError("bad scheme record");
                ByteReader body(r.Bytes(length));
                chainCounter = body.I32();
                continue;
            }
            r.Seek(at);
            out.push_back(ReadEntityRecord(r, this));
        }
        if (!r.AtEnd())
            throw EReadError("bytes after the last record");
    } catch (const EReadError&) {
        out.clear();
        if (window_)
            window_->ShowProgress(0, 0);
        ShowMessage(MsgFileDamaged());
        return false;
    }
    if (window_)
        window_->ShowProgress(0, 0);
    return true;
}

bool TScheme::LoadFromBytes(const std::string& bytes) {
    Clear();
    std::vector<std::unique_ptr<TEntity>> loaded;
    int counter = 0;
    bool ok = ReadFile(bytes, loaded, counter, nullptr);
    ++updating_;
    for (auto& o : loaded) {
        o->Id = nextId_++;
        if (o->IsLink())
            counter = std::max(counter, static_cast<TLink*>(o.get())->ChainNumber());
        objects_.push_back(std::move(o));
    }
    chainCounter_ = counter;
    {
        // The schemes of its symbols, at every depth, are one load.
        TSymbolLoad load(fileName_);
        for (const auto& o : objects_)
            if (o->Kind() == TEntityKind::Symbol)
                static_cast<TSymbol*>(o.get())->LoadInnerScheme();
    }
    --updating_;
    rebuildPending_ = false;
    RebuildNets();
    for (const auto& o : objects_)
        o->Show();
    SetModified(false);
    return ok;
}

bool TScheme::LoadFromFile() {
    unread_.Clear();
    if (!FileExists(fileName_)) {
        Clear();
        SetModified(false);
        return true;
    }
    std::string bytes;
    if (!ReadWholeFile(fileName_, bytes)) {
        Clear();
        ShowMessage(MsgFileDamaged());
        unread_.Mark(fileName_);
        return false;
    }
    if (LoadFromBytes(bytes))
        return true;
    // The window stays bound to the name; what the file holds must outlive
    // a save of the empty document.
    unread_.Mark(fileName_);
    return false;
}

bool TScheme::SaveToFile() {
    if (fileName_.IsEmpty())
        return false;
    if (!unread_.MayWrite(fileName_))
        return false;
    if (!WriteFileAtomic(fileName_, SaveToBytes())) {
        ShowMessage(CannotCreateFileText(fileName_));
        return false;
    }
    unread_.Clear();
    SetModified(false);
    return true;
}

bool TScheme::SaveAsSymbol(const AnsiString& name) {
    std::vector<TEntity*> objects = LiveObjects();
    ByteWriter w;
    WriteHeaders(w, ExtractFileName(name), int(objects.size()) + 1, FileSignature());
    WriteObjects(w, objects);
    if (!WriteFileAtomic(name, w.Data())) {
        ShowMessage(CannotCreateFileText(name));
        return false;
    }
    return true;
}

AnsiString TScheme::AutoSaveName(const AnsiString& fileName) {
    if (fileName.Length() < 3)
        return AnsiString();
    return fileName.SubString(1, fileName.Length() - 3) + "tvt";
}

bool TScheme::AutoSave() {
    AnsiString copy = AutoSaveName(fileName_);
    // An untitled document has nowhere to go; a recovery copy being edited
    // would be written over itself.
    if (copy.IsEmpty() || copy == fileName_)
        return false;
    if (!WriteFileAtomic(copy, SaveToBytes())) {
        // Said once: the timer tries again every period, and the same box
        // each time would tell nothing new.
        if (autosaveRefused_ != copy)
            ShowMessage(CannotCreateFileText(copy));
        autosaveRefused_ = copy;
        return false;
    }
    autosaveRefused_ = AnsiString();
    autosaveWritten_ = copy;
    return true;
}

// ---- clipboard ------------------------------------------------------------------------

bool TScheme::Copy() {
    std::vector<TEntity*> objects;
    FileSignature signature;
    signature.Writer = ClipWriter::Scheme;
    signature.MinX = schemesettings::SheetWidth();
    signature.MinY = schemesettings::SheetHeight();
    for (TEntity* o : selection_) {
        if (o->Deleted() || o->IsPoint())
            continue;
        objects.push_back(o);
        signature.MinX = std::min(signature.MinX, o->GetX());
        signature.MinY = std::min(signature.MinY, o->GetY());
    }
    ByteWriter w;
    WriteHeaders(w, "clipboard", int(objects.size()) + 1, signature);
    WriteObjects(w, objects);
    if (!WriteFileAtomic(kClipboardFile, w.Data())) {
        ShowMessage(CannotCreateFileText(kClipboardFile));
        return false;
    }
    return true;
}

bool TScheme::Paste(int x, int y) {
    std::string bytes;
    if (!FileExists(kClipboardFile) || !ReadWholeFile(kClipboardFile, bytes))
        return false;
    if (bytes.size() >= std::size_t(kFileHeaderSize + kFileSignatureSize)) {
        ByteReader r(bytes);
        FileHeader::Read(r);
        FileSignature sig = FileSignature::Read(r);
        if (sig.IsValid() && sig.Writer == ClipWriter::StateMachine) {
            ShowMessage("В буфере обмена фрагмент машины состояний: в схему его вставить нельзя."_a);
            return false;
        }
    }
    std::vector<std::unique_ptr<TEntity>> loaded;
    int counter = 0;
    FileSignature signature;
    if (!ReadFile(bytes, loaded, counter, &signature))
        return false;
    // The minimum point and every moved object must lie within the limits
    // that a loaded file keeps; otherwise nothing is pasted.
    const long long dx = (long long)x - signature.MinX, dy = (long long)y - signature.MinY;
    bool fits = CoordInRange(signature.MinX) && CoordInRange(signature.MinY);
    for (const auto& o : loaded)
        fits = fits && MovedWithinLimits(*o, dx, dy);
    if (!fits) {
        ShowMessage(MsgFileDamaged());
        return false;
    }
    ClearSelection();
    followers_.clear();
    ++updating_;
    TSymbolLoad load(fileName_);
    for (auto& o : loaded) {
        TEntity* e = o.release();
        AddNew(e, true);
        e->Move(int(dx), int(dy));
        if (e->Kind() == TEntityKind::Symbol)
            static_cast<TSymbol*>(e)->LoadInnerScheme();
        // Generated chain names are numbered anew; names the user gave stay.
        if (e->IsLink() && static_cast<TLink*>(e)->ChainNumber() > 0)
            static_cast<TLink*>(e)->SetChain(AnsiString(), 0);
        e->Pasted = true;
        AddToSelection(e, true);
    }
    --updating_;
    rebuildPending_ = false;
    RebuildNets();
    for (TEntity* e : selection_)
        e->Show();
    SetModified(true);
    return true;
}
