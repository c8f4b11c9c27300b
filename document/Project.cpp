#include "document/Project.h"

#include <limits>

#include "document/InitModule.h"
#include "document/OwnIniFile.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/UiPort.h"

const char* const TProject::DefaultFileName = "Project1.prj";
const char* const TProject::DefaultProjectName = "Project1";

namespace {

constexpr int kFileVersion = 1;
const char* const kHeader = "Project";
const char* const kFiles = "Files";

AnsiString ProjectKind() { return "проекта"_a; }

// A name that names its file without help from a directory: "/x", "\x", "C:x".
bool IsStorableEntry(const AnsiString& entry) {
    return !entry.IsEmpty() && ownini::IsPlainText(entry) && !ExtractFileName(entry).IsEmpty();
}

AnsiString PlainText(AnsiString s) {
    for (int i = 1; i <= s.Length(); ++i)
        if ((unsigned char)s[i] < ' ' || s[i] == 0x7F) s[i] = ' ';
    return s;
}

} // namespace

TProject::TProject(TComponent* owner) : TComponent(owner) {}

TProject::~TProject() { Destroying(); }

void TProject::SetFileName(const AnsiString& name) {
    fileName_ = name;
    Modified = true;
}

AnsiString TProject::GetDir() const {
    AnsiString dir = ExtractFilePath(fileName_);
    if (!IsAbsoluteFileName(dir)) dir = PathJoin(GetCurrentDir(), dir);
    return IncludeTrailingPathDelimiter(dir);
}

AnsiString TProject::GetErrorFile() const {
    AnsiString log = InitModule ? InitModule->LogFile : AnsiString("err.log");
    return IsBareFileName(log) ? GetDir() + log : log;
}

// A name as the project file (or a caller) gives it, as an entry: relative
// names, also with '\', lie in the project directory.
// Paths of this system ("/...") are made plain ("//", "." and ".." resolved),
// so that one file has one entry; other absolute names are kept as written.
AnsiString TProject::Resolve(const AnsiString& stored) const {
    if (stored.IsEmpty()) return stored;
    if (stored[1] == '/') return ExpandFileName(stored);
    if (IsAbsoluteFileName(stored)) return stored;
    return ExpandFileName(GetDir() + stored);
}

// An entry as the project file stores it: relative when it lies in the project
// directory. A relative name that would read back as a drive or an absolute
// path ("e:pump.tvs", "C:/x.tvs", "\\x.tvs") is stored behind "./".
AnsiString TProject::ToStored(const AnsiString& entry) const {
    AnsiString dir = GetDir();
    if (entry.Length() > dir.Length() && entry.SubString(1, dir.Length()) == dir) {
        AnsiString relative = entry.SubString(dir.Length() + 1, entry.Length());
        return IsAbsoluteFileName(relative) ? "./" + relative : relative;
    }
    return entry;
}

int TProject::FindBare(const AnsiString& name, int except) const {
    AnsiString bare = ExtractFileName(name);
    if (bare.IsEmpty()) return -1;
    for (int i = 0; i < int(files_.size()); ++i)
        if (i != except && ExtractFileName(files_[std::size_t(i)]) == bare) return i;
    return -1;
}

AnsiString TProject::GetFile(int index) const {
    return index >= 0 && index < int(files_.size()) ? files_[std::size_t(index)] : AnsiString();
}

bool TProject::AddFile(const AnsiString& name) {
    if (name.IsEmpty()) return false;
    AnsiString entry = Resolve(name);
    if (!IsStorableEntry(entry)) {
        ShowMessage("Недопустимое имя файла "_a + name);
        return false;
    }
    if (ContainsFile(entry)) {
        ShowMessage("В проекте уже есть файл "_a + ExtractFileName(entry));
        return false;
    }
    files_.push_back(entry);
    Modified = true;
    NotifyOwner();
    return true;
}

bool TProject::ContainsFile(const AnsiString& name) const { return FindBare(name) >= 0; }

void TProject::DeleteFile(int index) {
    if (index < 0 || index >= int(files_.size())) return;
    files_.erase(files_.begin() + index);
    Modified = true;
    NotifyOwner();
}

void TProject::MoveFileUp(int index) {
    if (index < 1 || index >= int(files_.size())) return;
    std::swap(files_[std::size_t(index)], files_[std::size_t(index - 1)]);
}

