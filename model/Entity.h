#pragma once
// TEntity: the base of every object a scheme holds. Its virtual operations
// stand in a fixed order that documents, the editor, the translator and the
// undo list rely on: draw, move, properties, load, save, hit test, show and
// hide, commit position, translate, then position and pin access.
//
// Drawing: an object drawn on its owner's canvas is drawn by inverting it
// (exclusive or), so drawing it twice erases it. Show and Hide keep track of
// whether the picture is on the canvas; every visible change happens between
// a Hide and a Show. Hide replays the picture that Show drew (its colour and
// pin states are remembered), so a change of settings or nets in between
// never leaves residue. DrawTo draws in normal colours on any canvas.

#include <cstdint>

#include "model/ElementKinds.h"
#include "model/ModelHooks.h"
#include "platform/Bytes.h"
#include "platform/Classes.h"
#include "platform/Color.h"
#include "platform/Types.h"

class TInOut;
class TPainter;
class TStrings;

// How an object is drawn: inverting on the owner's canvas, in normal colours
// (previews), or black on white (printing and picture export).
enum class TPaintMode { Invert, Normal, Print };

class TEntity : public TObject {
public:
    explicit TEntity(IEntityOwner* owner);
    ~TEntity() override;

    // ---- the fixed operations, in slot order --------------------------------------
    // Draws the object on the owner's canvas as a repaint does (inverting, on a
    // freshly painted sheet); only a shown object draws.
    virtual void Draw();
    // Draws on any canvas in normal colours at the given zoom; print: black on white.
    virtual void DrawTo(TCanvas* canvas, bool print = true, int zoom = 100);
    // Moves by scheme offsets, redrawing.
    virtual void Move(int dx, int dy);
    // Opens the kind's property dialog; true when the object was changed.
    virtual bool Properties();
    // The record body (after its tag); Load throws EReadError on damage.
    virtual void Load(ByteReader& r);
    virtual void Save(ByteWriter& w) const;
    // Whether the scheme point lies on the object.
    virtual bool HitTest(int x, int y) const;
    // Whether the object lies wholly inside the rectangle (scheme units).
    virtual bool InRect(const TRect& r) const;
    virtual void Show();
    virtual void Hide();
    // Records the present position in the undo list (before a drag).
    virtual void CommitPosition(IUndoRecorder* undo);
    // Appends the object's netlist lines.
    virtual void Translate(TStrings* lines);
    virtual int GetX() const { return x_; }
    virtual int GetY() const { return y_; }
    virtual void SetX(int x);
    virtual void SetY(int y);
    virtual int GetWidth() const { return 0; }
    virtual int GetHeight() const { return 0; }
    virtual TInOut* FirstPin() { return nullptr; }
    virtual TInOut* NextPin() { return nullptr; }

    virtual TEntityKind Kind() const = 0;

    // ---- fields ---------------------------------------------------------------------
    const AnsiString& Name() const { return name_; }
    virtual void SetName(const AnsiString& name);
    // The type keyword ("and", "timer" ...); empty for objects without one.
    // A driver pin answers with its driver's name, a connector with "var".
    virtual AnsiString Label() const { return label_; }
    // Names of the temporary signals the last translate created, each followed by ";".
    AnsiString TempNames;
    int Id = 0;
    // Marks used by the editor: pasted (follows the mouse), inside the band.
    bool Pasted = false;
    bool InRectMark = false;
    // Set by a change of position or pins; cleared before a preview is drawn.
    bool Changed = false;

    bool Visible() const { return shown_; }
    void SetVisible(bool visible);
    bool Selected() const { return selected_; }
    void SetSelected(bool selected);
    bool Deleted() const { return deleted_; }
    void SetDeleted(bool deleted) { deleted_ = deleted; }
    bool Mirrored() const { return mirrored_ != 0; }
    virtual void SetMirrored(bool mirrored);
    // A colour of the object's own (numbering, highlighted chains); clNone
    // draws in the settings' colour.
    TColor CustomColor() const { return customColor_; }
    void SetCustomColor(TColor color);

    IEntityOwner* Owner() const { return owner_; }
    // The scheme the object belongs to; null for a paint box or none.
    ISchemeContext* Scheme() const { return scheme_; }

    bool IsLink() const { return Kind() == TEntityKind::Link; }
    bool IsDriver() const { return Kind() == TEntityKind::Driver || Kind() == TEntityKind::VarDriver; }
    bool IsPoint() const { return Kind() == TEntityKind::Point; }
    // An element that is neither a wire nor a driver pin.
    bool IsDevice() const;

    // Bounds of the picture in scheme units (for redraws and extents).
    virtual TRect Bounds() const;

    // Makes a visible change: hides the picture, changes, shows it again
    // when it was shown.
    template <class F>
    void Redrawn(F change) {
        bool was = shown_;
        Hide();
        change();
        if (was)
            Show();
    }
    // For the document: a repaint through a painter shared by all objects
    // (only a shown object draws), and a normal drawing through one.
    void DrawWith(TPainter& painter);
    void DrawNormal(TPainter& painter) const;
    // Hide and Show through a painter shared by many objects (a drag moves
    // thousands of them at every step).
    void HideWith(TPainter& painter);
    void ShowWith(TPainter& painter);
    // The picture is (or is not) on the canvas already: a new object that
    // takes the place of an equal one that was shown.
    void MarkShown(bool shown) {
        shown_ = shown;
        if (shown)
            RememberDrawnState();
    }

protected:
    // The one drawing routine of each kind.
    virtual void Paint(TPainter& painter) const = 0;
    // The colour the picture takes now (selection, own colour, settings).
    virtual TColor CurrentColor() const;
    // Called by Show before painting: remember what the picture depends on.
    virtual void RememberDrawnState();
    void PaintOnOwner(); // one inverting pass with the remembered state
    void SetLabel(const AnsiString& label) { label_ = label; }
    // Common record fields: name, mirror flag, position.
    void SaveBase(ByteWriter& w) const;
    void LoadBase(ByteReader& r);
    // The selection's and the object's own colour, else clNone.
    TColor MarkedColor() const;
    // Runs a property dialog: Run, and on mrOk Hide, Store, Show.
    bool RunDialog(TPropertyDialog dialog);
    // The store half: hide, store the installed dialog, show, mark modified.
    void StoreDialog(TPropertyDialog dialog);
    void Touch(); // marks the document modified

    IEntityOwner* owner_ = nullptr;
    ISchemeContext* scheme_ = nullptr;
    int x_ = 0;
    int y_ = 0;
    TColor drawnColor_ = clNone; // the colour of the picture on the canvas

private:
    AnsiString name_;
    AnsiString label_;
    bool shown_ = false;
    bool selected_ = false;
    bool deleted_ = false;
    uint8_t mirrored_ = 0;
    TColor customColor_ = clNone;
};

// Strings in records: a 16-bit length, then the bytes.
void WriteRecordString(ByteWriter& w, const AnsiString& s);
AnsiString ReadRecordString(ByteReader& r);
constexpr int kMaxRecordString = 4096;

// Positions on a scheme lie within this distance of the origin: far beyond
// the largest sheet, and small enough that a position plus a pin offset or a
// box size, scaled by the largest zoom, still fits an int. A record placed
// further out is damaged.
constexpr int kMaxCoord = 1000000;
inline bool CoordInRange(long long v) { return v >= -kMaxCoord && v <= kMaxCoord; }
// Reads an int32 position; throws EReadError when it is out of range.
int ReadRecordCoord(ByteReader& r);
