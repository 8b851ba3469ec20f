#include "settings/reg_key.h"

#include <array>

#include "settings/settings_db.h"
#include "settings/settings_store.h"
#include "store/coding.h"

namespace vrk {

namespace {

constexpr std::array<std::pair<std::string_view, TRoot>, 7> kRootNames{{
    {"HKEY_CLASSES_ROOT", TRoot::kClassesRoot},
    {"HKEY_CURRENT_USER", TRoot::kCurrentUser},
    {"HKEY_LOCAL_MACHINE", TRoot::kLocalMachine},
    {"HKEY_USERS", TRoot::kUsers},
    {"HKEY_PERFORMANCE_DATA", TRoot::kPerformanceData},
    {"HKEY_CURRENT_CONFIG", TRoot::kCurrentConfig},
    {"HKEY_DYN_DATA", TRoot::kDynData},
}};

bool HasDatabase(TRoot root) {
    return root == TRoot::kCurrentUser || root == TRoot::kLocalMachine;
}

}  // namespace

std::optional<TRoot> RootFromName(std::string_view name) {
    for (const auto& [text, root] : kRootNames)
        if (text == name) return root;
    return std::nullopt;
}

bool SplitKeyPath(std::string_view path, std::vector<std::string>& names) {
    names.clear();
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty()) return true;
    for (;;) {
        const std::size_t cut = path.find('\\');
        const std::string_view name = path.substr(0, cut);
        if (name.empty()) return false;
        names.emplace_back(name);
        if (cut == std::string_view::npos) return true;
        path.remove_prefix(cut + 1);
    }
}

std::string EncodeNumber(std::int32_t number) {
    std::string bytes(4, '\0');
    PutFixed32(bytes.data(), static_cast<std::uint32_t>(number));
    return bytes;
}

bool DecodeNumber(const TRegValue& value, std::int32_t& number) {
    if (value.type != TValueType::kNumber || value.data.size() != 4) return false;
    number = static_cast<std::int32_t>(DecodeFixed32(value.data.data()));
    return true;
}

TRegResult TRegKey::Open(TRoot root, std::string_view subKey, TAccess access, TRegKey& key) {
    if (!HasDatabase(root)) return TRegResult::kNotFound;
    TRegKey top;
    top.db_ = SettingsDatabase(root);
    if (top.db_ == nullptr) return TRegResult::kStoreFailure;
    top.id_ = TSettingsDb::kTopKey;
    top.access_ = TAccess::kFull;
    return top.Resolve(subKey, access, false, key, nullptr);
}

TRegResult TRegKey::Create(TRoot root, std::string_view subKey, TRegKey& key, bool* created) {
    if (!HasDatabase(root)) return TRegResult::kAccessDenied;
    TRegKey top;
    top.db_ = SettingsDatabase(root);
    if (top.db_ == nullptr) return TRegResult::kStoreFailure;
    top.id_ = TSettingsDb::kTopKey;
    top.access_ = TAccess::kFull;
    return top.Resolve(subKey, TAccess::kFull, true, key, created);
}

TRegResult TRegKey::OpenSub(std::string_view subKey, TAccess access, TRegKey& key) const {
    return Resolve(subKey, access, false, key, nullptr);
}

TRegResult TRegKey::CreateSub(std::string_view subKey, TRegKey& key, bool* created) const {
    if (TRegResult r = CheckWrite(); r != TRegResult::kOk) return r;
    return Resolve(subKey, TAccess::kFull, true, key, created);
}

TRegResult TRegKey::Resolve(std::string_view subKey, TAccess access, bool create, TRegKey& key,
                            bool* created) const {
    if (db_ == nullptr) return TRegResult::kStoreFailure;
    std::vector<std::string> names;
    if (!SplitKeyPath(subKey, names)) return TRegResult::kInvalidName;
    if (access == TAccess::kFull && !db_->writable()) return db_->RefuseChange();
    std::int64_t id = 0;
    bool isNew = false;
    const TRegResult r =
        create ? db_->ResolveOrCreate(id_, names, id, isNew) : db_->Resolve(id_, names, id);
    if (r != TRegResult::kOk) return r;
    TRegKey opened;
    opened.db_ = db_;
    opened.id_ = id;
    opened.access_ = access;
    key = std::move(opened);
    if (created != nullptr) *created = isNew;
    return TRegResult::kOk;
}

TRegResult TRegKey::CheckWrite() const {
    if (db_ == nullptr) return TRegResult::kStoreFailure;
    return access_ == TAccess::kFull ? TRegResult::kOk : TRegResult::kAccessDenied;
}

