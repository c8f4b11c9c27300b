#include "fsm/FsmServices.h"

#include <filesystem>
#include <system_error>

#include "fsm/FsmRecords.h"
#include "fsm/fsmScheme.h"
#include "platform/FileIO.h"
#include "platform/UiPort.h"

namespace {

bool Exists(const AnsiString& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(ToFsPath(name), ec);
}

// The file's bytes with their headers checked; false when missing or refused.
bool ReadChecked(const AnsiString& fileName, std::string& bytes, fsmfile::PinHeader* pins,
                 fsmfile::HeaderStatus* status) {
    *status = fsmfile::HeaderStatus::Damaged;
    if (!Exists(fileName) || !ReadWholeFile(fileName, bytes)) return false;
    ByteReader r(bytes);
    FileHeader header;
    *status = fsmfile::ReadHeaders(r, &header, pins);
    return *status == fsmfile::HeaderStatus::Ok;
}

} // namespace

bool TFsmServices::ReadPins(const AnsiString& fileName, TStrings* inputs, TStrings* outputs) {
    std::string bytes;
    fsmfile::PinHeader pins;
    fsmfile::HeaderStatus status;
    if (!ReadChecked(fileName, bytes, &pins, &status)) return false;
    ByteReader r(bytes);
    r.Seek(fsmfile::kNamesOffset);
    if (inputs) inputs->Clear();
    if (outputs) outputs->Clear();
    for (int i = 0; i < pins.Inputs; ++i) {
        const AnsiString name = r.SmallString(fsmfile::kNameCapacity);
        if (inputs) inputs->Add(name);
    }
    for (int i = 0; i < pins.Outputs; ++i) {
        const AnsiString name = r.SmallString(fsmfile::kNameCapacity);
        if (outputs) outputs->Add(name);
    }
    return true;
}

bool TFsmServices::WritePins(const AnsiString& fileName, TStrings* inputs, TStrings* outputs) {
    std::string bytes;
    fsmfile::PinHeader pins;
    fsmfile::HeaderStatus status;
    if (!ReadChecked(fileName, bytes, &pins, &status)) {
        if (Exists(fileName)) ShowMessage(fsmfile::RefusalMessage(status));
        return false;
    }
    const int in = inputs ? inputs->Count() : 0, out = outputs ? outputs->Count() : 0;
    // The names lie in front of the records: a different count would move
    // every record, so only names of equal counts are written in place.
    if (in != pins.Inputs) {
        ShowMessage("Несовпадение количества входных сигналов в схеме и элементе!"_a);
        return false;
    }
    if (out != pins.Outputs) {
        ShowMessage("Несовпадение количества выходных сигналов в схеме и элементе!"_a);
        return false;
    }
    ByteWriter names;
    for (int i = 0; i < in; ++i) names.SmallString(inputs->Get(i), fsmfile::kNameCapacity);
    for (int i = 0; i < out; ++i) names.SmallString(outputs->Get(i), fsmfile::kNameCapacity);
    bytes.replace(fsmfile::kNamesOffset, names.Size(), names.Data());
    if (!WriteFileAtomic(fileName, bytes)) {
        ShowMessage(CannotCreateFileText(fileName));
        return false;
    }
    return true;
}

bool TFsmServices::AppendTransitionTable(const AnsiString& fileName, TStrings* lines) {
    if (!Exists(fileName)) return false;
    TFSMScheme document;
    document.SetFileName(fileName);
    if (!document.LoadFromFile() || !document.IsValid()) return false;
    document.Translate(lines);
    return true;
}

void InstallFsmServices() {
    static TFsmServices services;
    ModelHooks().Fsm = &services;
}
