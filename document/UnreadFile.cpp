#include "document/UnreadFile.h"

#include "platform/UiPort.h"

bool TUnreadFile::MayWrite(const AnsiString& fileName) const {
    if (name_.IsEmpty() || name_ != fileName) return true;
    const AnsiString question =
        "Файл "_a + fileName + " был прочитан не полностью. Записать поверх него только прочитанную часть?"_a;
    return MessageDlg(question, mtConfirmation, mbYesNo) == mrYes;
}
