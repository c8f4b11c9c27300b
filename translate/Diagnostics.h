#pragma once
// TDiagnostics: the lines a translation adds to the translator's log and the
// result it returns. A stage reports every problem it finds; the result is
// the kind of the first error, so the user sees all of them at once and the
// caller still learns what went wrong first.

#include <vector>

#include "platform/AnsiString.h"

namespace translate {

class TDiagnostics {
public:
    void Error(int result, const AnsiString& text);
    void Warning(const AnsiString& text);
    int Result() const { return result_; }
    bool Failed() const { return result_ != 0; }
    const std::vector<AnsiString>& Lines() const { return lines_; }
    // Appends the lines to the log file as Windows-1251 text with CR LF line
    // ends, after what the translator saved there. Nothing without lines.
    bool AppendTo(const AnsiString& logFile) const;

private:
    std::vector<AnsiString> lines_;
    int result_ = 0;
};

} // namespace translate