TRegResult TRegKey::EnumKey(std::uint32_t index, std::string& name, std::size_t nameBuffer) {
    if (db_ == nullptr) return TRegResult::kStoreFailure;
    std::int64_t id = 0;
    TRegResult r;
    if (index == 0)
        r = db_->NextChild(id_, 0, id, name);
    else if (keyCursor_.valid && keyCursor_.index + 1 == index)
        r = db_->NextChild(id_, keyCursor_.id, id, name);
    else
        r = db_->ChildAt(id_, index, id, name);
    if (r != TRegResult::kOk) {
        keyCursor_.valid = false;
        return r;
    }
    keyCursor_ = {true, index, id};
    return FitsNameBuffer(name.size(), nameBuffer) ? TRegResult::kOk : TRegResult::kMoreData;
}

TRegResult TRegKey::EnumValue(std::uint32_t index, TRegValue& value, std::size_t nameBuffer,
                              std::size_t dataBuffer) {
    if (db_ == nullptr) return TRegResult::kStoreFailure;
    std::int64_t id = 0;
    TRegResult r;
    if (index == 0)
        r = db_->NextValue(id_, 0, id, value);
    else if (valueCursor_.valid && valueCursor_.index + 1 == index)
        r = db_->NextValue(id_, valueCursor_.id, id, value);
    else
        r = db_->ValueAt(id_, index, id, value);
    if (r != TRegResult::kOk) {
        valueCursor_.valid = false;
        return r;
    }
    valueCursor_ = {true, index, id};
    const bool fits = FitsNameBuffer(value.name.size(), nameBuffer) &&
                      FitsDataBuffer(value.type, value.data.size(), dataBuffer);
    return fits ? TRegResult::kOk : TRegResult::kMoreData;
}

TRegResult TRegKey::QueryValue(std::string_view name, TRegValue& value,
                               std::size_t dataBuffer) const {
    if (db_ == nullptr) return TRegResult::kStoreFailure;
    const TRegResult r = db_->QueryValue(id_, name, value);
    if (r != TRegResult::kOk) return r;
    return FitsDataBuffer(value.type, value.data.size(), dataBuffer) ? TRegResult::kOk
                                                                     : TRegResult::kMoreData;
}

TRegResult TRegKey::SetValue(std::string_view name, TValueType type, std::string_view data) {
    if (TRegResult r = CheckWrite(); r != TRegResult::kOk) return r;
    if (type == TValueType::kNumber && data.size() != 4) return TRegResult::kInvalidName;
    keyCursor_.valid = valueCursor_.valid = false;
    return db_->SetValue(id_, name, type, data);
}

TRegResult TRegKey::SetNumber(std::string_view name, std::int32_t number) {
    return SetValue(name, TValueType::kNumber, EncodeNumber(number));
}

TRegResult TRegKey::DeleteValue(std::string_view name) {
    if (TRegResult r = CheckWrite(); r != TRegResult::kOk) return r;
    keyCursor_.valid = valueCursor_.valid = false;
    return db_->DeleteValue(id_, name);
}

TRegResult TRegKey::DeleteSubKey(std::string_view name) {
    if (TRegResult r = CheckWrite(); r != TRegResult::kOk) return r;
    keyCursor_.valid = valueCursor_.valid = false;
    return db_->DeleteChild(id_, name, false);
}

TRegResult TRegKey::DeleteSubTree(std::string_view name) {
    if (TRegResult r = CheckWrite(); r != TRegResult::kOk) return r;
    keyCursor_.valid = valueCursor_.valid = false;
    return db_->DeleteChild(id_, name, true);
}

TRegResult TRegKey::MoveSubKey(std::string_view name, const TRegKey& target,
                               std::string_view newName, const TRegKey* uniqueBelow) {
    if (TRegResult r = CheckWrite(); r != TRegResult::kOk) return r;
    if (TRegResult r = target.CheckWrite(); r != TRegResult::kOk) return r;
    if (target.db_ != db_ || (uniqueBelow != nullptr && uniqueBelow->db_ != db_))
        return TRegResult::kAccessDenied;
    if (newName.empty() || newName.find('\\') != std::string_view::npos)
        return TRegResult::kInvalidName;
    keyCursor_.valid = valueCursor_.valid = false;
    return db_->MoveChild(id_, name, target.id_, newName,
                          uniqueBelow != nullptr ? uniqueBelow->id_ : 0);
}

TRegResult TRegKey::CreateUniqueSub(std::string_view name, const TRegKey& uniqueBelow,
                                    TRegKey& key) const {
    if (TRegResult r = CheckWrite(); r != TRegResult::kOk) return r;
    if (uniqueBelow.db_ != db_) return TRegResult::kAccessDenied;
    if (name.empty() || name.find('\\') != std::string_view::npos) return TRegResult::kInvalidName;
    std::int64_t id = 0;
    if (TRegResult r = db_->CreateUniqueChild(id_, name, uniqueBelow.id_, id); r != TRegResult::kOk)
        return r;
    TRegKey created;
    created.db_ = db_;
    created.id_ = id;
    created.access_ = TAccess::kFull;
    key = std::move(created);
    return TRegResult::kOk;
}

}  // namespace vrk
