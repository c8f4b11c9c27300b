#include "platform/FileOperation.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include <QFile>
#include <QString>

#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/FindFile.h"
#include "platform/UiPort.h"

namespace fs = std::filesystem;

namespace {

std::vector<AnsiString> ParseList(const std::string& list) {
    std::vector<AnsiString> names;
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t end = list.find('\0', pos);
        if (end == std::string::npos) end = list.size();
        if (end == pos) break; // the second zero
        names.emplace_back(list.substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

bool IsMask(const AnsiString& name) {
    AnsiString bare = ExtractFileName(name);
    return bare.Pos("*") > 0 || bare.Pos("?") > 0;
}

bool Exists(const AnsiString& name) { return FileExists(name) || DirectoryExists(name); }

// One operation: its questions, its failure and its cancellation.
class Operation {
public:
    explicit Operation(TSHFileOpStruct& op) : op_(op) {}

    int Run() {
        op_.fAnyOperationsAborted = false;
        const std::vector<AnsiString> from = ParseList(op_.pFrom);
        const std::vector<AnsiString> to = ParseList(op_.pTo);
        if (from.empty() || (op_.wFunc != FO_DELETE && to.empty())) return EINVAL;
        if (op_.wFunc < FO_MOVE || op_.wFunc > FO_RENAME) return EINVAL;
        const bool several = from.size() > 1 || IsMask(from.front());
        for (std::size_t i = 0; i < from.size() && !cancelled_; ++i) {
            std::vector<AnsiString> sources;
            if (!Expand(from[i], sources)) return Fail(ENOENT, from[i]);
            for (const AnsiString& source : sources) {
                if (cancelled_) break;
                int error = 0;
                if (op_.wFunc == FO_DELETE) {
                    error = Delete(source);
                } else {
                    const AnsiString& dest = op_.fFlags & FOF_MULTIDESTFILES || op_.wFunc == FO_RENAME
                                                 ? to[std::min(i, to.size() - 1)]
                                                 : to.front();
                    error = Transfer(source, dest, several && !(op_.fFlags & FOF_MULTIDESTFILES));
                }
                if (error) return Fail(error, source);
            }
        }
        op_.fAnyOperationsAborted = cancelled_;
        return 0;
    }

private:
    bool Confirming() const { return !(op_.fFlags & FOF_NOCONFIRMATION); }

    // The entries a source stands for; false when there are none.
    bool Expand(const AnsiString& source, std::vector<AnsiString>& out) {
        if (!IsMask(source)) {
            if (!Exists(source)) return false;
            out.push_back(source);
            return true;
        }
        const AnsiString folder = ExtractFilePath(source);
        const int attr = op_.fFlags & FOF_FILESONLY ? faAnyFile & ~faDirectory : faAnyFile;
        TSearchRec sr;
        for (int r = FindFirst(source, attr, sr); r == 0; r = FindNext(sr)) out.push_back(folder + sr.Name);
        FindClose(sr);
        return !out.empty();
    }

    // Yes, No or Cancel (which cancels the operation).
    int Ask(const AnsiString& text, TMsgDlgButtons buttons) {
        int answer = MessageDlg(text, mtConfirmation, buttons, 0);
        if (answer != mrYes && answer != mrNo) {
            cancelled_ = true;
            return mrCancel;
        }
        return answer;
    }

    // The first free name "name (n).ext" beside an existing one.
    static AnsiString FreeName(const AnsiString& target) {
        const AnsiString ext = ExtractFileExt(target);
        const AnsiString stem = target.SubString(1, target.Length() - ext.Length());
        for (int n = 2;; ++n) {
            AnsiString candidate = stem + " (" + IntToStr(n) + ")" + ext;
            if (!Exists(candidate)) return candidate;
        }
    }

    // Makes a missing folder (after the question); false when it is not there afterwards.
    bool MakeFolder(const AnsiString& folder, int& error) {
        if (folder.IsEmpty() || DirectoryExists(folder)) return true;
        if (Confirming() && !(op_.fFlags & FOF_NOCONFIRMMKDIR) &&
            Ask(Format("Папка %s не существует. Создать её?"_a, folder), MsgButtons({mbYes, mbCancel})) != mrYes)
            return false;
        if (!ForceDirectories(folder)) error = EACCES;
        return error == 0;
    }

    int Transfer(const AnsiString& source, const AnsiString& dest, bool intoFolder) {
        AnsiString target = dest;
        int error = 0;
        if (op_.wFunc != FO_RENAME && (intoFolder || DirectoryExists(dest))) {
            if (!MakeFolder(dest, error)) return error;
            target = IncludeTrailingPathDelimiter(dest) + ExtractFileName(ExcludeTrailingPathDelimiter(source));
        } else if (!MakeFolder(ExtractFileDir(target), error)) {
            return error;
        }
        if (SameFile(source, target)) {
            if (op_.wFunc != FO_COPY || !(op_.fFlags & FOF_RENAMEONCOLLISION)) return 0;
            target = FreeName(target);
        } else if (Exists(target)) {
            if (op_.fFlags & FOF_RENAMEONCOLLISION) {
                target = FreeName(target);
            } else if (Confirming() &&
                       Ask(Format("Файл %s уже существует. Заменить его?"_a, target), mbYesNoCancel) != mrYes) {
                return 0;
            }
        }
        std::error_code ec;
        const fs::path from = ToFsPath(source);
        const fs::path to = ToFsPath(target);
        if (op_.wFunc == FO_COPY) {
            fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
            if (!ec && fs::is_regular_file(from)) fs::last_write_time(to, fs::last_write_time(from), ec);
            return ec ? (ec.value() ? ec.value() : EIO) : 0;
        }
        if (Exists(target) && !fs::is_directory(to)) fs::remove(to, ec);
        fs::rename(from, to, ec);
        if (ec == std::errc::cross_device_link) {
            ec.clear();
            fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
            if (!ec) fs::remove_all(from, ec);
        }
        return ec ? ec.value() : 0;
    }

    int Delete(const AnsiString& source) {
        if (Confirming() && Ask(Format("Удалить %s?"_a, source), mbYesNoCancel) != mrYes) return 0;
        if (op_.fFlags & FOF_ALLOWUNDO) {
            QFile file(QString::fromUtf8(AnsiToUtf8(source).c_str()));
            return file.moveToTrash() ? 0 : EACCES;
        }
        std::error_code ec;
        fs::remove_all(ToFsPath(source), ec);
        return ec ? ec.value() : 0;
    }

    int Fail(int error, const AnsiString& name) {
        if (!(op_.fFlags & FOF_NOERRORUI))
            MessageDlg(Format("Не удалось выполнить операцию с файлом %s"_a, name), mtError, mbOKOnly, 0);
        return error;
    }

    TSHFileOpStruct& op_;
    bool cancelled_ = false;
};

} // namespace

int SHFileOperation(TSHFileOpStruct& op) { return Operation(op).Run(); }
