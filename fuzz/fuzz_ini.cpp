// Ini texts (settings, profiles, and the base of the project, signal-table
// and registry files): what is parsed writes back to text that parses to the
// same document; every listed key is found with its value; keys added and
// removed are found and gone, also after a write and a read.
#include "FuzzSupport.h"

#include "platform/IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    IniDocument doc;
    doc.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = doc.Serialize();
    IniDocument again;
    again.Parse(text);
    FUZZ_CHECK(again.Serialize() == text);
    int n = 0;
    for (const AnsiString& section : doc.SectionNames()) {
        FUZZ_CHECK(doc.SectionExists(section));
        for (const auto& [key, value] : doc.Entries(section)) {
            const AnsiString* found = doc.Find(section, key);
            FUZZ_CHECK(found && *found == value);
            if (++n > 200) break;
        }
        // A new key, a changed one and a removed one, in a section that has
        // text after its keys (blank lines, comments).
        const AnsiString added = "fuzz" + IntToStr(n);
        if (!IniDocument::ValidSectionName(section)) continue;
        doc.Set(section, added, "v");
        const AnsiString* found = doc.Find(section, added);
        FUZZ_CHECK(found && *found == "v");
        for (const auto& [key, value] : doc.Entries(section)) {
            const AnsiString* f = doc.Find(section, key);
            FUZZ_CHECK(f && *f == value);
        }
        if (n > 200) break;
    }
    const std::string changed = doc.Serialize();
    IniDocument read;
    read.Parse(changed);
    for (const AnsiString& section : doc.SectionNames())
        for (const auto& [key, value] : doc.Entries(section)) {
            const AnsiString* f = read.Find(section, key);
            FUZZ_CHECK(f && *f == value);
            FUZZ_CHECK(read.DeleteKey(section, key));
            FUZZ_CHECK(!read.Find(section, key));
        }
    return 0;
}
