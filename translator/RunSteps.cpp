#include "translator/RunSteps.h"

#include "document/DriversInfo.h"
#include "document/Project.h"
#include "fsm/FsmServices.h"
#include "platform/FileIO.h"
#include "platform/UiPort.h"
#include "translator/ScanOrder.h"

// ---- texts ------------------------------------------------------------------------------

namespace runtext {
AnsiString Ok() { return "Ок"_a; }
// The first letter is the Latin capital T, the rest Cyrillic, as the log has always read.
AnsiString TranslationOk() { return AnsiString("T") + "рансляция Ок"_a; }
AnsiString TranslationFailed() { return "Ошибка трансляции!!!"_a; }
AnsiString OrderQuestion(const AnsiString& path) {
    return (path.IsEmpty() ? "Схема не упорядочена!"_a : "Схема "_a + path + " не упорядочена!"_a) +
           " Установить порядок обработки  по именам?"_a;
}
AnsiString WritingWorkFiles() { return "Запись временных файлов..."_a; }
AnsiString ErrorsQuestion() { return "Обнаружены ошибки\nПросмотреть результаты?"_a; }
} // namespace runtext

namespace {
AnsiString Key(const AnsiString& line) { return AnsiUpperCase(line); }

const AnsiString kVarDriverField = ";_VAR_Driver_;";
} // namespace

// ---- TLineSet -----------------------------------------------------------------------------

TLineSet::TLineSet(TStrings& list) : list_(list) {
    for (int i = 0; i < list.Count(); ++i)
        seen_.insert(Key(list.Get(i)).str());
}

bool TLineSet::AddOnce(const AnsiString& line) {
    if (!seen_.insert(Key(line).str()).second)
        return false;
    list_.Add(line);
    return true;
}

bool TLineSet::Add(const AnsiString& line) {
    list_.Add(line);
    return seen_.insert(Key(line).str()).second;
}

// ---- the frame of a run ----------------------------------------------------------------------

TLogFile::Run::Run(TLogFile& log) : log_(log) {
    if (log.running_)
        return;
    started_ = true;
    log.running_ = true;
    log.firstError_ = AnsiString();
    log.firstWarning_ = AnsiString();
    previousLog_ = ModelHooks().Log;
    ModelHooks().Log = &log;
    // A state-machine element needs the state-machine files to write its
    // table; a program that bound nothing still translates it.
    previousFsm_ = ModelHooks().Fsm;
    if (!previousFsm_) {
        static TFsmServices fsmFiles;
        ModelHooks().Fsm = &fsmFiles;
    }
}

TLogFile::Run::~Run() {
    if (!started_)
        return;
    ModelHooks().Log = previousLog_;
    ModelHooks().Fsm = previousFsm_;
    log_.running_ = false;
}

void TLogFile::Run::Advance() const { Progress().SetProgress(Progress().ProgressPosition() + 1); }

void TLogFile::Run::Show(const AnsiString& text) const { Progress().SetProgressText(text); }

void TLogFile::Run::LetWindowsRepaint() const {
    if (ITranslatorFrame* frame = TranslatorHooks().Frame)
        frame->LetWindowsRepaint();
}

void TLogFile::Run::UseLists(TStrings& elements, TStrings& signalList, TStrings& comments) {
    elements_ = &elements;
    signals_ = &signalList;
    comments_ = std::make_unique<TLineSet>(comments);
}

void TLogFile::Run::Failed(const AnsiString& what) { log_.Error("Ошибка при трансляции: "_a + what); }

void TLogFile::Run::Save(const TStrings& list, const AnsiString& fileName) const {
    if (SaveList(list, fileName))
        return;
    // The run stops here, so the file named is the first that failed.
    log_.Error("Невозможно записать рабочие файлы трансляции: "_a + fileName);
    throw TRunStopped();
}

