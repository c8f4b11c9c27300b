#pragma once
// The element kinds of a scheme, in one table. Everything a kind is known by
// elsewhere is derived from its row: the TEntityKind enumerator and the tag
// of its records, its class and the scheme document's factory for it
// (TScheme::Create...), the type keyword a new element carries and writes in
// its netlist header, the controller record type that keyword asks for, a new
// element's name and pins, how the element dialog and the copy command give
// it a count, and its entry in the element dialog. The rows are read by
// model/ElementKinds.cpp (the rows as data, new elements, copies),
// model/Records.cpp (objects by record tag), document/Scheme.h (the
// factories) and editor/InsertElement.cpp (the dialog's list).
//
// Adding a kind: a row here (the next free tag) and its class in
// model/Elements.h; a kind that the controller runs as a record type of its
// own also needs that type in controller/ElementTypes.h, its record in
// translate/CodeGenerator.cpp, its decoding and scan in the emulator core
// (debugger/ElementCode.cpp, debugger/Vac.cpp) and its equations in the
// Boolean-logic text (translator/LogicText.cpp). docs/file-formats.md and
// docs/netlist.md describe every kind; tests/model/ElementKindsTest.cpp
// holds the table to them.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "controller/ElementTypes.h"
#include "platform/AnsiString.h"

class IEntityOwner;
class TElement;

// How a new element of a kind takes a count, given by the element dialog
// ("Входов" or "Выходов") or read from the element a copy is made of.
enum class TKindCount : uint8_t {
    Fixed,       // none: the kind's own pins (a copy too)
    Inputs,      // its inputs "In": the dialog's count, a copy's inputs
    Outputs,     // its outputs "Out": the dialog's count, a copy's outputs
    Factors,     // made with that many pre-set factor inputs: the dialog's count, a copy's inputs but two
    MadeOutputs, // made with that many numbered outputs: the dialog's count, a copy's outputs
    Pairs,       // data pairs: the dialog's count (2n + 1 pins), a copy's inputs as its pin count
    Machine,     // not in the dialog; a copy takes the inputs and outputs of its source
    NoCopy,      // not in the dialog and never copied
};

// What a new element takes besides its count.
enum class TKindExtra : uint8_t {
    None,
    Delay,  // a delay: the dialog's, a copy's source's
    Height, // a copy takes its source's height
};

// The element dialog's entry for a kind.
struct TInsertEntry {
    int Position;            // in the dialog's list, from 0; -1 when the dialog does not offer the kind
    const char* Text;        // the list entry, shown in double quotes (UTF-8)
    const char* DefaultName; // the name the dialog proposes
    int MaxCount;            // the largest count; 0 when no count is asked for
};
#define GE_OFFERED(position, text, name, max) (TInsertEntry{position, text, name, max})
#define GE_NOT_OFFERED (TInsertEntry{-1, nullptr, nullptr, 0})

