#include "document/DriversInfo.h"

#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "document/OwnIniFile.h"
#include "model/ModelHooks.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/UiPort.h"

const char* const TDriversInfo::DefaultFileName = "bittblsv.btb";
const char* const TDriversInfo::VarDriverName = "var";
std::function<bool()> TDriversInfo::CheckBitOption;

namespace {

bool CheckBitOn() { return TDriversInfo::CheckBitOption && TDriversInfo::CheckBitOption(); }

// The signal-table file.
constexpr int kFileVersion = 1;
const char* const kHeader = "SignalTable";
const char* const kTypes = "DriverTypes";
const char* const kDrivers = "Drivers";
const char* const kBits = "Bits";
const char* const kVarBits = "VarBits";

AnsiString Key(const char* name, int row) { return AnsiString(name) + IntToStr(row); }

AnsiString TableKind() { return "таблицы сигналов"_a; }

template <class T>
bool InRange(const std::vector<T>& v, int index) {
    return index >= 0 && index < int(v.size());
}

template <class T>
T RecordAt(const std::vector<T>& v, int index) {
    return InRange(v, index) ? v[std::size_t(index)] : T{};
}

// Replaces row index, or appends the row for index -1; true when that changed the table.
template <class T>
bool StoreRow(std::vector<T>& rows, int index, const T& row) {
    if (index < 0) {
        rows.push_back(row);
        return true;
    }
    if (rows[std::size_t(index)] == row) return false;
    rows[std::size_t(index)] = row;
    return true;
}

// The first row of users that refers to row index through ref, or null.
template <class U>
const U* FirstUser(const std::vector<U>& users, int U::*ref, int index) {
    for (const U& u : users)
        if (u.*ref == index) return &u;
    return nullptr;
}

// Removes row index; references of users to later rows move down with them.
template <class T, class U>
void RemoveRow(std::vector<T>& rows, int index, std::vector<U>& users, int U::*ref) {
    rows.erase(rows.begin() + index);
    for (U& u : users)
        if (u.*ref > index) --(u.*ref);
}

// One line per row; clear empties the list first.
template <class T, class F>
void FillList(TStrings* list, bool clear, const std::vector<T>& rows, F line) {
    if (!list) return;
    list->BeginUpdate();
    if (clear) list->Clear();
    for (const T& row : rows) list->Add(line(row));
    list->EndUpdate();
}

template <class T>
int IndexOfName(const std::vector<T>& v, const AnsiString& name, int except = -1) {
    for (int i = 0; i < int(v.size()); ++i)
        if (i != except && v[std::size_t(i)].Name == name) return i;
    return -1;
}

// The first row whose name equals name letter case aside but is not exactly it.
template <class T>
int IndexOfCaseTwin(const std::vector<T>& v, const AnsiString& name, int except = -1) {
    for (int i = 0; i < int(v.size()); ++i)
        if (i != except && v[std::size_t(i)].Name != name && SameText(v[std::size_t(i)].Name, name)) return i;
    return -1;
}

} // namespace

// ---- validation and refusals ------------------------------------------------

bool TDriversInfo::IsValidName(const AnsiString& name) {
    // Names end up in blank- and ';'-separated work-file lines and in
    // "name=value" lists, so none of those separators may appear in them.
    if (name.IsEmpty() || name.Length() > MaxNameLength) return false;
    for (unsigned char c : name.view())
        if (c <= ' ' || c == 0x7F || c == ';' || c == '=') return false;
    return true;
}

bool TDriversInfo::IsValidComment(const AnsiString& comment) {
    return comment.Length() <= MaxCommentLength && ownini::IsPlainText(comment);
}

int TDriversInfo::Refuse(int code, const AnsiString& text) {
    lastError_ = text;
    return code;
}

// The end of an editing operation that succeeded.
int TDriversInfo::Done(bool changed) {
    lastError_ = AnsiString();
    if (changed) Modified = true;
    return Ok;
}

