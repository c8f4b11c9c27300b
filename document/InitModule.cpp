#include "document/InitModule.h"

#include <limits>

#include "document/OwnIniFile.h"
#include "model/ModelHooks.h"
#include "platform/FileNames.h"
#include "platform/IniFile.h"
#include "platform/UiPort.h"

TInitModule* InitModule = nullptr;
const char* const TInitModule::DefaultFileName = "graphic.ini";

namespace {

const char* const kParams = "Params";
const char* const kFiles = "Files";
const char* const kElement = "Element";
const char* const kHeader = "Tarvelion";

// The lines of StrConst: the header's key with the settings file's layout
// version, then the default names of the work files, in the order of their
// keys.
enum ConstLine { kcIdentKey, kcIdent, kcFirstFileName };
const char* const kConstants[] = {"Ident", "1", "1.$$$", "2.$$$", "3.$$$", "4.$$$", "5.$$$", "tvca.dat", "tvca.txt",
                                  "err.log"};
// The lines of StrMsg.
enum MsgLine { kmCannotWrite, kmUnusableValues };

constexpr int kMaxInt = std::numeric_limits<int>::max();

enum class Kind { Color, Int, Bool, BareName, Path };

// One setting: where it lives in the file, what values it accepts, its
// default and the field that holds it.
struct Setting {
    const char* section;
    AnsiString key;
    Kind kind;
    int def = 0;
    int lo = 0;
    int hi = 0;
    int text = -1; // the line of StrConst that holds the default of a name
    int32_t TInitModule::*number = nullptr;
    bool TInitModule::*flag = nullptr;
    AnsiString TInitModule::*name = nullptr;
};

Setting Color(const char* section, AnsiString key, TColor def, TColor TInitModule::*field) {
    return {section, std::move(key), Kind::Color, def, 0, 0, -1, field, nullptr, nullptr};
}
Setting Int(const char* section, AnsiString key, int def, int lo, int hi, int32_t TInitModule::*field) {
    return {section, std::move(key), Kind::Int, def, lo, hi, -1, field, nullptr, nullptr};
}
Setting Bool(const char* section, AnsiString key, bool def, bool TInitModule::*field) {
    return {section, std::move(key), Kind::Bool, def, 0, 1, -1, nullptr, field, nullptr};
}
Setting Name(Kind kind, AnsiString key, int defLine, AnsiString TInitModule::*field) {
    return {kFiles, std::move(key), kind, 0, 0, 0, defLine, nullptr, nullptr, field};
}

// Every setting, in the order of the key list SL.
const std::vector<Setting>& Settings() {
    using M = TInitModule;
    static const std::vector<Setting> settings = {
        Color(kElement, "Цвет фона"_a, 0, &M::BackColor),
        Color(kElement, "Цвет связи (элементов)"_a, 255, &M::LinkColor),
        Color(kElement, "Цвет сетки"_a, clGray, &M::GridColor),
        Color(kElement, "Цвет назв. элементов"_a, 255, &M::ElementNameColor),
        Color(kElement, "Цвет пустого вывода"_a, clYellow, &M::EmptyPinColor),
        Color(kElement, "Цвет названия драйвера"_a, clWhite, &M::DriverNameColor),
        Color(kElement, "Цвет прерывистой"_a, 8421504, &M::DashColor),
        Color(kElement, "Цвет названия связи (схем)"_a, clFuchsia, &M::ChainNameColor),
        Color(kElement, "Цвет атрибутов таймера"_a, clYellow, &M::TimerAttrColor),
        Color(kElement, "Цвет входного драйвера"_a, clLime, &M::InDriverColor),
        Color(kElement, "Цвет выходного драйвера"_a, RGB(255, 128, 0), &M::OutDriverColor),
        Color(kElement, "Цвет драйвера"_a, clSilver, &M::DriverColor),
        Color(kElement, "Цвет пересечения"_a, clYellow, &M::JunctionColor),
        Color(kElement, "Цвет выделенной связи"_a, 16776960, &M::SelectedLinkColor),
        Color(kElement, "Цвет текста"_a, clWhite, &M::TextColor),
        Color(kElement, "Цвет выбранных"_a, clAqua, &M::SelectedColor),
        Int(kElement, "Размер текста"_a, 8, 1, 100, &M::TextSize),
        Color(kElement, "Цвет фона FSM"_a, 16777215, &M::FsmBackColor),
        Int(kElement, "Радиус состояния "_a, 30, 1, 1000, &M::StateRadius),
        Color(kElement, "Цвет состояния "_a, 32768, &M::StateColor),
        Color(kElement, "Цвет активного состояния "_a, 16711935, &M::ActiveStateColor),
        Color(kElement, "Цвет перехода"_a, 8388608, &M::TransitionColor),
        Color(kElement, "Цвет условия"_a, 8421504, &M::CondColor),
        Color(kElement, "Цвет выделенного условия"_a, 65535, &M::SelectedCondColor),
        Color(kElement, "Цвет текста условия"_a, 65535, &M::CondTextColor),
        Int(kParams, "Сетка"_a, 10, 1, TInitModule::MaxGridStep, &M::GridStep),
        Bool(kParams, "Сетка видна"_a, true, &M::GridVisible),
        Int(kParams, "Максимальная ширина"_a, 800, 1, TInitModule::MaxSheetSize, &M::MaxWidth),
        Int(kParams, "Максимальная высота"_a, 600, 1, TInitModule::MaxSheetSize, &M::MaxHeight),
        Int(kParams, "Период автосохранения"_a, 10, 1, TInitModule::MaxAutoSavePeriod, &M::AutoSavePeriod),
        Bool(kParams, "Проверять порядок элементов"_a, true, &M::CheckOrder),
        Int(kParams, "Инкремент таймера"_a, 50, 1, kMaxInt, &M::TimerIncrement),
        Int(kParams, "Максимальное значение таймера"_a, 50000000, 0, kMaxInt, &M::TimerMax),
        Int(kParams, "Минимальное значение таймера"_a, 50, 0, kMaxInt, &M::TimerMin),
        Int(kParams, "Кратность таймера"_a, 50, 1, kMaxInt, &M::TimerMultiple),
        Name(Kind::BareName, "Типы драйверов"_a, kcFirstFileName + 0, &M::DriverTypesFile),
        Name(Kind::BareName, "Драйвера"_a, kcFirstFileName + 1, &M::DriversFile),
        Name(Kind::BareName, "Сигналы"_a, kcFirstFileName + 2, &M::SignalsFile),
        Name(Kind::BareName, "Элементы"_a, kcFirstFileName + 3, &M::ElementsFile),
        Name(Kind::BareName, "Комментарии"_a, kcFirstFileName + 4, &M::CommentsFile),
        Name(Kind::BareName, "TVCA файл"_a, kcFirstFileName + 5, &M::DataFile),
        Name(Kind::BareName, "Файл булевой логики"_a, kcFirstFileName + 6, &M::LogicFile),
        Name(Kind::Path, "Log файл"_a, kcFirstFileName + 7, &M::LogFile),
    };
    return settings;
}

// A colour value as settings store it: an RGB value or one of the desktop's
// system colours.
bool ValidColor(int v) {
    uint32_t u = uint32_t(v);
    return u <= 0xFFFFFFu || ((u & 0xFFFFFF00u) == 0x80000000u && (u & 0xFFu) <= 24);
}

void SetDefault(TInitModule& m, const Setting& s) {
    if (s.number) m.*s.number = s.def;
    else if (s.flag) m.*s.flag = s.def != 0;
    else m.*s.name = m.StrConst->GetList()->Strings(s.text);
}

bool ValidName(const Setting& s, const AnsiString& text) {
    return s.kind == Kind::BareName ? TInitModule::IsBareName(text) : TInitModule::IsPathName(text);
}

// Takes the text read from the file; false when it is no value of the setting.
bool Accept(TInitModule& m, const Setting& s, const AnsiString& text) {
    int v = 0;
    switch (s.kind) {
    case Kind::Color:
        if (!TryStrToInt(text, v) || !ValidColor(v)) return false;
        m.*s.number = v;
        return true;
    case Kind::Int:
        if (!TryStrToInt(text, v) || v < s.lo || v > s.hi) return false;
        m.*s.number = v;
        return true;
    case Kind::Bool:
        if (TryStrToInt(text, v)) m.*s.flag = v != 0;
        else if (SameText(text, "true") || SameText(text, "false")) m.*s.flag = SameText(text, "true");
        else return false;
        return true;
    case Kind::BareName:
    case Kind::Path:
        if (!ValidName(s, text)) return false;
        m.*s.name = text;
        return true;
    }
    return false;
}

// A value whose surrounding blanks or quotes the reader would strip is written
// quoted, so that it reads back as itself.
AnsiString Quoted(const AnsiString& v) {
    if (v.IsEmpty()) return v;
    char first = v[1], last = v[v.Length()];
    bool strip = first == ' ' || last == ' ' || first == '"' || first == '\'';
    return strip ? "\"" + v + "\"" : v;
}

// The scheme model reads its colours and limits from the settings module of
// the running program through this.
class TSchemeSettingsOfModule : public ISchemeSettings {
public:
    bool SchemeSetting(TSchemeSetting which, int& value) const override {
        const TInitModule* m = InitModule;
        if (!m) return false;
        switch (which) {
        case TSchemeSetting::BackColor: value = m->BackColor; break;
        case TSchemeSetting::LinkColor: value = m->LinkColor; break;
        case TSchemeSetting::SelectedLinkColor: value = m->SelectedLinkColor; break;
        case TSchemeSetting::SelectedColor: value = m->SelectedColor; break;
        case TSchemeSetting::ElementNameColor: value = m->ElementNameColor; break;
        case TSchemeSetting::EmptyPinColor: value = m->EmptyPinColor; break;
        case TSchemeSetting::DriverNameColor: value = m->DriverNameColor; break;
        case TSchemeSetting::ChainNameColor: value = m->ChainNameColor; break;
        case TSchemeSetting::TimerAttrColor: value = m->TimerAttrColor; break;
        case TSchemeSetting::InDriverColor: value = m->InDriverColor; break;
        case TSchemeSetting::OutDriverColor: value = m->OutDriverColor; break;
        case TSchemeSetting::DriverColor: value = m->DriverColor; break;
        case TSchemeSetting::JunctionColor: value = m->JunctionColor; break;
        case TSchemeSetting::DashColor: value = m->DashColor; break;
        case TSchemeSetting::TimerMultiple: value = m->TimerMultiple; break;
        case TSchemeSetting::CheckOrder: value = m->CheckOrder ? 1 : 0; break;
        case TSchemeSetting::MaxWidth: value = m->MaxWidth; break;
        case TSchemeSetting::MaxHeight: value = m->MaxHeight; break;
        default: return false;
        }
        return true;
    }
};

[[maybe_unused]] const bool schemeSettingsInstalled = [] {
    static TSchemeSettingsOfModule settings;
    ModelHooks().Settings = &settings;
    return true;
}();

} // namespace

