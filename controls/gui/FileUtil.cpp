#include "controls/gui/FileUtil.h"

#include <algorithm>
#include <climits>

#include "controls/gui/Exprgrss.h"

namespace {

int ProgressUnits(std::int64_t bytes) { return int(std::clamp<std::int64_t>(bytes, 0, INT_MAX)); }

} // namespace

void CopyFile(const AnsiString& fileName, const AnsiString& destName, TControl* progressControl) {
    CopyFileEx(fileName, destName, false, false, progressControl);
}

void CopyFileEx(const AnsiString& fileName, const AnsiString& destName, bool overwriteReadOnly, bool shellDialog,
                TControl* progressControl) {
    TCopyProgress progress;
    if (progressControl) {
        bool started = false;
        progress = [progressControl, started](std::int64_t size, std::int64_t copied) mutable {
            if (!started) {
                started = true;
                SetProgressMax(progressControl, ProgressUnits(size));
                SetProgressMin(progressControl, 0);
            }
            SetProgressValue(progressControl, ProgressUnits(copied));
        };
    }
    CopyFileEx(fileName, destName, overwriteReadOnly, shellDialog, progress);
}