// what: the genitive noun of the row kind, as in "имя сигнала".
int TDriversInfo::CheckName(const AnsiString& name, const AnsiString& what) {
    if (name.IsEmpty()) return Refuse(ErrBadName, "Не задано имя "_a + what);
    if (!IsValidName(name)) return Refuse(ErrBadName, "Недопустимое имя "_a + what + ": " + name);
    return Ok;
}

// ---- records ----------------------------------------------------------------

_drvtype TDriversInfo::GetDriverType(int index) const { return RecordAt(types_, index); }
_drv TDriversInfo::GetDriver(int index) const { return RecordAt(drivers_, index); }
_bit TDriversInfo::GetBit(int index) const { return RecordAt(bits_, index); }
_varbit TDriversInfo::GetVarBit(int index) const { return RecordAt(varBits_, index); }

// ---- driver types -----------------------------------------------------------

int TDriversInfo::FindDriverType(const AnsiString& name) const { return IndexOfName(types_, name); }

int TDriversInfo::AddDriverType(const AnsiString& name, int userType) {
    if (int(types_.size()) >= MaxDriverTypes)
        return Refuse(ErrFull, Format("Таблица типов драйверов заполнена: не более %d типов"_a, MaxDriverTypes));
    return EditDriverType(-1, name, userType);
}

// index -1 appends.
int TDriversInfo::EditDriverType(int index, const AnsiString& name, int userType) {
    if (index != -1 && !InRange(types_, index))
        return Refuse(ErrNotFound, Format("Нет типа драйвера с номером %d"_a, index));
    if (int r = CheckName(name, "типа драйвера"_a)) return r;
    if (IndexOfName(types_, name, index) >= 0)
        return Refuse(ErrNameExists, Format("Тип драйвера %s уже есть в таблице"_a, name));
    if (userType < 0 || userType > MaxUserType)
        return Refuse(ErrBadValue,
                      Format("Номер типа драйвера %s должен быть от 0 до %d"_a, name, MaxUserType));
    return Done(StoreRow(types_, index, _drvtype{name, userType}));
}

int TDriversInfo::DeleteDriverType(int index) {
    if (!InRange(types_, index)) return Refuse(ErrNotFound, Format("Нет типа драйвера с номером %d"_a, index));
    if (const _drv* user = FirstUser(drivers_, &_drv::Type, index))
        return Refuse(ErrInUse, Format("Тип драйвера %s используется драйвером %s"_a, types_[std::size_t(index)].Name,
                                       user->Name));
    RemoveRow(types_, index, drivers_, &_drv::Type);
    return Done(true);
}

// ---- drivers ----------------------------------------------------------------

int TDriversInfo::FindDriverNumber(const AnsiString& name) const { return IndexOfName(drivers_, name); }

int TDriversInfo::CheckDriver(const _drv& d, int exceptIndex) {
    if (int r = CheckName(d.Name, "драйвера"_a)) return r;
    if (d.Name == VarDriverName)
        return Refuse(ErrReservedName, "Имя драйвера var занято: так обозначаются соединения"_a);
    if (IndexOfName(drivers_, d.Name, exceptIndex) >= 0)
        return Refuse(ErrNameExists, Format("Драйвер %s уже есть в таблице"_a, d.Name));
    if (d.Type < 0 || d.Type >= int(types_.size()))
        return Refuse(ErrNoDriver, "Не выбран тип драйвера "_a + d.Name);
    if (d.BitCount < 0 || d.BitCount > MaxBitCount)
        return Refuse(ErrBadValue,
                      Format("Число битов драйвера %s должно быть от 0 до %d"_a, d.Name, MaxBitCount));
    if (d.Interrupt < 0 || d.Interrupt > MaxInterrupt)
        return Refuse(ErrBadValue,
                      Format("Прерывание драйвера %s должно быть от 0 до %d"_a, d.Name, MaxInterrupt));
    return Ok;
}

