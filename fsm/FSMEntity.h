#pragma once
// TfsmEntity: the common base of every object of a state-machine diagram
// (state, transition, reset transition, condition box). It holds what every
// object has and fixes the drawing protocol: an object paints itself by
// inverting drawing, so painting it a second time erases it, and every
// visible change is made between a Hide and a Show.

#include <cstdint>

#include "platform/AnsiString.h"
#include "platform/Bytes.h"
#include "platform/Classes.h"
#include "platform/Color.h"
#include "platform/Types.h"

class TCanvas;
class TBitmap;
class TStrings;
class TFSMScheme;

class TfsmEntity : public TObject {
public:
    // The document the object belongs to (it may be null for a loose object,
    // which never draws).
    explicit TfsmEntity(TFSMScheme* owner);
    ~TfsmEntity() override;

    // ---- virtual operations, in their fixed order -------------------------
    virtual void Draw();
    virtual void Move(int dx, int dy);
    virtual bool Properties();
    // Reads the record body (the tag byte was read by the caller).
    virtual void LoadFromStream(ByteReader& r) = 0;
    // Writes the tag byte and the record body.
    virtual void SaveToStream(ByteWriter& w) = 0;
    virtual bool HitTest(int x, int y, bool select);
    virtual bool HitTestRect(const TRect& r, bool select);
    virtual void Show();
    virtual void Hide();
    virtual void CommitPosition();
    virtual void EndDrag();
    virtual void Translate(TStrings* out);
    // Paints onto a given canvas (printing, picture export) in plain colours.
    virtual void DrawTo(TCanvas* canvas);
    virtual void SetCoords(int a, int b, int c, int d);
    virtual void DragTo(int x, int y);
    virtual void SetX(int x);
    virtual void SetY(int y);
    virtual int GetX() const;
    virtual int GetY() const;

    // ---- plain accessors ----------------------------------------------------
    TFSMScheme* GetDocument() const { return owner_; }
    int GetId() const { return id_; }
    void SetId(int id) { id_ = id; }
    bool IsSelected() const { return selected_; }
    void SetSelected(bool v);
    bool IsShown() const { return shown_; }
    void SetVisible(bool v);
    bool IsDeleted() const { return deleted_; }
    void SetDeleted(bool v) { deleted_ = v; }
    bool IsChanged() const { return changed_; }
    void SetChanged(bool v) { changed_ = v; }
    const AnsiString& GetName() const { return name_; }
    void SetName(const AnsiString& name);
    TColor GetColor() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    bool IsMarked() const { return marked_; }
    void SetMarked(bool v) { marked_ = v; }
    int GetNumber() const { return number_; }
    void SetNumber(int n) { number_ = n; }
    // The id written into a file: the one a load of that file gives the
    // object (its place in the file, from 0), which a save also gives it.
    int FileId() const { return number_ - 1; }

    // The canvas the object draws on (its document's view), or null.
    TCanvas* GetCanvas() const;
    // The zoom in percent: the document's while it has a view and does not
    // draw unzoomed (TFSMScheme::TUnzoomedScope), else 100.
    int GetZoom() const;
    // A hatched frame around a picture while selected and not being dragged.
    void DrawSelectionFrame(TBitmap* picture) const;

protected:
    // Stretches an object's picture onto the view canvas into the document
    // rectangle (left, top, right, bottom), scaled by the zoom.
    void StretchToCanvas(TBitmap* picture, int left, int top, int right, int bottom) const;
    // Runs body; any exception, the program's own or another, is shown as
    // the internal-error message naming this source file and the line of the
    // handler, and goes no further.
    template <class F>
    void Guarded(const char* file, int line, F&& body);
    // Makes a change to something the picture depends on: hidden before,
    // shown again after when it was shown, so no trace of the old picture stays.
    template <class F>
    void Redrawn(F&& change) {
        const bool was = shown_;
        Hide();
        change();
        if (was) Show();
    }

    TFSMScheme* owner_;
    int id_ = -1;
    bool selected_ = false;
    bool shown_ = false;
    bool deleted_ = false;
    bool changed_ = false;
    int x_ = 0, y_ = 0;
    AnsiString name_;
    TColor color_ = 0;
    bool marked_ = false;
    int number_ = 0;
};

// Shows "Ошибка в файле %s стр. %d" with the bare name of a source file.
void ReportFsmInternalError(const char* file, int line);

template <class F>
void TfsmEntity::Guarded(const char* file, int line, F&& body) {
    try {
        body();
    } catch (...) {
        ReportFsmInternalError(file, line);
    }
}
