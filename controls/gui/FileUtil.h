#pragma once
// The file copies of FileUtil.h that drive a progress control: any control
// the progress registry knows (Exprgrss.h). Its maximum becomes the source's
// size, its minimum 0, its value the bytes copied so far after each block,
// and the value goes back to 0 at the end.

#include "controls/FileUtil.h"
#include "platform/gui/Controls.h"

void CopyFile(const AnsiString& fileName, const AnsiString& destName, TControl* progressControl);
void CopyFileEx(const AnsiString& fileName, const AnsiString& destName, bool overwriteReadOnly, bool shellDialog,
                TControl* progressControl);