int TDriversInfo::AddDriver(const _drv& d) {
    if (int(drivers_.size()) >= MaxDrivers)
        return Refuse(ErrFull, Format("Таблица драйверов заполнена: не более %d драйверов"_a, MaxDrivers));
    return EditDriver(-1, d);
}

// index -1 appends.
int TDriversInfo::EditDriver(int index, const _drv& d) {
    if (index != -1 && !InRange(drivers_, index))
        return Refuse(ErrNotFound, Format("Нет драйвера с номером %d"_a, index));
    if (int r = CheckDriver(d, index)) return r;
    _drv row = d;
    row.Direction = d.Direction ? 1 : 0;
    return Done(StoreRow(drivers_, index, row));
}

int TDriversInfo::DeleteDriver(int index) {
    if (!InRange(drivers_, index)) return Refuse(ErrNotFound, Format("Нет драйвера с номером %d"_a, index));
    if (const _bit* user = FirstUser(bits_, &_bit::Driver, index))
        return Refuse(ErrInUse, Format("Драйвер %s используется сигналом %s"_a, drivers_[std::size_t(index)].Name,
                                       user->Name));
    RemoveRow(drivers_, index, bits_, &_bit::Driver);
    return Done(true);
}

// ---- bits -------------------------------------------------------------------

int TDriversInfo::FindBitIndex(const AnsiString& name) const { return IndexOfName(bits_, name); }

bool TDriversInfo::FindBit(const AnsiString& name, AnsiString& driverName, int& bitNumber,
                           AnsiString& comment) const {
    int i = FindBitIndex(name);
    if (i < 0) {
        driverName = AnsiString();
        bitNumber = 0;
        comment = AnsiString();
        return false;
    }
    const _bit& b = bits_[std::size_t(i)];
    driverName = drivers_[std::size_t(b.Driver)].Name;
    bitNumber = b.Bit;
    comment = b.Comment;
    return true;
}

int TDriversInfo::FindBitIndexAnyCase(const AnsiString& name) const {
    const int exact = FindBitIndex(name);
    return exact >= 0 ? exact : IndexOfCaseTwin(bits_, name);
}

bool TDriversInfo::FindBitAnyCase(const AnsiString& name, AnsiString& driverName, int& bitNumber,
                                  AnsiString& comment) const {
    const int i = FindBitIndexAnyCase(name);
    return FindBit(i < 0 ? name : bits_[std::size_t(i)].Name, driverName, bitNumber, comment);
}

std::vector<std::pair<TDriversInfo::Row, TDriversInfo::Row>> TDriversInfo::CaseTwins() const {
    std::vector<std::pair<Row, Row>> twins;
    std::unordered_map<std::string, Row> first;
    std::unordered_set<std::string> internal;
    auto visit = [&](const AnsiString& name, Row row) {
        // An internal signal repeated exactly is the one signal again.
        if (row.internal && !internal.insert(name.str()).second) return;
        auto [it, added] = first.try_emplace(AnsiUpperCase(name).str(), row);
        if (!added) twins.emplace_back(it->second, row);
    };
    for (int i = 0; i < int(bits_.size()); ++i) visit(bits_[std::size_t(i)].Name, {false, i});
    for (int i = 0; i < int(varBits_.size()); ++i) visit(varBits_[std::size_t(i)].Name, {true, i});
    return twins;
}

// The "CheckBit" checks: the bit lies inside its driver and no other signal
// (other than the row exceptIndex) occupies it.
int TDriversInfo::CheckBitPlace(int driver, int bit, int exceptIndex) {
    if (loading_ || !CheckBitOn()) return Ok;
    const _drv& d = drivers_[std::size_t(driver)];
    if (bit < 0 || bit >= d.BitCount)
        return Refuse(ErrBitRange, Format("Бит %d не входит в драйвер %s (битов: %d)"_a, bit, d.Name, d.BitCount));
    for (int i = 0; i < int(bits_.size()); ++i) {
        const _bit& b = bits_[std::size_t(i)];
        if (i != exceptIndex && b.Driver == driver && b.Bit == bit)
            return Refuse(ErrBitBusy,
                          Format("Бит %d драйвера %s уже занят сигналом %s"_a, bit, d.Name, b.Name));
    }
    return Ok;
}

