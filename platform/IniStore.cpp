#include "platform/IniStore.h"

#include <map>
#include <string>

#include "platform/Paths.h"

std::shared_ptr<IniStore> IniStore::Open(const AnsiString& path, bool createFolder) {
    static std::map<std::string, std::weak_ptr<IniStore>> open;
    std::erase_if(open, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<IniStore>& slot = open[path.str()];
    std::shared_ptr<IniStore> store = slot.lock();
    if (!store) {
        store = std::make_shared<IniStore>(path, createFolder);
        slot = store;
    }
    store->createFolder_ |= createFolder;
    return store;
}

const IniDocument& IniStore::Current() {
    FileStamp now = StampOf(path_);
    if (!loaded_ || now != stamp_) {
        std::string bytes;
        if (!now.exists || !ReadWholeFile(path_, bytes)) bytes.clear();
        doc_.Parse(bytes);
        stamp_ = now;
        loaded_ = true;
    }
    return doc_;
}

bool IniStore::Commit(IniDocument doc) {
    if (createFolder_ && !EnsureSettingsFolder()) return false;
    if (!WriteFileAtomic(path_, doc.Serialize())) return false;
    doc_ = std::move(doc);
    stamp_ = StampOf(path_);
    loaded_ = true;
    return true;
}