void TProject::MoveFileDown(int index) {
    if (index < 0 || index + 1 >= int(files_.size())) return;
    std::swap(files_[std::size_t(index)], files_[std::size_t(index + 1)]);
}

void TProject::ReplaceFile(const AnsiString& newName, const AnsiString& oldName) {
    AnsiString entry = Resolve(newName);
    AnsiString oldBare = ExtractFileName(oldName);
    if (!IsStorableEntry(entry) || oldBare.IsEmpty()) return;
    bool changed = false;
    for (AnsiString& e : files_)
        if (ExtractFileName(e) == oldBare && e != entry) {
            e = entry;
            changed = true;
        }
    if (!changed) return;
    // The new name may now stand twice; the first place keeps it.
    for (int i = int(files_.size()) - 1; i > 0; --i) {
        int first = FindBare(files_[std::size_t(i)], i);
        if (first >= 0 && first < i) files_.erase(files_.begin() + i);
    }
    Modified = true;
    NotifyOwner();
}

AnsiString TProject::FirstFile() {
    cursor_ = 0;
    return GetFile(0);
}

AnsiString TProject::NextFile() {
    if (cursor_ < int(files_.size())) ++cursor_;
    return GetFile(cursor_);
}

AnsiString TProject::GetFilePath(const AnsiString& name) const {
    int i = FindBare(name);
    return i < 0 ? AnsiString() : files_[std::size_t(i)];
}

bool TProject::GetFileNames(const AnsiString&, TStrings* list) const {
    if (!list) return true;
    list->BeginUpdate();
    for (const AnsiString& e : files_) list->Add(ExtractFileName(e));
    list->EndUpdate();
    return true;
}

void TProject::NotifyOwner() {
    if (OnFilesChanged) OnFilesChanged(this);
}

bool TProject::Load() {
    cursor_ = 0;
    IniDocument doc;
    ownini::OpenResult opened = ownini::Open(fileName_, kHeader, kFileVersion, doc);
    if (opened == ownini::OpenResult::Missing) {
        ShowMessage("Не найден файл проекта"_a);
        return false;
    }
    if (opened != ownini::OpenResult::Ok) {
        protectedFile_ = fileName_;
        ShowMessage(ownini::OpenFailureText(opened, ProjectKind(), fileName_));
        return false;
    }
    protectedFile_ = AnsiString();
    bool damaged = false;
    AnsiString name;
    int iterations = 0, convert = 0;
    if (ownini::ReadText(doc, kHeader, "Name", name)) ProjectName = name;
    else damaged = true;
    if (ownini::ReadInt(doc, kHeader, "Iterations", 0, std::numeric_limits<uint16_t>::max(), iterations))
        Iterations = uint16_t(iterations);
    else damaged = true;
    if (ownini::ReadInt(doc, kHeader, "Convert", std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                        convert))
        Convert = convert;
    else damaged = true;

    files_.clear();
    for (int i : ownini::RowNumbers(doc, kFiles, std::numeric_limits<int>::max(), damaged)) {
        AnsiString stored;
        AnsiString entry;
        if (ownini::ReadText(doc, kFiles, "File" + IntToStr(i), stored)) entry = Resolve(stored);
        if (IsStorableEntry(entry) && !ContainsFile(entry)) files_.push_back(entry);
        else damaged = true;
    }
    Modified = false;
    NotifyOwner();
    if (damaged) ShowMessage(ownini::DamageText(ProjectKind(), fileName_));
    return !damaged;
}

bool TProject::Save(bool quiet) {
    if (fileName_.IsEmpty()) {
        if (!quiet) ShowMessage("Не задано имя файла проекта"_a);
        return false;
    }
    IniDocument doc;
    ownini::Begin(doc, kHeader, kFileVersion);
    doc.Set(kHeader, "Name", PlainText(ProjectName));
    doc.Set(kHeader, "Iterations", IntToStr(Iterations));
    doc.Set(kHeader, "Convert", IntToStr(Convert));
    doc.Set(kFiles, "Count", IntToStr(GetFileCount()));
    for (int i = 0; i < GetFileCount(); ++i)
        doc.Set(kFiles, "File" + IntToStr(i + 1), ToStored(files_[std::size_t(i)]));
    // A file that did not load as a project is never written over.
    if (fileName_ == protectedFile_ || !ownini::Write(fileName_, doc)) {
        if (!quiet) ShowMessage(" Невозможно записать файл проекта "_a + fileName_);
        return false;
    }
    Modified = false;
    return true;
}
