#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/registry_hive.h"

namespace travoli::test {

// An in-memory hive whose refusals can be chosen, to see what the store does with them.
class MemoryHive : public RegistryHive {
  public:
    std::set<KeyAccess> deniedAccess;     // OpenKey with these is refused
    std::set<std::string> refusedCreate;  // key paths (lower case) CreateKey refuses
    bool failSet = false;
    bool failData = false;   // QueryValueData fails after QueryValueInfo succeeded
    bool failClose = false;  // closing the last key reports a failure
    std::string failure;     // when set, opening any key fails with this cause
    std::vector<std::string> calls;

    struct Value {
        std::uint32_t type;
        std::string data;
    };
    std::map<std::string, std::map<std::string, Value>> keys;  // lower-case paths and names

    static std::string Lower(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char ch) { return ch < 128 ? std::tolower(ch) : ch; });
        return text;
    }

    void Put(const std::string& path, const std::string& name, std::uint32_t type,
             const std::string& data) {
        keys[Lower(path)][Lower(name)] = Value{type, data};
    }

    int OpenHandles() const { return static_cast<int>(open_.size()); }

    HiveStatus OpenKey(HKEY parent, const std::string& subKey, KeyAccess access,
                       HKEY& result) override {
        calls.push_back("open " + Join(parent, subKey));
        if (!failure.empty()) {
            return HiveStatus::Failed;
        }
        if (deniedAccess.count(access) != 0) {
            return HiveStatus::AccessDenied;
        }
        const std::string path = Join(parent, subKey);
        // A key exists when it or a key below it does.
        const auto below = keys.lower_bound(path);
        if (below == keys.end() ||
            (below->first != path && below->first.rfind(path + "\\", 0) != 0)) {
            return HiveStatus::NotFound;
        }
        return Grant(path, result);
    }
    HiveStatus CreateKey(HKEY parent, const std::string& subKey, KeyAccess, HKEY& result) override {
        const std::string path = Join(parent, subKey);
        calls.push_back("create " + path);
        if (!failure.empty()) {
            return HiveStatus::Failed;
        }
        if (refusedCreate.count(path) != 0) {
            return HiveStatus::AccessDenied;
        }
        keys[path];
        return Grant(path, result);
    }
    HiveStatus QueryValueInfo(HKEY key, const std::string& name, ValueInfo& info) override {
        const Value* value = Find(key, name);
        if (value == nullptr) {
            return HiveStatus::NotFound;
        }
        info.type = value->type;
        info.size = value->data.size();
        return HiveStatus::Ok;
    }
    HiveStatus QueryValueData(HKEY key, const std::string& name, std::uint32_t& type,
                              std::string& data) override {
        const Value* value = Find(key, name);
        if (value == nullptr || failData) {
            return HiveStatus::Failed;
        }
        type = value->type;
        data = value->data;
        return HiveStatus::Ok;
    }
    HiveStatus SetValue(HKEY key, const std::string& name, std::uint32_t type,
                        const std::string& data) override {
        calls.push_back("set " + name);
        if (failSet || open_.count(key) == 0) {
            return HiveStatus::Failed;
        }
        keys[open_[key]][Lower(name)] = Value{type, data};
        return HiveStatus::Ok;
    }
    HiveStatus DeleteValue(HKEY key, const std::string& name) override {
        calls.push_back("delete " + name);
        if (open_.count(key) == 0) {
            return HiveStatus::InvalidHandle;
        }
        return keys[open_[key]].erase(Lower(name)) ? HiveStatus::Ok : HiveStatus::NotFound;
    }
    HiveFailure LastFailure() const override { return {HiveFault::Library, {}, failure}; }
    HiveStatus CloseKey(HKEY key) override {
        if (open_.erase(key) == 0) {
            return HiveStatus::InvalidHandle;
        }
        return failClose && open_.empty() ? HiveStatus::Failed : HiveStatus::Ok;
    }

  private:
    std::string Join(HKEY parent, const std::string& subKey) const {
        std::string path = parent == HKEY_CURRENT_USER ? "" : open_.at(parent);
        std::string part;
        for (char ch : subKey + "\\") {
            if (ch != '\\') {
                part += ch;
            } else if (!part.empty()) {
                path += (path.empty() ? "" : "\\") + Lower(part);
                part.clear();
            }
        }
        return path;
    }
    HiveStatus Grant(const std::string& path, HKEY& result) {
        result = next_++;
        open_[result] = path;
        return HiveStatus::Ok;
    }
    const Value* Find(HKEY key, const std::string& name) const {
        const auto handle = open_.find(key);
        if (handle == open_.end()) {
            return nullptr;
        }
        const auto found = keys.find(handle->second);
        if (found == keys.end()) {
            return nullptr;
        }
        const auto value = found->second.find(Lower(name));
        return value == found->second.end() ? nullptr : &value->second;
    }

    std::map<HKEY, std::string> open_;
    HKEY next_ = 1;
};

}  // namespace travoli::test
