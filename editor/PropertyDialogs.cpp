#include "editor/PropertyDialogs.h"

#include "editor/DelayDlg.h"
#include "editor/ElementDlg.h"
#include "editor/SymbolDlg.h"
#include "editor/TriggerDlg.h"
#include "editor/gotoparam.h"
#include "editor/Unit10.h"
#include "editor/Unit5.h"
#include "editor/Unit9.h"
#include "model/CaseElements.h"
#include "model/Driver.h"
#include "model/Elements.h"
#include "model/Link.h"
#include "model/Element.h"

namespace {

TElement* AsElement(TEntity* entity) { return dynamic_cast<TElement*>(entity); }

// Fills the form, shows it modally and gives its result; mrCancel without
// a form or an entity of the kind.
template <class Form, class Entity, class Fill>
int Show(Form* form, Entity* entity, Fill fill) {
    if (!form || !entity) return mrCancel;
    fill(form, entity);
    return form->ShowModal();
}

} // namespace

int TPropertyDialogs::Run(TPropertyDialog dialog, TEntity* entity) {
    switch (dialog) {
    case TPropertyDialog::Element:
        return Show(Form4, AsElement(entity), [](TForm4* f, TElement* e) { f->LoadEntity(e); });
    case TPropertyDialog::ElementOutputs:
        return Show(Form2, AsElement(entity), [](TForm2* f, TElement* e) { f->LoadEntity(e); });
    case TPropertyDialog::ElementNoPins:
        return Show(Form2, AsElement(entity), [](TForm2* f, TElement* e) {
            f->LoadEntity(e);
            f->HideControls();
        });
    case TPropertyDialog::PredTimer:
        return Show(Form1, AsElement(entity), [](TForm1* f, TElement* e) { f->LoadEntity(e); });
    case TPropertyDialog::Trigger:
        return Show(Form8, AsElement(entity), [](TForm8* f, TElement* e) { f->LoadEntity(e); });
    case TPropertyDialog::Timer:
        return Show(Form7, AsElement(entity), [](TForm7* f, TElement* e) { f->LoadEntity(e); });
    case TPropertyDialog::Link:
        return Show(Form6, dynamic_cast<TLink*>(entity), [](TForm6* f, TLink* l) { f->LoadEntity(l); });
    case TPropertyDialog::Driver:
        return Show(Form5, dynamic_cast<TDriver*>(entity), [](TForm5* f, TDriver* d) { f->LoadEntity(d); });
    case TPropertyDialog::VarDriver:
        return Show(Form9, dynamic_cast<TVarDriver*>(entity), [](TForm9* f, TVarDriver* d) { f->LoadEntity(d); });
    case TPropertyDialog::Case:
        return Show(Form10, dynamic_cast<TCaseElement*>(entity), [](TForm10* f, TCaseElement* e) { f->LoadEntity(e); });
    case TPropertyDialog::Goto:
        return Show(Form12, dynamic_cast<TGotoElement*>(entity), [](TForm12* f, TGotoElement* e) { f->FillGoto(e); });
    case TPropertyDialog::SymbolAction: return Show(Form3, entity, [](TForm3*, TEntity*) {});
    default: return mrCancel;
    }
}

void TPropertyDialogs::Store(TPropertyDialog dialog, TEntity* entity) {
    switch (dialog) {
    case TPropertyDialog::Element:
        if (Form4) Form4->StoreEntity(AsElement(entity));
        break;
    case TPropertyDialog::ElementOutputs:
    case TPropertyDialog::ElementNoPins:
        if (Form2) Form2->StoreEntity(AsElement(entity));
        break;
    case TPropertyDialog::PredTimer:
        if (Form1) Form1->StoreEntity(AsElement(entity));
        break;
    case TPropertyDialog::Trigger:
        if (Form8) Form8->StoreEntity(AsElement(entity));
        break;
    case TPropertyDialog::Timer:
        if (Form7) Form7->StoreEntity(AsElement(entity));
        break;
    case TPropertyDialog::Link:
        if (Form6) Form6->StoreEntity(dynamic_cast<TLink*>(entity));
        break;
    case TPropertyDialog::Driver:
        if (Form5) Form5->StoreEntity(dynamic_cast<TDriver*>(entity));
        break;
    case TPropertyDialog::VarDriver:
        if (Form9) Form9->StoreEntity(dynamic_cast<TVarDriver*>(entity));
        break;
    case TPropertyDialog::Case:
        if (Form10) Form10->StoreEntity(dynamic_cast<TCaseElement*>(entity));
        break;
    case TPropertyDialog::Goto:
        if (Form12) Form12->ApplyGoto(dynamic_cast<TGotoElement*>(entity));
        break;
    default: break;
    }
}

int TPropertyDialogs::SymbolActionChoice() { return Form3 ? Form3->Check->ItemIndex() : -1; }
