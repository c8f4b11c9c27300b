#include "model/Symbol.h"

#include <algorithm>
#include <filesystem>

#include "model/Driver.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/UiPort.h"

TSymbol::TSymbol(IEntityOwner* owner) : TElement(owner, "symbol") {
    TEntity::SetName("Symbol");
    SetWidth(60);
}

TSymbol::~TSymbol() = default;

AnsiString TSymbol::Symbol() const {
    AnsiString bare = ExtractFileName(fileName_);
    return bare.IsEmpty() ? AnsiString("?") : bare;
}

namespace {
bool FileExists(const AnsiString& name) {
    std::error_code ec;
    return !name.IsEmpty() && std::filesystem::is_regular_file(ToFsPath(name), ec);
}
} // namespace

AnsiString TSymbol::ResolvedFileName() const {
    if (FileExists(fileName_) || !scheme_ || scheme_->GetFileName().IsEmpty())
        return fileName_;
    AnsiString beside = PathJoin(ExtractFilePath(scheme_->GetFileName()), ExtractFileName(fileName_));
    return FileExists(beside) ? beside : fileName_;
}

std::unique_ptr<ISchemeContext> TSymbol::MakeInner(const AnsiString& path) const {
    int depth = (scheme_ ? scheme_->GetNestingDepth() : 0) + 1;
    const TSymbolSchemeFactory& make = ModelHooks().SymbolSchemes;
    if (depth > kMaxDepth || !FileExists(path) || !make)
        return nullptr;
    return make(path, depth);
}

bool TSymbol::LoadInner(const AnsiString& path) {
    inner_.reset();
    inner_ = MakeInner(path);
    return inner_ != nullptr;
}

void TSymbol::LoadInnerScheme() { LoadInner(ResolvedFileName()); }

void TSymbol::MakePins() {
    pins_.clear();
    if (!inner_)
        return;
    // One pin per connector name: an output when an element drives it inside.
    std::vector<AnsiString> seen;
    uint8_t cls = 0;
    for (TVarDriver* v = inner_->NextVarDriver(cls, true); v; v = inner_->NextVarDriver(cls, false)) {
        if (std::find(seen.begin(), seen.end(), v->Name()) != seen.end())
            continue;
        seen.push_back(v->Name());
        NewPin(v->Name(), cls == 1 || cls == 3 ? 1 : 0);
    }
}

void TSymbol::LoadSymbolFile(const AnsiString& fileName) {
    ChangePins([&] {
        fileName_ = fileName;
        LoadInner(ResolvedFileName());
        MakePins();
        Finish();
    });
    Touch();
}

bool TSymbol::ReloadSymbolFile() {
    std::unique_ptr<ISchemeContext> fresh = MakeInner(ResolvedFileName());
    if (!fresh)
        return false;
    ChangePins([&] {
        inner_ = std::move(fresh);
        MakePins();
        Finish();
    });
    Touch();
    return true;
}

void TSymbol::Translate(TStrings* lines) {
    (void)lines;
    TempNames = "";
    if (!inner_)
        ReportTranslationError("Не найден файл символа "_a + fileName_ + " элемента "_a + Name());
}

bool TSymbol::Properties() {
    IPropertyDialogs* dialogs = ModelHooks().Dialogs;
    if (!dialogs || dialogs->Run(TPropertyDialog::SymbolAction, this) != mrOk)
        return false;
    switch (dialogs->SymbolActionChoice()) {
    case 0:
        // A file that is gone or refused leaves the symbol as it is.
        if (!ReloadSymbolFile()) {
            ShowMessage("Не найден файл символа "_a + fileName_);
            return false;
        }
        return true;
    case 1:
        if (IFrameServices* frame = ModelHooks().Frame)
            frame->OpenSchemeWindow(ResolvedFileName());
        return false;
    case 2:
        return RunDialog(TPropertyDialog::Element);
    default:
        return false;
    }
}

void TSymbol::SaveExtra(ByteWriter& w) const { WriteRecordString(w, fileName_); }

void TSymbol::LoadExtra(ByteReader& r) { fileName_ = ReadRecordString(r); }
