#pragma once
// TPropertyDialogs: the property dialogs as the scheme model asks for them.
// Each element kind names its dialog (TPropertyDialog); this fills the
// dialog's global form from the entity and shows it modally, and after
// "Применить" writes the form back into the entity. A form that has not been
// made answers mrCancel, so the entity stays as it is. The frame owns one
// and installs it in the model's hooks while it lives.

#include "model/ModelHooks.h"

class TPropertyDialogs : public IPropertyDialogs {
public:
    int Run(TPropertyDialog dialog, TEntity* entity) override;
    void Store(TPropertyDialog dialog, TEntity* entity) override;
    int SymbolActionChoice() override;
};
