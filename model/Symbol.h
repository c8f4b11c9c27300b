#pragma once
// TSymbol: an element that stands for a whole scheme saved as a symbol file
// (".tvy"). It owns that scheme, loaded from the file, and has one pin per
// connector (variable driver) of it: an input for a connector that only feeds
// element inputs inside, an output for one that an element drives.
// A symbol writes no netlist block of its own: a translation expands its
// inner devices, named with the symbol's name in front (see TScheme).

#include <cstdint>
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
    // The same for a symbol file name in a scheme of that file name.
    static AnsiString ResolveFileName(const AnsiString& fileName, const AnsiString& schemeFile);
    // The scheme loaded from the file (a scheme document), or null.
    ISchemeContext* InnerScheme() const { return inner_.get(); }

    // Reached only when the symbol's file could not be loaded: an error.
    void Translate(TStrings* lines) override;
    bool Properties() override;

    // How deep symbols may nest.
    static constexpr int kMaxDepth = 8;
    // The bound of one load's work (see TSymbolLoad): the bytes of the symbol
    // files read, each file counted as at least kMinLoadCost, since a scheme
    // costs memory of its own however small its file is.
    static constexpr std::int64_t kMaxLoadBytes = std::int64_t(16) << 20;
    static constexpr std::int64_t kMinLoadCost = 4096;

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

// One load of a document together with the schemes of its symbols, at every
// depth. The document that loads opens one with its own file name; the
// documents of its symbols, loaded meanwhile, open theirs inside it. It keeps
// the files on the current path, so that a symbol whose file is already
// being loaded (a file that holds itself, or two files that hold each other)
// is refused, and the work done, so that the load stops at its bound however
// the files nest. What was refused is told once, when the outermost ends.
class TSymbolLoad {
public:
    explicit TSymbolLoad(const AnsiString& fileName);
    ~TSymbolLoad();
    TSymbolLoad(const TSymbolLoad&) = delete;
    TSymbolLoad& operator=(const TSymbolLoad&) = delete;

    // Whether a symbol file may be loaded now: not on the current path, and
    // within the bound (its cost is counted when it is).
    static bool Admit(const AnsiString& fileName);
    // Notes a symbol refused for lying deeper than kMaxDepth.
    static void RefuseTooDeep();

private:
    static AnsiString HoldsItselfMessage(const AnsiString& fileName);
    static AnsiString TooMuchMessage();

    bool outermost_ = false;
    bool onPath_ = false;
};
