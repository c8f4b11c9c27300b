#pragma once
// TInitModule: the program's settings. One instance (global InitModule) is
// created at start-up, reads the settings file "graphic.ini" from the settings
// folder and keeps the values for the whole run; every other part reads them
// here. The values go back to the file when the module is destroyed at exit.
//
// Each setting is named in the file by its key (the Russian names below, one
// of them with a trailing blank) in one of the sections "Params", "Files" and
// "Element"; the header section "Tarvelion" holds "Ident". A value that is
// missing takes its default; a value that is present but unusable (not a
// number, out of range, a file name with a directory where a bare name is
// needed) also takes its default, and those keys are reported once.
// docs/settings.md lists every setting with its section, key and default.

#include <cstdint>
#include <vector>

#include "controls/QKStrList.h"
#include "platform/Color.h"

class TInitModule : public TComponent {
public:
    static const char* const DefaultFileName; // "graphic.ini"
    // Limits that keep the drawing area and the timers usable.
    static constexpr int MaxSheetSize = 30000;
    static constexpr int MaxGridStep = 100;
    static constexpr int MaxAutoSavePeriod = 60;

    // Reads the settings file (a bare name lies in the settings folder).
    explicit TInitModule(TComponent* owner, const AnsiString& fileName = DefaultFileName);
    // Writes the settings back; a failed write is reported.
    ~TInitModule() override;

    // ---- section "Element": scheme colours (0x00BBGGRR) and text ----
    TColor BackColor;          // "Цвет фона"
    TColor LinkColor;          // "Цвет связи (элементов)"
    TColor GridColor;          // "Цвет сетки"
    TColor ElementNameColor;   // "Цвет назв. элементов"
    TColor EmptyPinColor;      // "Цвет пустого вывода"
    TColor DriverNameColor;    // "Цвет названия драйвера"
    TColor DashColor;          // "Цвет прерывистой"
    TColor ChainNameColor;     // "Цвет названия связи (схем)"
    TColor TimerAttrColor;     // "Цвет атрибутов таймера"
    TColor InDriverColor;      // "Цвет входного драйвера"
    TColor OutDriverColor;     // "Цвет выходного драйвера"
    TColor DriverColor;        // "Цвет драйвера"
    TColor JunctionColor;      // "Цвет пересечения"
    TColor SelectedLinkColor;  // "Цвет выделенной связи"
    TColor TextColor;          // "Цвет текста"
    TColor SelectedColor;      // "Цвет выбранных"
    int32_t TextSize;          // "Размер текста"
    // ---- section "Element": state-machine drawing ----
    TColor FsmBackColor;       // "Цвет фона FSM"
    int32_t StateRadius;       // "Радиус состояния " (trailing blank)
    TColor StateColor;         // "Цвет состояния " (trailing blank)
    TColor ActiveStateColor;   // "Цвет активного состояния " (trailing blank)
    TColor TransitionColor;    // "Цвет перехода"
    TColor CondColor;          // "Цвет условия"
    TColor SelectedCondColor;  // "Цвет выделенного условия"
    TColor CondTextColor;      // "Цвет текста условия"

    // ---- section "Params" ----
    int32_t GridStep;          // "Сетка"
    bool GridVisible;          // "Сетка видна"
    int32_t MaxWidth;          // "Максимальная ширина"
    int32_t MaxHeight;         // "Максимальная высота"
    int32_t AutoSavePeriod;    // "Период автосохранения" (minutes)
    bool CheckOrder;           // "Проверять порядок элементов"
    int32_t TimerIncrement;    // "Инкремент таймера"
    int32_t TimerMax;          // "Максимальное значение таймера"
    int32_t TimerMin;          // "Минимальное значение таймера"
    int32_t TimerMultiple;     // "Кратность таймера" (timer tick in ms)

    // ---- section "Files": bare names, placed in the project directory ----
    AnsiString DriverTypesFile; // "Типы драйверов"
    AnsiString DriversFile;     // "Драйвера"
    AnsiString SignalsFile;     // "Сигналы"
    AnsiString ElementsFile;    // "Элементы"
    AnsiString CommentsFile;    // "Комментарии"
    AnsiString DataFile;        // "TVCA файл"
    AnsiString LogicFile;       // "Файл булевой логики"
    // The log may also name a path; a bare name lies in the project directory.
    AnsiString LogFile;         // "Log файл"

    // Tables of constant texts read by index: SL holds every key in the order
    // of the list above, SectionIni the section names ("Params", "Files",
    // "Element", "Tarvelion"), StrConst the header's key "Ident" with the
    // file's layout version and then the default work-file names in the
    // order of their keys, StrMsg the module's two messages (the file cannot
    // be written; unusable values were replaced), IrqList the interrupt
    // numbers "0" to "15".
    TQKStrList* SL;
    TQKStrList* SectionIni;
    TQKStrList* StrConst;
    TQKStrList* StrMsg;
    TQKStrList* IrqList;

    // Every setting to its default at once; the comments file name stays.
    void SetDefaults();
    // The name offered first when a project is opened: none.
    AnsiString GetDefaultProjectName() const { return AnsiString(); }

    // The settings file's path, and reading and writing it explicitly (the
    // constructor and the destructor do this). Read reports unusable values
    // once; Write returns false when the file cannot be written.
    const AnsiString& FileName() const { return fileName_; }
    void Read();
    bool Write();

    // Whether a text can be the value of a bare work-file name setting, and
    // of the log's name (which may name a folder too).
    static bool IsBareName(const AnsiString& name);
    static bool IsPathName(const AnsiString& name);

private:
    AnsiString fileName_;
};

// The settings module of the running program (the first one created).
extern TInitModule* InitModule;
