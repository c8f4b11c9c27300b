#include "controls/QKStrList.h"

TQKStrList::TQKStrList(TComponent* owner) : TComponent(owner), list_(new TStringList) {
    // A list made in code keeps every line it is given; the designer's lists
    // store this rule explicitly.
    list_->Duplicates = dupAccept;
}

TQKStrList::~TQKStrList() { delete list_; }

void TQKStrList::SetList(const TStrings* strings) {
    if (strings == list_) return;
    list_->BeginUpdate();
    list_->Clear();
    list_->AddStrings(strings);
    list_->EndUpdate();
}
