#pragma once
// IniStore: an IniDocument bound to its file. All objects of the process that
// name the same path share one store (Open), so none of them can hold a stale
// copy of what another wrote; the document is also read again whenever the
// file changed on disk since it was last read or written (another program).
// Every change is written whole through a temporary file and a rename: a
// failed write leaves both the file and the document as they were.

#include <memory>
#include <utility>

#include "platform/FileIO.h"
#include "platform/IniDocument.h"

class IniStore {
public:
    // The store of a path, shared while anyone holds it. createFolder: the
    // file lives in the settings folder, which is made on the first write.
    static std::shared_ptr<IniStore> Open(const AnsiString& path, bool createFolder);
    IniStore(AnsiString path, bool createFolder) : path_(std::move(path)), createFolder_(createFolder) {}

    const AnsiString& Path() const { return path_; }
    // The document as the file holds it now; a missing or unreadable file is empty.
    const IniDocument& Current();
    // Writes doc; on success it becomes the current document. False when the
    // folder or the file cannot be written.
    bool Commit(IniDocument doc);
    // Applies f to a copy of the current document and commits the copy when f
    // reports a change. False only when a needed write failed.
    template <class F>
    bool Change(F&& f) {
        IniDocument copy = Current();
        if (!f(copy)) return true;
        return Commit(std::move(copy));
    }

private:
    AnsiString path_;
    bool createFolder_;
    IniDocument doc_;
    FileStamp stamp_;
    bool loaded_ = false;
};