// Refuses a name that differs only in letter case from that of a driver
// signal (other than the row exceptBit) or an internal signal.
int TDriversInfo::CheckCaseTwin(const AnsiString& name, int exceptBit) {
    int twin = IndexOfCaseTwin(bits_, name, exceptBit);
    const AnsiString other = twin >= 0                                        ? bits_[std::size_t(twin)].Name
                             : (twin = IndexOfCaseTwin(varBits_, name)) >= 0 ? varBits_[std::size_t(twin)].Name
                                                                              : AnsiString();
    if (twin < 0) return Ok;
    return Refuse(ErrNameExists, Format("Сигнал %s уже есть в таблице как %s: "
                                        "большие и малые буквы в именах сигналов не различаются"_a,
                                        name, other));
}

// Checks a bit row that would stand at index (-1: a new row); gives the
// index of its driver.
int TDriversInfo::CheckBitRow(int index, const AnsiString& name, const AnsiString& driverName, int bitNumber,
                              const AnsiString& comment, int& driver) {
    if (int r = CheckName(name, "сигнала"_a)) return r;
    if (IndexOfName(bits_, name, index) >= 0)
        return Refuse(ErrNameExists, Format("Сигнал %s уже есть в таблице"_a, name));
    // The translation library takes names letter case aside: two such rows
    // would be one signal with two bits. A stored table may hold them; the
    // translation refuses it then.
    if (int r = loading_ ? Ok : CheckCaseTwin(name, index)) return r;
    driver = FindDriverNumber(driverName);
    if (driver < 0)
        return Refuse(ErrNoDriver, driverName.IsEmpty() ? "Не выбран драйвер сигнала "_a + name
                                                        : "Нет драйвера "_a + driverName);
    if (int r = CheckBitPlace(driver, bitNumber, index)) return r;
    if (!IsValidComment(comment)) return Refuse(ErrBadComment, "Недопустимый комментарий сигнала "_a + name);
    return Ok;
}

int TDriversInfo::AddBit(const AnsiString& name, const AnsiString& driverName, int bitNumber,
                         const AnsiString& comment) {
    int driver = -1;
    if (int r = CheckBitRow(-1, name, driverName, bitNumber, comment, driver)) return r;
    if (int(bits_.size()) >= MaxBits)
        return Refuse(ErrFull, Format("Таблица сигналов заполнена: не более %d сигналов"_a, MaxBits));
    return Done(StoreRow(bits_, -1, _bit{name, driver, bitNumber, comment}));
}

int TDriversInfo::EditBit(const AnsiString& oldName, const AnsiString& newName, const AnsiString& driverName,
                          int bitNumber, const AnsiString& comment) {
    int index = FindBitIndex(oldName);
    int driver = -1;
    int r = index < 0 ? Refuse(ErrNotFound, Format("Сигнал %s не найден в таблице"_a, oldName))
                      : CheckBitRow(index, newName, driverName, bitNumber, comment, driver);
    if (r != Ok) {
        MessageDlg(lastError_, mtError, mbOKOnly);
        return r;
    }
    return Done(StoreRow(bits_, index, _bit{newName, driver, bitNumber, comment}));
}

int TDriversInfo::DeleteBit(int index) {
    if (!InRange(bits_, index)) return Refuse(ErrNotFound, Format("Нет сигнала с номером %d"_a, index));
    bits_.erase(bits_.begin() + index);
    return Done(true);
}

// ---- variable signals -------------------------------------------------------