TInitModule::TInitModule(TComponent* owner, const AnsiString& fileName) : TComponent(owner), fileName_(fileName) {
    auto list = [this](const char* name) {
        auto* l = new TQKStrList(this);
        l->SetName(name);
        return l;
    };
    SL = list("SL");
    SectionIni = list("SectionIni");
    StrConst = list("StrConst");
    StrMsg = list("StrMsg");
    IrqList = list("IrqList");
    for (const Setting& s : Settings()) SL->GetList()->Add(s.key);
    for (const char* section : {kParams, kFiles, kElement, kHeader}) SectionIni->GetList()->Add(section);
    for (const char* text : kConstants) StrConst->GetList()->Add(text);
    StrMsg->GetList()->Add("Невозможно записать файл настроек "_a);
    StrMsg->GetList()->Add("В файле настроек %s неверные значения заменены стандартными: %s"_a);
    for (int i = 0; i <= 15; ++i) IrqList->GetList()->Add(IntToStr(i));
    if (!InitModule) InitModule = this;
    Read();
}

TInitModule::~TInitModule() {
    Destroying();
    if (!Write()) ShowMessage(StrMsg->GetList()->Strings(kmCannotWrite) + fileName_);
    if (InitModule == this) InitModule = nullptr;
}

bool TInitModule::IsBareName(const AnsiString& name) {
    return !name.IsEmpty() && ownini::IsPlainText(name) && IsBareFileName(name) && name.Trim() != "." &&
           name.Trim() != "..";
}

