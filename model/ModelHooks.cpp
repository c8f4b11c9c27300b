#include "model/ModelHooks.h"

#include "platform/UiPort.h"

TModelHooks& ModelHooks() {
    static TModelHooks hooks;
    return hooks;
}

void ReportTranslationError(const AnsiString& text) {
    if (ModelHooks().Log)
        ModelHooks().Log->Error(text);
    else
        ShowMessage(text);
}