// The table. Columns:
//   kind and record tag; class; the scheme document's factory (its arguments
//   are the class constructor's after the owner); type keyword (nullptr: the
//   user gives it); controller record type (-1: none); a new element's name;
//   its pins in list order; count; the count the factory makes a record's
//   element with before its body is read (and the count of a kind whose
//   count is fixed); extra; element dialog entry.
// Pins: "name<" an input, "name>" an output, "~" after it inverted; "A0..A7<"
// the pins A0 to A7, "0..7>" the pins 0 to 7; "Out>*4" four pins "Out". Every
// box is 40 wide and 10 + 10 x max(inputs, outputs) high, the inputs on its
// left edge and the outputs on its right, one every 10; symbols and driver
// pins size themselves.
// The wire (TEntityKind::Link, tag 27) is not an element and has no row.
// clang-format off
#define GE_ELEMENT_KINDS(X)                                                                                          \
    X(Element, 1, TElement, CreateElement, nullptr, -1, "", "", NoCopy, 0, None, GE_NOT_OFFERED)                     \
    X(And, 2, TAndElement, CreateAndElement, "and", etAnd, "AND", "Out> In< In<", Inputs, 0, None,                   \
      GE_OFFERED(0, "И", "AND", 8))                                                                                  \
    X(Or, 3, TOrElement, CreateOrElement, "or", etOr, "OR", "Out> In< In<", Inputs, 0, None,                         \
      GE_OFFERED(1, "ИЛИ", "OR", 8))                                                                                 \
    X(Xor, 4, TXorElement, CreateXorElement, "xor", etXor, "XOR", "Out> In< In<", Fixed, 0, None,                    \
      GE_OFFERED(2, "Искл. ИЛИ", "XOR", 0))                                                                          \
    X(Trigger, 5, TTriggerElement, CreateTriggerElement, "trigger", etTrigger, "RS", "S< R< Q> Q>~", Fixed, 0, None, \
      GE_OFFERED(3, "Триггер", "Trigger", 0))                                                                        \
    X(Timer, 6, TTimerElement, CreateTimerElement, "timer", etTimer, "TIMER", "In< Reset< Out>", Fixed, 0, Delay,    \
      GE_OFFERED(4, "Таймер", "Timer", 0))                                                                           \
    X(PredTimer, 7, TPredTimerElement, CreatePredTimerElement, "predtimer", etPredTimer, "PTIMER", "In< Reset< Out>", \
      Factors, 2, Delay, GE_OFFERED(5, "Таймер с предустановом", "PredTimer", 8))                                    \
    X(DTrigger, 8, TDTriggerElement, CreateDTriggerElement, "dtrigger", etDTrigger, "DT", "D< C< Q> Q>~", Fixed, 0,  \
      None, GE_OFFERED(6, "D Триггер", "DTrigger", 0))                                                               \
    X(Counter, 9, TCounterElement, CreateCounterElement, "cnt", etCnt, "CNT", "C< R< Out>*4", Outputs, 0, None,      \
      GE_OFFERED(7, "Счетчик", "Counter", 8))                                                                        \
    X(Decoder, 10, TDecoderElement, CreateDecoderElement, "dcd", etDcd, "DCD", "0..3< Out>*10", Outputs, 0, None,    \
      GE_OFFERED(8, "Дешифратор", "Decoder", 10))                                                                    \
    X(DRSTrigger, 11, TDRSTriggerElement, CreateDRSTriggerElement, "drstrigger", etDrsTrigger, "DRS",                \
      "S< D< C< R< Q> Q>~", Fixed, 0, None, GE_OFFERED(9, "D RS Триггер", "DRSTrigger", 0))                          \
    X(D8Trigger, 12, TD8TriggerElement, CreateD8TriggerElement, "d8trigger", etD8Trigger, "D8",                      \
      "D0..D7< C< R< 0..7>", Fixed, 0, None, GE_OFFERED(10, "Регистр", "Register", 0))                               \
    X(D8RSCounter, 13, TD8RSCounterElement, CreateD8RSCounterElement, "d8rscnt", etD8RsCnt, "CNT8",                  \
      "D0..D7< L< R< C< 0..7>", Fixed, 0, None, GE_OFFERED(11, "D 8 RS Счетчик", "RSCounter", 0))                    \
    X(ByteCompare, 14, TByteCompareElement, CreateByteCompareElement, "cbyte", etCByte, "CMP",                       \
      "A0..A7< B0..B7< >> => <>", Fixed, 0, None, GE_OFFERED(12, "Компаратор", "Comparing", 0))                      \
    X(ReverCounter, 15, TReverCounterElement, CreateReverCounterElement, "rcnt", etRCnt, "RCNT",                     \
      "C< P< Dir< Out>*4", Outputs, 0, None, GE_OFFERED(14, "Реверсивный счетчик", "RCounter", 8))                   \
    X(Case, 16, TCaseElement, CreateCaseElement, "cdec", etCDec, "CASE", "0..7<", MadeOutputs, 1, Height,            \
      GE_OFFERED(13, "Матрица8", "CASEDec", 16))                                                                     \
    X(Case16, 17, TCase16Element, CreateCase16Element, "cdec16", etCDec16, "CASE16", "0..15<", MadeOutputs, 1, None, \
      GE_OFFERED(15, "Матрица16", "CASE", 16))                                                                       \
    X(CaseMask, 18, TCaseMaskElement, CreateCaseMaskElement, "cMask", etCMask, "CMASK", "0..15<", MadeOutputs, 1,    \
      None, GE_OFFERED(16, "Маскированная матрица", "CASEMask", 16))                                                 \
    X(CaseDiap, 19, TCaseDiapElement, CreateCaseDiapElement, "cDiap", etCDiap, "CDIAP", "0..15<", Fixed, 6, None,    \
      GE_OFFERED(17, "Матрица диапазонов", "CASEDiap", 0))                                                           \
    X(Commutator, 20, TCommutatorElement, CreateCommutatorElement, "commut", etCommut, "COMMUT", "", Pairs, 0, None, \
      GE_OFFERED(18, "Коммутатор", "Commutator", 8))                                                                 \
    X(Filter, 21, TFilterElement, CreateFilterElement, "filter", etFilter, "FILTER", "0..11< Hold< 0..11>", Fixed,   \
      0, None, GE_OFFERED(19, "Фильтр", "Filter", 0))                                                                \
    X(Goto, 22, TGotoElement, CreateGotoElement, "ifgoto", etIfGoto, "GOTO", "In<", Fixed, 0, None,                  \
      GE_OFFERED(20, "Переход", "Goto", 0))                                                                          \
    X(Symbol, 23, TSymbol, CreateSymbol, "symbol", -1, "Symbol", "", NoCopy, 0, None, GE_NOT_OFFERED)                \
    X(FSM, 24, TFSM, CreateFSM, "fsm", etMachine, "FSM", "", Machine, 0, None, GE_NOT_OFFERED)                       \
    X(Driver, 25, TDriver, CreateDriver, "driver", -1, "", "", NoCopy, 0, None, GE_NOT_OFFERED)                      \
    X(VarDriver, 26, TVarDriver, CreateVarDriver, "var", -1, "", "", NoCopy, 0, None, GE_NOT_OFFERED)