bool TDriversInfo::AddVarBit(const AnsiString& name, const AnsiString& comment) {
    int r = CheckName(name, "сигнала"_a);
    if (r == Ok && IndexOfName(varBits_, name) >= 0)
        r = Refuse(ErrNameExists, Format("Сигнал %s уже есть в таблице"_a, name));
    if (r == Ok) r = CheckCaseTwin(name, -1);
    if (r == Ok && !IsValidComment(comment))
        r = Refuse(ErrBadComment, "Недопустимый комментарий сигнала "_a + name);
    if (r == Ok && int(varBits_.size()) >= MaxVarBits)
        r = Refuse(ErrFull, Format("Таблица переменных сигналов заполнена: не более %d сигналов"_a, MaxVarBits));
    if (r != Ok) {
        MessageDlg(lastError_, mtError, mbOKOnly);
        return false;
    }
    varBits_.push_back({name, comment});
    Done(true);
    return true;
}

void TDriversInfo::CopyVarBits(const TDriversInfo& source) {
    varBits_.insert(varBits_.end(), source.varBits_.begin(), source.varBits_.end());
}

bool TDriversInfo::FindVarBit(const AnsiString& name, AnsiString& comment) const {
    int i = IndexOfName(varBits_, name);
    comment = i < 0 ? AnsiString() : varBits_[std::size_t(i)].Comment;
    return i >= 0;
}

bool TDriversInfo::FindVarBitAnyCase(const AnsiString& name, AnsiString& comment) const {
    if (FindVarBit(name, comment)) return true;
    const int twin = IndexOfCaseTwin(varBits_, name);
    return twin >= 0 && FindVarBit(varBits_[std::size_t(twin)].Name, comment);
}

bool TDriversInfo::SetVarBitComment(const AnsiString& name, const AnsiString& comment) {
    if (!IsValidComment(comment)) {
        Refuse(ErrBadComment, "Недопустимый комментарий сигнала "_a + name);
        MessageDlg(lastError_, mtError, mbOKOnly);
        return false;
    }
    lastError_ = AnsiString();
    // The signal of that name, else the one it names letter case aside (a
    // connector typed "xx" is the table's XX): its comment is not dropped.
    AnsiString target = name, found;
    if (!FindVarBit(name, found))
        if (const int twin = IndexOfCaseTwin(varBits_, name); twin >= 0) target = varBits_[std::size_t(twin)].Name;
    for (_varbit& v : varBits_)
        if (v.Name == target && v.Comment != comment) {
            v.Comment = comment;
            Modified = true;
        }
    return true;
}

int TDriversInfo::DeleteVarBit(int index) {
    if (!InRange(varBits_, index)) return Refuse(ErrNotFound, Format("Нет сигнала с номером %d"_a, index));
    varBits_.erase(varBits_.begin() + index);
    return Done(true);
}

// ---- lists ------------------------------------------------------------------

void TDriversInfo::GetBitNames(TStrings* list) const {
    FillList(list, true, bits_, [](const _bit& b) { return b.Name; });
}

void TDriversInfo::GetDriverNames(TStrings* list) const {
    FillList(list, true, drivers_, [](const _drv& d) { return d.Name; });
}

void TDriversInfo::GetVarBitNames(TStrings* list) const {
    FillList(list, false, varBits_, [](const _varbit& v) { return v.Name; });
}

void TDriversInfo::ListDrivers(TStrings* list) const {
    FillList(list, true, drivers_, [this](const _drv& d) {
        return d.Name + (d.Direction ? " out " : " in ") + types_[std::size_t(d.Type)].Name + " " +
               IntToHex(d.Address, 8) + " " + IntToStr(d.BitCount) + " " + IntToStr(d.Interrupt);
    });
}

void TDriversInfo::ListDriverTypes(TStrings* list) const {
    FillList(list, true, types_, [](const _drvtype& t) { return t.Name + " " + IntToStr(t.UserType); });
}

// ---- whole table ------------------------------------------------------------

void TDriversInfo::Assign(TDriversInfo* destination, const TDriversInfo* source) {
    if (!destination || !source || destination == source) return;
    destination->types_ = source->types_;
    destination->drivers_ = source->drivers_;
    destination->bits_ = source->bits_;
}