bool TLogFile::Run::CheckSignalTable() {
    const TDriversInfo& table = DriversInUse();
    auto row = [&table](TDriversInfo::Row r) {
        if (r.internal)
            return table.GetVarBit(r.index).Name + " (внутренний сигнал)"_a;
        const _bit b = table.GetBit(r.index);
        return b.Name + " (драйвер "_a + table.GetDriver(b.Driver).Name + ", бит "_a + IntToStr(b.Bit) + ")";
    };
    const std::vector<std::pair<TDriversInfo::Row, TDriversInfo::Row>> twins = table.CaseTwins();
    for (const auto& [first, second] : twins)
        log_.Error("В таблице сигналов сигналы "_a + row(first) + " и "_a + row(second) +
                   " различаются только регистром букв: для трансляции это один сигнал. "_a
                   "Переименуйте или удалите один из них."_a);
    return twins.empty();
}

// ---- one scheme ---------------------------------------------------------------------------------

void TLogFile::Run::TranslateDrivers(TScheme& scheme) {
    for (TDriver* d = scheme.FirstDriver(); d; d = scheme.NextDriver()) {
        // The signal line, as the pin writes it.
        d->Translate(signals_);
        if (d->Kind() == TEntityKind::Driver) {
            // Looked up as the library compares names: a pin typed "Lamp" is
            // the table's LAMP, not a second signal of the same name.
            AnsiString driver, comment;
            int bit = 0;
            if (!d->FindSignal(driver, bit, comment)) {
                // Not bound to a driver bit: warned about once; the pin wrote
                // it as an internal signal.
                if (unknownPins_.insert(Key(d->Name()).str()).second)
                    log_.Warning("Сигнал "_a + d->Name() + " не найден в таблице сигналов."_a);
                continue;
            }
            if (Statistics)
                ++Statistics[d->GetDirection() == 0 ? TProject::StatInputs : TProject::StatOutputs];
            comments_->AddOnce(IntToStr(bit) + ";" + d->Name() + ";" + driver + ";" + comment);
            continue;
        }
        if (transitions_.AddOnce("0;" + d->Name() + kVarDriverField + d->GetComment()) && Statistics)
            ++Statistics[TProject::StatTransitions];
        ++VarCount;
    }
}

namespace {
AnsiString Described(const TScheme::TSource& s) {
    switch (s.kind) {
    case TScheme::TSource::Signal: return "сигнал "_a + s.shown;
    case TScheme::TSource::SymbolInput: return "вход символа "_a + s.shown;
    case TScheme::TSource::Output: break;
    }
    return (s.output >= 0 ? "выход "_a + IntToStr(s.output) + " элемента "_a : "выход элемента "_a) + s.shown;
}

bool SameFeed(const TScheme::TSource& a, const TScheme::TSource& b) {
    return a.kind != TScheme::TSource::Output && b.kind != TScheme::TSource::Output && SameText(a.name, b.name);
}
} // namespace

void TLogFile::Run::ListOutsideFeeds(const TScheme& scheme) {
    listed_.push_back(scheme.GetFileName());
    std::vector<TScheme::TFeed> feeds;
    scheme.ListFeeds(feeds);
    for (const TScheme::TFeed& f : feeds)
        outsideFeeds_[Key(f.name).str()].push_back({scheme.GetFileName(), {scheme.GetName(), f.source}});
}

const TScheme::TOutsideFeed* TLogFile::Run::FeedOf(const AnsiString& name, const TScheme& scheme) const {
    auto it = outsideFeeds_.find(Key(name).str());
    if (it == outsideFeeds_.end())
        return nullptr;
    for (const auto& [file, feed] : it->second)
        if (file != scheme.GetFileName())
            return &feed;
    return nullptr;
}

