#pragma once
// TQKStrList: a non-visual component that carries a list of lines designed
// with its form. The program uses such lists as tables of constant texts that
// it reads by position (ini keys and sections, column captions, messages).

#include "platform/StringList.h"

class TQKStrList : public TComponent {
public:
    explicit TQKStrList(TComponent* owner);
    ~TQKStrList() override;

    // The owned list itself (not a copy); lines are read from it by index, and
    // an index beyond its count raises the list's index error.
    TStringList* GetList() const { return list_; }
    // Copies the given lines into the owned list.
    void SetList(const TStrings* strings);

    TStrings* Items() const { return list_; }
    void SetItems(const TStrings* strings) { SetList(strings); }

    bool Sorted() const { return list_->Sorted(); }
    void SetSorted(bool v) { list_->SetSorted(v); }
    TDuplicates Duplicates() const { return list_->Duplicates; }
    void SetDuplicates(TDuplicates v) { list_->Duplicates = v; }

    // The owned list's change events.
    const TNotifyEvent& OnChange() const { return list_->OnChange; }
    void SetOnChange(TNotifyEvent e) { list_->OnChange = std::move(e); }
    const TNotifyEvent& OnChanging() const { return list_->OnChanging; }
    void SetOnChanging(TNotifyEvent e) { list_->OnChanging = std::move(e); }

private:
    TStringList* list_;
};
