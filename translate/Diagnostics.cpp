#include "translate/Diagnostics.h"

#include <filesystem>
#include <string>

#include "platform/FileIO.h"

namespace translate {

void TDiagnostics::Error(int result, const AnsiString& text) {
    lines_.push_back(text);
    if (result_ == 0) result_ = result;
}

void TDiagnostics::Warning(const AnsiString& text) { lines_.push_back("Предупреждение: "_a + text); }

bool TDiagnostics::AppendTo(const AnsiString& logFile) const {
    if (lines_.empty() || logFile.IsEmpty()) return true;
    std::string bytes;
    std::error_code ec;
    // A missing log is started here; one that exists but cannot be read is
    // never written over.
    if (std::filesystem::exists(ToFsPath(logFile), ec) && !ReadWholeFile(logFile, bytes)) return false;
    if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    for (const AnsiString& line : lines_) {
        bytes += line.str();
        bytes += "\r\n";
    }
    return WriteFileAtomic(logFile, bytes);
}

} // namespace translate