void TLogFile::Run::ListCopiesElsewhere(TScheme& scheme) {
    if (outsideFeeds_.empty())
        return;
    // The naming that the run does again when the scheme's turn comes.
    TStringList names;
    scheme.BuildNetNames(&names, 0, this);
    std::vector<TScheme::TLooseCopy> copies;
    scheme.ListLooseCopies(copies);
    const auto at = [&](const AnsiString& file) { return std::find(listed_.begin(), listed_.end(), file); };
    for (const TScheme::TLooseCopy& c : copies) {
        if (!c.elsewhere)
            continue;
        // The writer is the one FeedOf gave the naming: the first in the project's order.
        auto it = outsideFeeds_.find(Key(c.source).str());
        if (it == outsideFeeds_.end())
            continue;
        for (const auto& [file, feed] : it->second)
            if (file != scheme.GetFileName()) {
                if (feed.source.kind == TScheme::TSource::Output && at(file) < at(scheme.GetFileName())) {
                    copiesElsewhere_[Key(c.source).str()].push_back({file, c});
                    carried_.insert((scheme.GetFileName() + "\n" + Key(c.source)).str());
                }
                break;
            }
    }
}

void TLogFile::Run::NameNets(TScheme& scheme) {
    int first = signals_->Count();
    VarCount = scheme.BuildNetNames(signals_, VarCount, outsideFeeds_.empty() ? nullptr : this);
    for (int i = first; i < signals_->Count(); ++i)
        if (transitions_.Add("0;" + signals_->Get(i) + kVarDriverField) && Statistics)
            ++Statistics[TProject::StatTemporaries];
    // A chain carries one source's value: with two the net naming would keep
    // one of them and silently drop the other.
    std::vector<TScheme::TSourceConflict> conflicts;
    scheme.ListSourceConflicts(conflicts);
    for (const TScheme::TSourceConflict& c : conflicts) {
        AnsiString where = "В схеме "_a + scheme.GetName() +
                           (c.symbol.IsEmpty() ? AnsiString() : " в символе "_a + c.symbol) +
                           (c.connector ? " соединитель "_a : " цепь "_a) + c.chain;
        bool signals = c.first.kind == TScheme::TSource::Signal && c.second.kind == TScheme::TSource::Signal;
        log_.Error(where + (signals ? " соединяет разные сигналы "_a + c.first.shown + " и "_a + c.second.shown
                                    : " соединяет "_a + Described(c.first) + " и "_a + Described(c.second)) +
                   ".");
    }
    // A chain without a source of its own whose names two sources write elsewhere.
    std::vector<TScheme::TOutsideConflict> outside;
    scheme.ListOutsideConflicts(outside);
    for (const TScheme::TOutsideConflict& c : outside) {
        AnsiString text = "В схеме "_a + scheme.GetName() + " цепь "_a + c.chain + " получает "_a +
                          Described(c.first.source) + " из схемы "_a + c.first.scheme + " и "_a +
                          Described(c.second.source) + " из схемы "_a + c.second.scheme + ".";
        if (c.first.source.kind == TScheme::TSource::Signal && c.second.source.kind == TScheme::TSource::Signal)
            log_.Error(text);
        else
            log_.Warning(text);
    }
    CheckConnectorFeeds(scheme);
}

namespace {
// Which of two sources of a connector its readers get: a copy of an input
// runs first in the scan, an element writes it where it stands, the earlier
// scheme's element before the later one's.
AnsiString WhoReadsWhat(const TScheme::TSource& earlier, const AnsiString& earlierScheme,
                        const TScheme::TSource& later, const AnsiString& laterScheme) {
    const bool firstOutput = earlier.kind == TScheme::TSource::Output;
    const bool secondOutput = later.kind == TScheme::TSource::Output;
    if (firstOutput && secondOutput) {
        const AnsiString first = Described(earlier) + " схемы "_a + earlierScheme;
        const AnsiString second = Described(later) + " схемы "_a + laterScheme;
        return " Элементы, обрабатываемые после элемента "_a + earlier.shown + " схемы "_a + earlierScheme +
               " и до элемента "_a + later.shown + " схемы "_a + laterScheme + ", читают "_a + first +
               ", остальные — "_a + second + ".";
    }
    const TScheme::TSource& output = firstOutput ? earlier : later;
    const TScheme::TSource& signal = firstOutput ? later : earlier;
    return " Элементы, обрабатываемые после элемента "_a + output.shown + ", читают его выход, остальные — "_a +
           Described(signal) + ".";
}
} // namespace

