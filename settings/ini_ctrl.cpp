#include "settings/ini_ctrl.h"

#include <array>

namespace travoli {

namespace {

constexpr const char* FallbackSection = "Common";
constexpr const char* RootSection = "#ROOT";

// Closes a key on every way out of an operation; Close() lets a write see the outcome.
class KeyGuard {
  public:
    KeyGuard(RegistryHive& hive, HKEY key, bool open) : hive_(hive), key_(key), open_(open) {}
    ~KeyGuard() { Close(); }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;

    HiveStatus Close() {
        if (!open_) {
            return HiveStatus::Ok;
        }
        open_ = false;
        return hive_.CloseKey(key_);
    }

  private:
    RegistryHive& hive_;
    HKEY key_;
    bool open_;
};

int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

}  // namespace

ERegistryException::ERegistryException(StoreFailure failure, std::string name)
    : std::runtime_error("settings store error"), failure_(failure), name_(std::move(name)) {}

EHiveFailure::EHiveFailure(StoreFailure failure, std::string name, HiveFailure cause)
    : ERegistryException(failure, std::move(name)), cause_(std::move(cause)) {}

bool ParseStoredInteger(const std::string& text, std::int32_t& value) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    bool hex = false;
    if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
        hex = true;
        at += 1;
    } else if (at + 1 < text.size() && text[at] == '0' &&
               (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        hex = true;
        at += 2;
    }
    if (at == text.size()) {
        return false;
    }
    if (hex) {
        std::uint32_t pattern = 0;
        int significant = 0;
        for (; at < text.size(); ++at) {
            const int digit = HexDigit(text[at]);
            if (digit < 0) {
                return false;
            }
            if (significant > 0 || digit != 0) {
                if (++significant > 8) {
                    return false;
                }
            }
            pattern = (pattern << 4) | static_cast<std::uint32_t>(digit);
        }
        value = static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
        return true;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const char ch = text[at];
        if (ch < '0' || ch > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (ch - '0');
        if (magnitude > limit) {
            return false;
        }
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

TIniCtrl::TIniCtrl(RegistryHive& hive, const std::string& regPath)
    : hive_(hive), baseKey_(regPath) {
    if (baseKey_.empty() || baseKey_.back() != '\\') {
        baseKey_ += '\\';
    }
}

std::string TIniCtrl::ResolveSection(const std::string& section) {
    if (section.find_first_not_of(' ') == std::string::npos) {
        return previous_.empty() ? std::string(FallbackSection) : previous_;
    }
    previous_ = section == RootSection ? std::string() : section;
    return previous_;
}

void TIniCtrl::Throw(HiveStatus status, StoreFailure failure, const std::string& name) const {
    if (status == HiveStatus::Failed) {
        throw EHiveFailure(failure, name, hive_.LastFailure());
    }
    throw ERegistryException(failure, name);
}

HKEY TIniCtrl::OpenBaseForReading(bool& opened, KeyAccess& granted) {
    // Reading needs no more than query access; take the most that is granted.
    constexpr std::array<KeyAccess, 3> accesses = {KeyAccess::Read, KeyAccess::ReadNoNotify,
                                                   KeyAccess::QueryValue};
    opened = false;
    granted = KeyAccess::Read;
    for (KeyAccess access : accesses) {
        HKEY base = HKEY_CURRENT_USER;
        const HiveStatus status = hive_.OpenKey(HKEY_CURRENT_USER, baseKey_, access, base);
        if (status == HiveStatus::Ok) {
            opened = true;
            granted = access;
            return base;
        }
        if (status == HiveStatus::Failed) {
            // The root lives in the same file: falling back to it would only fail again.
            Throw(status, StoreFailure::OpenKey, baseKey_);
        }
        if (status != HiveStatus::AccessDenied) {
            break;
        }
    }
    return HKEY_CURRENT_USER;
}

// Without `text` only the value's existence is asked.
bool TIniCtrl::ReadStored(const std::string& section, const std::string& key, std::string* text) {
    const std::string name = ResolveSection(section);

    bool baseOpen = false;
    KeyAccess granted = KeyAccess::Read;
    const HKEY base = OpenBaseForReading(baseOpen, granted);
    KeyGuard baseGuard(hive_, base, baseOpen);

    HKEY sectionKey = 0;
    HiveStatus status = hive_.OpenKey(base, name, granted, sectionKey);
    if (status == HiveStatus::Failed) {
        Throw(status, StoreFailure::GetData, key);
    }
    if (status != HiveStatus::Ok) {
        return false;
    }
    KeyGuard sectionGuard(hive_, sectionKey, true);

    ValueInfo info;
    status = hive_.QueryValueInfo(sectionKey, key, info);
    if (status == HiveStatus::Failed) {
        Throw(status, StoreFailure::GetData, key);
    }
    if (status != HiveStatus::Ok) {
        return false;
    }
    if (text == nullptr) {
        return true;
    }
    if (info.size == 0) {
        text->clear();
        return true;
    }
    if (info.type != REG_SZ && info.type != REG_EXPAND_SZ) {
        throw ERegistryException(StoreFailure::DataType, key);
    }
    std::uint32_t type = REG_NONE;
    std::string data;
    status = hive_.QueryValueData(sectionKey, key, type, data);
    if (status != HiveStatus::Ok) {
        Throw(status, StoreFailure::GetData, key);
    }
    *text = data.substr(0, data.find('\0'));
    return true;
}

HKEY TIniCtrl::OpenBaseForWriting(bool& opened) {
    HKEY base = HKEY_CURRENT_USER;
    const HiveStatus status =
        hive_.CreateKey(HKEY_CURRENT_USER, baseKey_, KeyAccess::AllAccess, base);
    if (status == HiveStatus::Failed) {
        Throw(status, StoreFailure::CreateKey, baseKey_);
    }
    opened = status == HiveStatus::Ok;
    return opened ? base : HKEY_CURRENT_USER;
}

void TIniCtrl::WriteStored(const std::string& section, const std::string& key,
                           const std::string& text) {
    const std::string name = ResolveSection(section);

    bool baseOpen = false;
    const HKEY base = OpenBaseForWriting(baseOpen);
    KeyGuard baseGuard(hive_, base, baseOpen);

    HKEY sectionKey = 0;
    HiveStatus status = hive_.CreateKey(base, name, KeyAccess::AllAccess, sectionKey);
    if (status != HiveStatus::Ok) {
        Throw(status, StoreFailure::CreateKey, name);
    }
    KeyGuard sectionGuard(hive_, sectionKey, true);

    const std::string data = text.substr(0, text.find('\0')) + '\0';
    status = hive_.SetValue(sectionKey, key, REG_SZ, data);
    if (status != HiveStatus::Ok) {
        Throw(status, StoreFailure::SetData, key);
    }
    // The hive makes the change durable when its last key closes; a failure there means the
    // value was not saved after all.
    const HiveStatus closedSection = sectionGuard.Close();
    const HiveStatus closedBase = baseGuard.Close();
    if (closedSection != HiveStatus::Ok) {
        Throw(closedSection, StoreFailure::SetData, key);
    }
    if (closedBase != HiveStatus::Ok) {
        Throw(closedBase, StoreFailure::SetData, key);
    }
}

bool TIniCtrl::ReadFlag(const std::string& section, const std::string& key, bool defaultValue) {
    return ReadNumber(section, key, defaultValue ? 1 : 0) != 0;
}

std::int32_t TIniCtrl::ReadNumber(const std::string& section, const std::string& key,
                                  std::int32_t defaultValue) {
    std::string text;
    std::int32_t value = 0;
    if (ReadStored(section, key, &text) && ParseStoredInteger(text, value)) {
        return value;
    }
    return defaultValue;
}

std::string TIniCtrl::ReadText(const std::string& section, const std::string& key,
                               const std::string& defaultValue) {
    std::string text;
    return ReadStored(section, key, &text) ? text : defaultValue;
}

void TIniCtrl::WriteFlag(const std::string& section, const std::string& key, bool value) {
    WriteStored(section, key, value ? "1" : "0");
}

void TIniCtrl::WriteNumber(const std::string& section, const std::string& key, std::int32_t value) {
    WriteStored(section, key, std::to_string(value));
}

void TIniCtrl::WriteText(const std::string& section, const std::string& key,
                         const std::string& value) {
    WriteStored(section, key, value);
}

bool TIniCtrl::ValueExists(const std::string& section, const std::string& key) {
    return ReadStored(section, key, nullptr);
}

void TIniCtrl::DeleteValue(const std::string& section, const std::string& key) {
    const std::string name = ResolveSection(section);

    bool baseOpen = false;
    const HKEY base = OpenBaseForWriting(baseOpen);
    KeyGuard baseGuard(hive_, base, baseOpen);

    HKEY sectionKey = 0;
    HiveStatus status = hive_.OpenKey(base, name, KeyAccess::AllAccess, sectionKey);
    if (status == HiveStatus::Ok) {
        KeyGuard sectionGuard(hive_, sectionKey, true);
        status = hive_.DeleteValue(sectionKey, key);
        if (status != HiveStatus::Ok && status != HiveStatus::NotFound) {
            Throw(status, StoreFailure::DeleteData, key);
        }
        status = sectionGuard.Close();
    } else if (status == HiveStatus::NotFound) {
        status = HiveStatus::Ok;
    }
    if (status != HiveStatus::Ok) {
        Throw(status, StoreFailure::DeleteData, key);
    }
    status = baseGuard.Close();
    if (status != HiveStatus::Ok) {
        Throw(status, StoreFailure::DeleteData, key);
    }
}

TIniCtrl::Transaction::Transaction(TIniCtrl& ini, Purpose purpose) : ini_(ini) {
    if (purpose == Writing) {
        key_ = ini_.OpenBaseForWriting(open_);
    } else {
        KeyAccess granted = KeyAccess::Read;
        key_ = ini_.OpenBaseForReading(open_, granted);
    }
}

TIniCtrl::Transaction::~Transaction() {
    if (open_) {
        ini_.hive_.DiscardChanges();
        ini_.hive_.CloseKey(key_);
    }
}

void TIniCtrl::Transaction::Commit() {
    if (!open_) {
        return;
    }
    open_ = false;
    const HiveStatus status = ini_.hive_.CloseKey(key_);
    if (status != HiveStatus::Ok) {
        ini_.Throw(status, StoreFailure::Commit, {});
    }
}

}  // namespace travoli