// clang-format on

// Every class of the table.
#define GE_DECLARE_KIND_CLASS(kind, tag, cls, ...) class cls;
GE_ELEMENT_KINDS(GE_DECLARE_KIND_CLASS)
#undef GE_DECLARE_KIND_CLASS

// The kind of an object; also the one-byte tag of its record in scheme files.
enum class TEntityKind : uint8_t {
#define GE_KIND_ENUMERATOR(kind, tag, ...) kind = tag,
    GE_ELEMENT_KINDS(GE_KIND_ENUMERATOR)
#undef GE_KIND_ENUMERATOR
    Link = 27, // a wire
    // Never stored:
    Point = 100, // a connection point of the nets
    Pin = 101,
};

// One row of the table.
struct TElementKind {
    TEntityKind Kind;
    const char* Keyword;
    int Type;
    const char* Name;
    const char* Pins;
    TKindCount Count;
    int DefaultCount;
    TKindExtra Extra;
    TInsertEntry Entry;
    // A new element of the kind owned by owner; count goes to a constructor
    // that takes one and is ignored otherwise.
    TElement* (*Make)(IEntityOwner* owner, int count);
};

// How many kinds the element dialog offers.
#define GE_COUNT_OFFERED(kind, tag, cls, factory, keyword, type, name, pins, count, made, extra, entry) \
    +((entry).Position >= 0 ? 1 : 0)
inline constexpr int kOfferedKindCount = 0 GE_ELEMENT_KINDS(GE_COUNT_OFFERED);
#undef GE_COUNT_OFFERED

// The rows in tag order.
std::span<const TElementKind> ElementKinds();
// The row of a kind; null for the wire and the kinds never stored.
const TElementKind* FindElementKind(TEntityKind kind);
// The row of a type keyword (exact, case-sensitive); null when no kind has it.
const TElementKind* FindElementKind(const AnsiString& keyword);

// A pin of a new element.
struct TPinSpec {
    AnsiString Name;
    int Direction = 0; // 0 input, 1 output
    bool Inverse = false;
};
// The pins of a row's Pins column, in list order.
std::vector<TPinSpec> ParsePinSpec(const char* pins);
// The pins of a new element of the kind (parsed once).
const std::vector<TPinSpec>& DefaultPins(TEntityKind kind);

// A new element of an offered kind as the element dialog makes it: with the
// dialog's count and, for a kind with a delay, its delay.
TElement* NewElement(const TElementKind& kind, IEntityOwner* owner, int count, int delay);
// A copy of a device as the copy command makes it: a new element of the kind
// of the source's type keyword with the source's counts (and delay, when the
// source is a timer, or height), handed to add as soon as it is made and
// before the counts are applied. Null (and nothing added) when no kind of
// that keyword is copied.
TElement* NewCopy(const TElement& source, IEntityOwner* owner, const std::function<void(TElement*)>& add);