void TLogFile::Run::CheckConnectorFeeds(const TScheme& scheme) {
    std::vector<TScheme::TFeed> feeds;
    scheme.ListFeeds(feeds);
    for (const TScheme::TFeed& f : feeds) {
        if (!f.connector)
            continue;
        auto [it, added] = connectorFeeds_.try_emplace(Key(f.name).str(), Feed{scheme.GetName(), f.source});
        Feed& feed = it->second;
        if (added || feed.reported || SameFeed(feed.source, f.source))
            continue;
        feed.reported = true;
        AnsiString text = "Соединитель "_a + f.name + " получает "_a + Described(feed.source) + " в схеме "_a +
                          feed.scheme + " и "_a + Described(f.source) + " в схеме "_a + scheme.GetName() + ".";
        if (feed.source.kind == TScheme::TSource::Signal && f.source.kind == TScheme::TSource::Signal)
            log_.Error(text);
        else
            log_.Warning(text + WhoReadsWhat(feed.source, feed.scheme, f.source, scheme.GetName()));
    }
}

namespace {
// The signal an output pin line ("%" + name + blanks + "out ...") writes, or empty.
AnsiString WrittenName(const AnsiString& line) {
    const int blank = line.Pos(" ");
    if (line.Length() < 2 || line[1] != '%' || blank < 3)
        return AnsiString();
    return line.SubString(blank, line.Length()).TrimLeft().SubString(1, 4) == "out " ? line.SubString(2, blank - 2)
                                                                                      : AnsiString();
}

void AddCopyBlock(TStrings& lines, const TScheme::TLooseCopy& c) {
    lines.Add("_cpy" + c.source + " and");
    for (const AnsiString& t : c.targets)
        lines.Add(TElement::PinLine(t, true, false));
    lines.Add(TElement::PinLine(c.source, false, false));
    lines.Add("");
}
} // namespace

void TLogFile::Run::TranslateElements(TScheme& scheme) {
    scanOrder_.BeginScheme(scheme.GetName());
    // The copies that no element's block carries: those of input signals go
    // in front of the scan, the others in front of the scheme. Of a name
    // written in another scheme: after the block that writes it when that
    // scheme comes first (ListCopiesElsewhere), else in front of the scan
    // after the input copies (nothing writes the name before this scheme).
    // All write before every element of the scheme, so no reader of theirs
    // is read before its writer: the scan-order check takes them as early writes.
    std::vector<TScheme::TLooseCopy> copies;
    scheme.ListLooseCopies(copies);
    const int firstInputCopy = inputCopies_.Count(), firstRead = inputReads_.Count(), firstCopy = elements_->Count();
    for (const TScheme::TLooseCopy& c : copies) {
        if (!c.elsewhere)
            AddCopyBlock(c.ofInput ? static_cast<TStrings&>(inputCopies_) : *elements_, c);
        else if (!carried_.count((scheme.GetFileName() + "\n" + Key(c.source)).str()))
            AddCopyBlock(inputReads_, c);
    }
    scanOrder_.AddCopies(inputCopies_, firstInputCopy, true);
    scanOrder_.AddCopies(inputReads_, firstRead, true);
    scanOrder_.AddCopies(*elements_, firstCopy, false);
    for (TElement* e = scheme.NextByNumber(true); e; e = scheme.NextByNumber(false)) {
        if (Statistics) {
            ++Statistics[TProject::StatElements];
            AnsiString label = e->Label();
            if (label == "timer" || label == "predtimer")
                ++Statistics[TProject::StatTimers];
        }
        const int first = elements_->Count();
        e->Translate(elements_);
        AddCopiesElsewhere(scheme, first);
        scanOrder_.AddElement(*e, *elements_, first);
        elements_->Add("");
        // Temporary signals: names each followed by ';', up to the first empty one.
        AnsiString rest = e->TempNames;
        for (int cut = rest.Pos(";"); cut > 1; cut = rest.Pos(";")) {
            signals_->Add(rest.SubString(1, cut - 1));
            ++VarCount;
            if (Statistics)
                ++Statistics[TProject::StatTemporaries];
            rest = rest.SubString(cut + 1, rest.Length());
        }
    }
    // Warned, not counted: the program runs, but those inputs never see an edge.
    for (const AnsiString& warning : scanOrder_.Warnings())
        log_.Warning(warning);
}

