#include "platform/FileIO.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include <unistd.h>

std::filesystem::path ToFsPath(const AnsiString& name) { return std::filesystem::path(AnsiToUtf8(name)); }

AnsiString FromFsPath(const std::filesystem::path& path) { return Utf8ToAnsi(path.string()); }

bool ReadWholeFile(const AnsiString& name, std::string& bytes) {
    std::error_code ec;
    auto p = ToFsPath(name);
    if (std::filesystem::is_directory(p, ec)) return false;
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    bytes = std::move(data);
    return true;
}

bool WriteFileAtomic(const AnsiString& name, const std::string& bytes) {
    auto target = ToFsPath(name);
    auto tmp = target;
    tmp += ".tmp~" + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            std::filesystem::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}
