#pragma once
// TSymbol: an element that stands for a whole scheme saved as a symbol file
// (".tvy"). It owns that scheme, loaded from the file, and has one pin per
// connector (variable driver) of it: an input for a connector that only feeds
// element inputs inside, an output for one that an element drives.
// A symbol writes no netlist block of its own: a translation expands its
// inner devices, named with the symbol's name in front (see TScheme).

#include <memory>

#include "model/Element.h"

class TSymbol : public TElement {
public:
    explicit TSymbol(IEntityOwner* owner);
    ~TSymbol() override;
    TEntityKind Kind() const override { return TEntityKind::Symbol; }
    AnsiString Symbol() const override;

    // Clears and reloads the inner scheme from the file and makes one pin per
    // connector; nothing is loaded, and the symbol has no pins, when the file
    // does not exist.
    void LoadSymbolFile(const AnsiString& fileName);
    // Loads the inner scheme again from the file named in the element,
    // keeping the pins (a scheme being loaded from a file does this).
    void LoadInnerScheme();
    // Reads the symbol's file again and makes its pins anew; false, with the
    // symbol and its pins as they were, when the file is missing or refused.
    bool ReloadSymbolFile();
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& fileName) { fileName_ = fileName; }
    // The full path of the file: as stored when it exists, else beside the
    // owning scheme's file.
    AnsiString ResolvedFileName() const;
    // The scheme loaded from the file (a scheme document), or null.
    ISchemeContext* InnerScheme() const { return inner_.get(); }

    // Reached only when the symbol's file could not be loaded: an error.
    void Translate(TStrings* lines) override;
    bool Properties() override;

    // How deep symbols may nest (a file holding itself is refused).
    static constexpr int kMaxDepth = 8;

protected:
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;

private:
    std::unique_ptr<ISchemeContext> MakeInner(const AnsiString& path) const;
    bool LoadInner(const AnsiString& path);
    // One pin per connector of the inner scheme (none without it).
    void MakePins();
    AnsiString fileName_;
    std::unique_ptr<ISchemeContext> inner_;
};
