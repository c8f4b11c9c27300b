// The registry store ("registry.ini"), as edited by hand: every key reached
// by its section opens; every value name listed can be read by its type,
// written (changing its own line, adding none) and erased; the file written
// reads back to the same bytes.
#include "FuzzSupport.h"

#include <filesystem>

#include "platform/IniDocument.h"
#include "platform/Registry.h"
#include "platform/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    // A settings folder of its own for each input, so that the store reads
    // this file and not one it knew before.
    static unsigned round = 0;
    const std::string config = "config" + std::to_string(++round % 2);
    const std::filesystem::path folder = std::filesystem::current_path() / config / "ge";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ::setenv("XDG_CONFIG_HOME", (std::filesystem::current_path() / config).c_str(), 1);
    fuzz::Write(config + "/ge/registry.ini", std::string_view(reinterpret_cast<const char*>(data), size));

    IniDocument file;
    file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const AnsiString root = "HKEY_CURRENT_USER\\";
    int keys = 0;
    for (const AnsiString& section : file.SectionNames()) {
        if (section.Length() <= root.Length() || !SameText(section.SubString(1, root.Length()), root)) continue;
        if (++keys > 20) break;
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        const AnsiString path = section.SubString(root.Length() + 1, section.Length());
        if (!reg.OpenKey("\\" + path, false)) continue; // a name that is no key path ("a\\\\b")
        TStringList names;
        reg.GetValueNames(&names);
        const int count = names.Count();
        for (int i = 0; i < count && i < 30; ++i) {
            const AnsiString name = names[i];
            FUZZ_CHECK(reg.ValueExists(name));
            const TRegDataType type = reg.GetDataType(name);
            if (type == rdString) reg.ReadString(name);
            if (type == rdInteger) reg.ReadInteger(name);
            reg.WriteString(name, "w\"\\" + IntToStr(i));
            FUZZ_CHECK(reg.ReadString(name) == "w\"\\" + IntToStr(i));
            TStringList after;
            reg.GetValueNames(&after);
            FUZZ_CHECK(after.Count() == count);
        }
        for (int i = 0; i < count && i < 30; ++i) {
            FUZZ_CHECK(reg.DeleteValue(names[i]));
            FUZZ_CHECK(!reg.ValueExists(names[i]));
        }
    }
    const std::string written = fuzz::Read(config + "/ge/registry.ini");
    IniDocument back;
    back.Parse(written);
    FUZZ_CHECK(back.Serialize() == written || written == std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
