#pragma once
// TProject: the open project, an ordered list of scheme files with the
// settings of its translation, kept in a project file (".tvp", old ".prj").
//
// Entries are held as full paths: a name given without a directory is taken
// to lie in the project directory. The project file stores the entries that
// lie in (or below) the project directory relative to it, so a project folder
// can be moved or copied whole; names written on Windows with '\' are read
// too. The layout is in docs/file-formats.md.
//
// The list never holds an empty entry, nor two entries with the same bare
// file name (entries are found by their bare names).

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/StringList.h"

class TProject : public TComponent {
public:
    // The project translation zeroes and counts these; the statistics dialog
    // shows the first six.
    enum StatisticsIndex {
        StatInputs, StatOutputs, StatTransitions, StatTemporaries, StatElements, StatTimers,
        StatisticsCount = 9
    };
    int32_t Statistics[StatisticsCount] = {};

    static const char* const DefaultFileName;    // "Project1.prj"
    static const char* const DefaultProjectName; // "Project1"
    static constexpr int MaxIterations = 32;

    explicit TProject(TComponent* owner);
    ~TProject() override;

    AnsiString ProjectName = DefaultProjectName;
    // Iterations of the controller program (valid 1 .. 32; the translator checks).
    uint16_t Iterations = 1;
    // Non-zero asks the translation for the conversion step.
    int32_t Convert = 0;
    bool Modified = false;

    // Called whenever the file list changes (the frame refreshes its project
    // pane from it).
    std::function<void(TProject*)> OnFilesChanged;

    const AnsiString& GetFileName() const { return fileName_; }
    // Sets the project file name and marks the project modified.
    void SetFileName(const AnsiString& name);
    // The project directory, absolute, ending in a separator.
    AnsiString GetDir() const;
    // The log file: the setting "Log файл" (default "err.log"), in the project
    // directory when it names no directory.
    AnsiString GetErrorFile() const;

    int GetFileCount() const { return int(files_.size()); }
    // Entry index (a full path); "" out of range.
    AnsiString GetFile(int index) const;
    // Appends the name (in the project directory when it has no path). An
    // empty name adds nothing; a name the project holds already (by bare file
    // name) or one that cannot be stored is refused with a message. Marks the
    // project modified and notifies the owner when added.
    bool AddFile(const AnsiString& name);
    // True when an entry has the same bare file name or equals the name.
    bool ContainsFile(const AnsiString& name) const;
    // Index arguments out of range do nothing.
    void DeleteFile(int index);
    // Exchange entry i with its neighbour; the modified flag is not changed.
    void MoveFileUp(int index);
    void MoveFileDown(int index);
    // Every entry with oldName's bare file name becomes newName (a later
    // entry that would then repeat a bare name goes).
    void ReplaceFile(const AnsiString& newName, const AnsiString& oldName);
    // The entries in project order; "" after the last.
    AnsiString FirstFile();
    AnsiString NextFile();
    // Full path of the first entry with that bare file name; "" when none.
    AnsiString GetFilePath(const AnsiString& name) const;
    // Appends the bare file name of every entry; the first argument is not used.
    bool GetFileNames(const AnsiString& unused, TStrings* list) const;

    // Reads the project file. A missing file is reported ("Не найден файл
    // проекта") and the project keeps its defaults; a damaged one loads as far
    // as it is sound and is reported once; a file that is not a project is
    // reported, and the project will never write over it. True when the
    // whole file was read.
    bool Load();
    // Whether the last Load refused the file (not a project, written by a
    // newer version, or unreadable): such a file never becomes a project.
    bool Refused() const { return !protectedFile_.IsEmpty() && protectedFile_ == fileName_; }
    // Writes the project file through a temporary file; reports a missing file
    // name and a failed (or refused) write, unless quiet (the caller has told
    // of the failure before). Clears the modified flag.
    bool Save(bool quiet = false);
    // Tells the owner that the file list changed.
    void NotifyOwner();

private:
    int FindBare(const AnsiString& name, int except = -1) const;
    AnsiString Resolve(const AnsiString& stored) const;
    AnsiString ToStored(const AnsiString& entry) const;

    AnsiString fileName_ = DefaultFileName;
    std::vector<AnsiString> files_;
    int cursor_ = 0;
    AnsiString protectedFile_; // a file that failed to load as a project
};