void TDriversInfo::Clear() {
    types_.clear();
    drivers_.clear();
    bits_.clear();
    varBits_.clear();
    lastError_ = AnsiString();
}

// ---- the file ----------------------------------------------------------------

bool TDriversInfo::LoadFromFile(const AnsiString& name) {
    const AnsiString path = SettingsFilePath(name);
    Clear();
    FileName = name;
    Modified = false;
    protectedFile_ = AnsiString();
    IniDocument doc;
    ownini::OpenResult opened = ownini::Open(path, kHeader, kFileVersion, doc);
    if (opened == ownini::OpenResult::Missing) return false;
    if (opened != ownini::OpenResult::Ok) {
        protectedFile_ = path;
        ShowMessage(ownini::OpenFailureText(opened, TableKind(), name));
        return false;
    }

    // Rows are added through the editing operations, so a file can never give
    // the table what they would refuse; the optional "CheckBit" checks do not
    // apply, since the table may have been built without them.
    loading_ = true;
    bool damaged = false;
    auto row = [&](bool readOk, auto&& add) {
        if (!readOk || add() != Ok) damaged = true;
    };
    for (int i : ownini::RowNumbers(doc, kTypes, MaxDriverTypes, damaged)) {
        AnsiString typeName;
        int number = 0;
        row(ownini::ReadText(doc, kTypes, Key("Name", i), typeName) &&
                ownini::ReadInt(doc, kTypes, Key("Number", i), 0, MaxUserType, number),
            [&] { return AddDriverType(typeName, number); });
    }
    for (int i : ownini::RowNumbers(doc, kDrivers, MaxDrivers, damaged)) {
        _drv d;
        AnsiString direction, typeName;
        bool ok = ownini::ReadText(doc, kDrivers, Key("Name", i), d.Name) &&
                  ownini::ReadText(doc, kDrivers, Key("Direction", i), direction) &&
                  (direction == "in" || direction == "out") &&
                  ownini::ReadText(doc, kDrivers, Key("Type", i), typeName) &&
                  ownini::ReadHex(doc, kDrivers, Key("Address", i), d.Address) &&
                  ownini::ReadInt(doc, kDrivers, Key("Bits", i), 0, MaxBitCount, d.BitCount) &&
                  ownini::ReadInt(doc, kDrivers, Key("Interrupt", i), 0, MaxInterrupt, d.Interrupt);
        d.Direction = direction == "out" ? 1 : 0;
        d.Type = FindDriverType(typeName);
        row(ok, [&] { return AddDriver(d); });
    }
    for (int i : ownini::RowNumbers(doc, kBits, MaxBits, damaged)) {
        AnsiString bitName, driverName, comment;
        int bit = 0;
        row(ownini::ReadText(doc, kBits, Key("Name", i), bitName) &&
                ownini::ReadText(doc, kBits, Key("Driver", i), driverName) &&
                ownini::ReadInt(doc, kBits, Key("Bit", i), std::numeric_limits<int>::min(),
                                std::numeric_limits<int>::max(), bit) &&
                ownini::ReadText(doc, kBits, Key("Comment", i), comment),
            [&] { return AddBit(bitName, driverName, bit, comment); });
    }
    for (int i : ownini::RowNumbers(doc, kVarBits, MaxVarBits, damaged)) {
        AnsiString varName, comment;
        bool ok = ownini::ReadText(doc, kVarBits, Key("Name", i), varName) &&
                  ownini::ReadText(doc, kVarBits, Key("Comment", i), comment) && IsValidName(varName) &&
                  IsValidComment(comment) && int(varBits_.size()) < MaxVarBits;
        if (ok) varBits_.push_back({varName, comment});
        else damaged = true;
    }
    loading_ = false;
    lastError_ = AnsiString();
    Modified = false;
    if (damaged) ShowMessage(ownini::DamageText(TableKind(), name));
    return !damaged;
}

