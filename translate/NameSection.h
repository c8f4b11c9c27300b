#pragma once
// The name section of the debugging copy: one record per named signal, so the
// debugger can show signals by name with their comments. Driver pins,
// connectors, user-named nets and the two null pins are named; the names the
// translation made up for nets and temporary signals ("_var...") are not.

#include <string>
#include <vector>

#include "translate/MemoryMap.h"
#include "translate/WorkFiles.h"

namespace translate {

// Whether a signal gets a record of its own.
bool IsNamedSignal(const TSignal& s);

// The records in the order of the memory map's signals: the operand word
// (not inverted), the name and the comment each ending in a zero byte, and
// two zero bytes. The last record ends without its two trailing bytes, so a
// reader that stops at the end of the file stops inside it.
std::string BuildNameSection(const TMemoryMap& map, const std::vector<TCommentLine>& comments);

} // namespace translate