bool TInitModule::IsPathName(const AnsiString& name) { return !name.IsEmpty() && ownini::IsPlainText(name); }

void TInitModule::SetDefaults() {
    AnsiString comments = CommentsFile;
    for (const Setting& s : Settings()) SetDefault(*this, s);
    CommentsFile = comments;
}

// Every field is set here, from the file or from its default.
void TInitModule::Read() {
    TMemIniFile ini(fileName_);
    AnsiString unusable;
    auto report = [&unusable](const AnsiString& key) {
        unusable += (unusable.IsEmpty() ? "" : ", ") + key.TrimRight();
    };
    for (const Setting& s : Settings()) {
        SetDefault(*this, s);
        if (!ini.ValueExists(s.section, s.key)) continue;
        if (!Accept(*this, s, ini.ReadString(s.section, s.key, AnsiString()))) report(s.key);
    }
    // The delay limits must leave a range between them.
    if (TimerMin > TimerMax) {
        for (const Setting& s : Settings())
            if (s.number == &TInitModule::TimerMin || s.number == &TInitModule::TimerMax) {
                SetDefault(*this, s);
                report(s.key);
            }
    }
    if (!unusable.IsEmpty())
        ShowMessage(Format(StrMsg->GetList()->Strings(kmUnusableValues), ini.FileName(), unusable));
}

bool TInitModule::Write() {
    try {
        TMemIniFile ini(fileName_);
        const TStringList* constants = StrConst->GetList();
        ini.WriteString(kHeader, constants->Strings(kcIdentKey), constants->Strings(kcIdent));
        for (const Setting& s : Settings()) {
            if (s.number) ini.WriteInteger(s.section, s.key, this->*s.number);
            else if (s.flag) ini.WriteBool(s.section, s.key, this->*s.flag);
            else if (ValidName(s, this->*s.name)) ini.WriteString(s.section, s.key, Quoted(this->*s.name));
        }
        ini.UpdateFile();
        return true;
    } catch (const EIniFileException&) {
        return false;
    }
}
