#include "settings/settings_keys.h"

#include <initializer_list>

#include "settings/reg_key.h"

namespace vrk {

namespace {

void EnsureKeys(std::string_view programKey) {
    for (std::string_view path : {std::string_view("Software"), std::string_view("Software\\Tavro"),
                                  kUserRootKey, kGroupsKey, programKey, kAlphabetKey}) {
        TRegKey key;
        (void)TRegKey::Create(TRoot::kCurrentUser, path, key);
    }
    for (std::string_view path :
         {std::string_view("SOFTWARE"), std::string_view("SOFTWARE\\Tavro")}) {
        TRegKey key;
        (void)TRegKey::Create(TRoot::kLocalMachine, path, key);
    }
}

}  // namespace

void EnsureFinderKeys() {
    EnsureKeys(kFinderKey);
}

void EnsureManagerKeys() {
    EnsureKeys(kManagerKey);
}

}  // namespace vrk
