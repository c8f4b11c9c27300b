#pragma once
// The fixed records of a ".fsm" file after the two shared headers: the pin
// header with the signal counts, the 21-byte signal names, and the tagged
// bodies of states (136 bytes), transitions (88) and condition boxes (152).
// Every body is zero-filled before its fields are put in, so the bytes of a
// file depend on the machine alone.

#include <cstdint>

#include "document/FileHeader.h"
#include "platform/AnsiString.h"
#include "platform/Bytes.h"

namespace fsmfile {

constexpr int kPinHeaderOffset = 128; // after FileHeader (52) and FileSignature (76)
constexpr int kPinHeaderSize = 100;
constexpr int kNamesOffset = kPinHeaderOffset + kPinHeaderSize; // 228
constexpr int kNameCapacity = 20;  // SmallString<20>
constexpr int kNameSize = 1 + kNameCapacity;
constexpr int kTextCapacity = 80;  // state names and condition texts
constexpr int kStateBodySize = 136;
constexpr int kTransitionBodySize = 88;
constexpr int kConditionBodySize = 152;
// The most signals a machine may have on either side; a file claiming more is damaged.
constexpr int kMaxSignals = 120;

// Coordinates read from a file are kept within this distance of the origin,
// so that no arithmetic on them can overflow.
constexpr int32_t kCoordLimit = 1000000;
int32_t ClampCoord(int32_t v);
// A state's centre stays a largest radius (1000) further in, so that a
// transition end snapped onto its circle still lies within kCoordLimit.
constexpr int32_t kStateLimit = kCoordLimit - 1000;
int32_t ClampStateCoord(int32_t v);

// The versions a file may carry: 7 is written; 5 and 6 read the same way.
constexpr int32_t kVersion = 7;
constexpr int32_t kRefusedOldVersion = 2;
inline bool IsReadableVersion(int32_t v) { return v == 5 || v == 6 || v == 7; }

enum Tag : uint8_t { kTagTransition = 0, kTagState = 1, kTagCondition = 2, kTagReset = 3 };
// The body size of a tag, 0 for a tag no writer emits.
int BodySize(uint8_t tag);

struct PinHeader {
    int32_t Inputs = 0;
    int32_t Outputs = 0;
    void Write(ByteWriter& w) const;
    static PinHeader Read(ByteReader& r);
    static constexpr int kInputsOffset = 84;
    static constexpr int kOutputsOffset = 88;
};

struct StateRecord {
    int32_t Number = 0;
    int32_t X = 0, Y = 0;
    AnsiString Name; // cut to 80 characters
    void Write(ByteWriter& w) const; // body only
    static StateRecord Read(ByteReader& r);
};

struct TransitionRecord {
    int32_t Number = 0;
    int32_t X[4] = {0, 0, 0, 0};
    int32_t Y[4] = {0, 0, 0, 0};
    int32_t Source = 0; // the source state's id; never read back
    int32_t Target = 0; // the target state's id; never read back
    uint8_t Straight = 0;
    void Write(ByteWriter& w) const;
    static TransitionRecord Read(ByteReader& r);
};

struct ConditionRecord {
    int32_t Id = 0; // never read back
    int32_t X = 0, Y = 0;
    int32_t AnchorX = 0, AnchorY = 0;
    AnsiString Text; // cut to 80 characters
    int32_t Owner = 0; // the owner's record number, 0 for none
    uint8_t OwnerIsTransition = 0; // never read back
    void Write(ByteWriter& w) const;
    static ConditionRecord Read(ByteReader& r);
};

// The three headers and the presence of the names, checked as a reader must
// before it trusts anything after them.
enum class HeaderStatus { Ok, PreviousVersion, OldVersion, Damaged };
// Leaves the reader at the first name when the answer is Ok.
HeaderStatus ReadHeaders(ByteReader& r, FileHeader* header, PinHeader* pins);
// The message that refuses a file for that status ("" for Ok).
AnsiString RefusalMessage(HeaderStatus status);

} // namespace fsmfile