bool TDriversInfo::SaveToFile(const AnsiString& name) {
    const AnsiString path = SettingsFilePath(name);
    IniDocument doc;
    ownini::Begin(doc, kHeader, kFileVersion);
    doc.Set(kTypes, "Count", IntToStr(GetDriverTypeCount()));
    for (int i = 1; i <= GetDriverTypeCount(); ++i) {
        const _drvtype& t = types_[std::size_t(i - 1)];
        doc.Set(kTypes, Key("Name", i), t.Name);
        doc.Set(kTypes, Key("Number", i), IntToStr(t.UserType));
    }
    doc.Set(kDrivers, "Count", IntToStr(GetDriverCount()));
    for (int i = 1; i <= GetDriverCount(); ++i) {
        const _drv& d = drivers_[std::size_t(i - 1)];
        doc.Set(kDrivers, Key("Name", i), d.Name);
        doc.Set(kDrivers, Key("Direction", i), d.Direction ? "out" : "in");
        doc.Set(kDrivers, Key("Type", i), types_[std::size_t(d.Type)].Name);
        doc.Set(kDrivers, Key("Address", i), IntToHex(d.Address, 8));
        doc.Set(kDrivers, Key("Bits", i), IntToStr(d.BitCount));
        doc.Set(kDrivers, Key("Interrupt", i), IntToStr(d.Interrupt));
    }
    doc.Set(kBits, "Count", IntToStr(GetBitCount()));
    for (int i = 1; i <= GetBitCount(); ++i) {
        const _bit& b = bits_[std::size_t(i - 1)];
        doc.Set(kBits, Key("Name", i), b.Name);
        doc.Set(kBits, Key("Driver", i), drivers_[std::size_t(b.Driver)].Name);
        doc.Set(kBits, Key("Bit", i), IntToStr(b.Bit));
        doc.Set(kBits, Key("Comment", i), b.Comment);
    }
    doc.Set(kVarBits, "Count", IntToStr(GetVarBitCount()));
    for (int i = 1; i <= GetVarBitCount(); ++i) {
        const _varbit& v = varBits_[std::size_t(i - 1)];
        doc.Set(kVarBits, Key("Name", i), v.Name);
        doc.Set(kVarBits, Key("Comment", i), v.Comment);
    }
    if (IsBareFileName(name)) EnsureSettingsFolder();
    // A file that is not a signal table is never written over.
    if (path == protectedFile_ || !ownini::Write(path, doc)) {
        ShowMessage("Невозможно записать файл таблицы сигналов "_a + name);
        return false;
    }
    FileName = name;
    Modified = false;
    return true;
}

// ---- the table in use -------------------------------------------------------

namespace {
TDriversInfo* installedTable = nullptr;

TDriversInfo& ModuleTable() {
    static TDriversInfo table;
    return table;
}
} // namespace

namespace {
// The driver pins of the scheme model read the table in use through this,
// as the translation does: letter case aside.
class TSignalsInUse : public ISignalTable {
public:
    bool FindBit(const AnsiString& name, AnsiString& driverName, int& bitNumber, AnsiString& comment) const override {
        return DriversInUse().FindBitAnyCase(name, driverName, bitNumber, comment);
    }
    int DriverDirection(const AnsiString& driverName) const override {
        int index = DriversInUse().FindDriverNumber(driverName);
        return index < 0 ? -1 : DriversInUse().GetDriver(index).Direction;
    }
    bool FindVarBit(const AnsiString& name, AnsiString& comment) const override {
        return DriversInUse().FindVarBitAnyCase(name, comment);
    }
};

[[maybe_unused]] const bool signalsInstalled = [] {
    static TSignalsInUse signals;
    ModelHooks().Signals = &signals;
    return true;
}();
} // namespace

TDriversInfo& DriversInUse() { return installedTable ? *installedTable : ModuleTable(); }

TDriversInfo* SetDriversInUse(TDriversInfo* table) {
    TDriversInfo* previous = installedTable;
    installedTable = table;
    return previous;
}
