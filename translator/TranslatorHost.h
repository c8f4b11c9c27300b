#pragma once
// What a translation run needs of the program around it, and nothing more:
// the frame (disabled while a run works, repainted at fixed points, its scheme
// windows saved before a project run), the progress window and the stored
// options of the frame's form storage. The translator sits below the windows,
// so it reaches them through the interfaces here, which the frame binds at
// start-up. With nothing bound, the headless defaults work: nothing is
// disabled or repainted, progress is only recorded, and the options are the
// values set through TranslatorOptions().Set (all false at first).

#include <functional>
#include <map>

#include "platform/AnsiString.h"

class TProject;

// The progress window as a translation drives it: maximum, position (read
// back to advance one step), its line of text, shown or hidden.
class ITranslationProgress {
public:
    virtual ~ITranslationProgress() = default;
    virtual void SetMax(int max) = 0;
    virtual void SetProgress(int position) = 0;
    virtual int ProgressPosition() const = 0;
    virtual void SetProgressText(const AnsiString& text) = 0;
    virtual void ShowProgress() = 0;
    virtual void HideProgress() = 0;
};

// The progress of a run without a window: the values are kept so that what a
// run reported can be read back.
class TProgressRecord : public ITranslationProgress {
public:
    void SetMax(int max) override { Max = max; }
    void SetProgress(int position) override { Pos = position; }
    int ProgressPosition() const override { return Pos; }
    void SetProgressText(const AnsiString& text) override { Text = text; }
    void ShowProgress() override { Shown = true; }
    void HideProgress() override { Shown = false; }

    int Max = 100;
    int Pos = 0;
    AnsiString Text;
    bool Shown = false;
};

// The frame as a run needs it.
class ITranslatorFrame {
public:
    virtual ~ITranslatorFrame() = default;
    // Disables or enables the frame (and with it every window of the program).
    virtual void SetFrameEnabled(bool enabled) = 0;
    // Lets pending painting, timers and posted calls through, but no user
    // input, so that the windows repaint while a run works.
    virtual void LetWindowsRepaint() = 0;
    // Writes the document of every scheme window to its file (untitled ones
    // are skipped), so that a project run reads what the user sees. False
    // when a scheme of the project could not be written (the document has
    // shown why): the run would read an older file than the window shows.
    virtual bool SaveSchemeWindows(const TProject& project) = 0;
};

struct TTranslatorHooks {
    ITranslatorFrame* Frame = nullptr;        // null: nothing to disable, repaint or save
    ITranslationProgress* Progress = nullptr; // null: the run reports into HeadlessProgress
    TProgressRecord HeadlessProgress;

    ITranslationProgress& ProgressWindow() { return Progress ? *Progress : HeadlessProgress; }
};

TTranslatorHooks& TranslatorHooks();

// The stored options the runs read, by their names in the frame's form
// storage. The frame binds Query to its storage; unbound, the values given to
// Set answer, and a name never set is false.
class TTranslatorOptions {
public:
    static const char* const DoTextLogicFile; // write the Boolean-logic text
    static const char* const SortBits;        // comments file in driver and bit order
    static const char* const CheckBit;        // the signal table's bit checks
    static const char* const CheckSchemes;    // the options dialog's "схемы при трансляции"

    std::function<bool(const AnsiString& name)> Query;
    bool Get(const AnsiString& name) const;
    void Set(const AnsiString& name, bool value) { values_[name] = value; }
    void Reset() { values_.clear(); }

private:
    std::map<AnsiString, bool> values_;
};

TTranslatorOptions& TranslatorOptions();

// Keeps the frame disabled while it lives. Scopes nest (the frame's command
// and the run it starts may both hold one): the first disables the frame, the
// last one to end enables it again, on every way out.
class TFrameDisabledScope {
public:
    TFrameDisabledScope();
    ~TFrameDisabledScope();
    TFrameDisabledScope(const TFrameDisabledScope&) = delete;
    TFrameDisabledScope& operator=(const TFrameDisabledScope&) = delete;
    // Whether some scope holds the frame disabled now.
    static bool FrameDisabled();
};
