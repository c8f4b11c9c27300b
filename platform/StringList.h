#pragma once
// TStrings: the text-list interface every list of lines in the program speaks
// (string lists, list-box and combo-box items, memo lines). TStringList is the
// plain in-memory list. Searches by text ignore letter case, Cyrillic included.

#include <functional>
#include <utility>
#include <vector>

#include "platform/Classes.h"

class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual AnsiString Get(int index) const = 0;
    virtual void Put(int index, const AnsiString& s);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* obj);
    virtual void Insert(int index, const AnsiString& s) = 0;
    virtual void InsertObject(int index, const AnsiString& s, TObject* obj);
    virtual int Add(const AnsiString& s);
    virtual int AddObject(const AnsiString& s, TObject* obj);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int a, int b);
    virtual void Move(int from, int to);
    virtual int IndexOf(const AnsiString& s) const;

    AnsiString Strings(int index) const { return Get(index); }
    AnsiString operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }

    int IndexOfName(const AnsiString& name) const;
    int IndexOfObject(TObject* obj) const;
    AnsiString Names(int index) const;          // text before the first '='
    AnsiString Values(const AnsiString& name) const;
    void SetValue(const AnsiString& name, const AnsiString& value); // empty value deletes

    AnsiString Text() const; // every line followed by CR LF
    void SetText(const AnsiString& text); // splits at CR LF, CR or LF
    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& text);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void Assign(TPersistent* source) override;
    void AddStrings(const TStrings* strings);
    bool Equals(const TStrings* other) const;

    // Windows-1251 text with CR LF; SaveToFile writes through a temporary file.
    void LoadFromFile(const AnsiString& fileName); // throws EFOpenError
    void SaveToFile(const AnsiString& fileName) const; // throws EFCreateError

protected:
    virtual void SetUpdateState(bool updating) { (void)updating; }
    [[noreturn]] void IndexError(int index) const;

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override = default;

    int Count() const override { return int(items_.size()); }
    AnsiString Get(int index) const override;
    void Put(int index, const AnsiString& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const AnsiString& s) override;
    void InsertObject(int index, const AnsiString& s, TObject* obj) override;
    int Add(const AnsiString& s) override;
    int AddObject(const AnsiString& s, TObject* obj) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int a, int b) override;
    int IndexOf(const AnsiString& s) const override;

    // Binary search of a sorted list; index of the match or of the insertion point.
    bool Find(const AnsiString& s, int& index) const;
    void Sort();
    void CustomSort(const std::function<int(TStringList*, int, int)>& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    TDuplicates Duplicates = dupIgnore;
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool v);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    virtual void Changed();
    virtual void Changing();
    int CompareStrings(const AnsiString& a, const AnsiString& b) const;

private:
    void InsertItem(int index, const AnsiString& s, TObject* obj);
    std::vector<std::pair<AnsiString, TObject*>> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};
