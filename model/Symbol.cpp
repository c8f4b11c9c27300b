#include "model/Symbol.h"

#include <algorithm>
#include <filesystem>
#include <exception>
#include <optional>
#include <vector>

#include "model/Driver.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/UiPort.h"

TSymbol::TSymbol(IEntityOwner* owner) : TElement(owner, TEntityKind::Symbol) { SetWidth(60); }

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
    return ResolveFileName(fileName_, scheme_ ? scheme_->GetFileName() : AnsiString());
}

AnsiString TSymbol::ResolveFileName(const AnsiString& fileName, const AnsiString& schemeFile) {
    if (FileExists(fileName) || schemeFile.IsEmpty())
        return fileName;
    AnsiString beside = PathJoin(ExtractFilePath(schemeFile), ExtractFileName(fileName));
    return FileExists(beside) ? beside : fileName;
}

// ---- one load -------------------------------------------------------------------------

namespace {

struct LoadState {
    // The files being loaded, outermost first, as the file system names them.
    std::vector<std::filesystem::path> path;
    std::int64_t spent = 0;
    // The first file refused for holding itself; whether a bound was reached.
    AnsiString holdsItself;
    bool tooMuch = false;
};

// Loads run on the thread of the windows; a thread of its own keeps its own.
thread_local std::optional<LoadState> current;

std::filesystem::path Identity(const AnsiString& fileName) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(ToFsPath(fileName), ec);
    return ec ? ToFsPath(fileName) : p;
}

} // namespace

TSymbolLoad::TSymbolLoad(const AnsiString& fileName) {
    if (!current) {
        current.emplace();
        outermost_ = true;
    }
    if (!fileName.IsEmpty()) {
        current->path.push_back(Identity(fileName));
        onPath_ = true;
    }
}

TSymbolLoad::~TSymbolLoad() {
    if (onPath_)
        current->path.pop_back();
    if (!outermost_)
        return;
    LoadState done = std::move(*current);
    current.reset();
    // A load that ends by an exception is reported by whoever catches it.
    if (std::uncaught_exceptions() > 0)
        return;
    try {
        if (!done.holdsItself.IsEmpty())
            ShowMessage(HoldsItselfMessage(done.holdsItself));
        if (done.tooMuch)
            ShowMessage(TooMuchMessage());
    } catch (...) {
        // A message that cannot be shown leaves the loaded document as it is.
    }
}

bool TSymbolLoad::Admit(const AnsiString& fileName) {
    if (!current)
        return false;
    const std::filesystem::path id = Identity(fileName);
    if (std::find(current->path.begin(), current->path.end(), id) != current->path.end()) {
        if (current->holdsItself.IsEmpty())
            current->holdsItself = fileName;
        return false;
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(ToFsPath(fileName), ec);
    std::int64_t cost = TSymbol::kMinLoadCost;
    if (!ec && size > std::uintmax_t(cost))
        cost = size > std::uintmax_t(TSymbol::kMaxLoadBytes) ? TSymbol::kMaxLoadBytes + 1 : std::int64_t(size);
    if (current->spent + cost > TSymbol::kMaxLoadBytes) {
        current->tooMuch = true;
        return false;
    }
    current->spent += cost;
    return true;
}

void TSymbolLoad::RefuseTooDeep() {
    if (current)
        current->tooMuch = true;
}

AnsiString TSymbolLoad::HoldsItselfMessage(const AnsiString& fileName) {
    return "Файл символа "_a + fileName + " вложен сам в себя: такой символ не загружен."_a;
}

AnsiString TSymbolLoad::TooMuchMessage() {
    return "Символы вложены слишком глубоко или их слишком много: загружены не все символы."_a;
}

// ---- the symbol ---------------------------------------------------------------------------

std::unique_ptr<ISchemeContext> TSymbol::MakeInner(const AnsiString& path) const {
    int depth = (scheme_ ? scheme_->GetNestingDepth() : 0) + 1;
    const TSymbolSchemeFactory& make = ModelHooks().SymbolSchemes;
    if (!FileExists(path) || !make)
        return nullptr;
    // A symbol loaded on its own (inserted, reloaded) is a load of its own,
    // with the owning document's file on the path.
    TSymbolLoad load(scheme_ ? scheme_->GetFileName() : AnsiString());
    if (depth > kMaxDepth) {
        TSymbolLoad::RefuseTooDeep();
        return nullptr;
    }
    if (!TSymbolLoad::Admit(path))
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
    {
        // A file that is gone or refused leaves the symbol as it is.
        const std::vector<TPinTip> before = PinTips();
        if (!ReloadSymbolFile()) {
            ShowMessage("Не найден файл символа "_a + fileName_);
            return false;
        }
        FollowPinsByName(before, ResolvedFileName());
        return true;
    }
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