void TLogFile::Run::AddCopiesElsewhere(const TScheme& scheme, int first) {
    if (copiesElsewhere_.empty())
        return;
    const int end = elements_->Count();
    for (int i = first; i < end; ++i) {
        auto it = copiesElsewhere_.find(Key(WrittenName(elements_->Get(i))).str());
        if (it == copiesElsewhere_.end())
            continue;
        // Laid out as the element's own copy blocks: the caller closes the last.
        for (const auto& [file, copy] : it->second)
            if (file == scheme.GetFileName()) {
                if (!elements_->Get(elements_->Count() - 1).IsEmpty())
                    elements_->Add("");
                elements_->Add("_cpy" + copy.source + " and");
                for (const AnsiString& t : copy.targets)
                    elements_->Add(TElement::PinLine(t, true, false));
                elements_->Add(TElement::PinLine(copy.source, false, false));
            }
    }
}

void TLogFile::Run::FinishElements() {
    // The whole scan is known: inputs that only a later scheme writes.
    for (const AnsiString& warning : scanOrder_.LaterSchemeWarnings())
        log_.Warning(warning);
    inputCopies_.AddStrings(&inputReads_);
    inputReads_.Clear();
    if (inputCopies_.Count() == 0)
        return;
    inputCopies_.AddStrings(elements_);
    elements_->Assign(&inputCopies_);
    inputCopies_.Clear();
}

bool TLogFile::Run::OrderAndCheckBits(bool byDrivers, TStrings& drivers) {
    TStrings& comments = comments_->List();
    int conflict;
    if (byDrivers) {
        conflict = log_.SortByDrivers(comments, drivers);
    } else {
        TStringList copy;
        copy.Assign(&comments);
        log_.SortBits(comments, drivers);
        conflict = log_.SortByDrivers(copy, drivers);
    }
    return conflict != 0;
}

// ---- the library ------------------------------------------------------------------------------------

void TLogFile::Run::CallLibrary(const LibraryCall& call) {
    TTranslationLibrary library(log_.LibraryName);
    if (!library.Loaded() || !library.HasGenerate()) {
        AnsiString text = library.Loaded() ? "Не могу загрузить\n процедуру трансляции"_a
                                           : "Не могу загрузить\n библиотеку трансляции"_a;
        MessageDlg(text, mtError, mbYesOnly, 0);
        // Counted: the data files of an earlier run must not pass for this run's.
        log_.Error(text);
        if (!library.LoadError().IsEmpty())
            log_.Message(library.LoadError());
        return;
    }
    Save(log_.Messages, call.LogFile);
    int first = library.Generate(call.Files, call.FirstData, call.LogFile, call.Iterations, call.FirstFlag);
    // A debugging copy that could not be written fails the run as well: the
    // debugger would otherwise load an old copy after a reported success.
    int second = 0;
    if (first == 0 && !call.SecondData.IsEmpty())
        second = library.Generate(call.Files, call.SecondData, call.LogFile, call.Iterations, 0);
    // What the library appended to the log file becomes part of the log.
    std::string bytes;
    if (ReadWholeFile(call.LogFile, bytes))
        log_.Messages.SetText(AnsiString(std::move(bytes)));
    if (first != 0 || second != 0) {
        log_.Error(runtext::TranslationFailed());
        return;
    }
    log_.Message(runtext::TranslationOk());
    if (call.ConvertData.IsEmpty())
        return;
    if (!library.HasConvert()) {
        log_.Message("Не могу загрузить процедуру конвертации"_a);
        log_.Error("Ошибка конвертации!!!"_a);
        return;
    }
    if (library.Convert(call.ConvertData) == 0)
        log_.Message("Конвертация Ок"_a);
    else
        log_.Error("Ошибка конвертации!!!"_a);
}
