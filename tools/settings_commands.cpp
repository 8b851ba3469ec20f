// vrk3tool settings ...: single values of the settings store by full key path
// ("HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III\Fndr"), through the same
// helpers the programs use. Key names are converted at the edge; value names
// and texts too, unless --raw says they are file-system bytes (paths).
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "settings/settings_store.h"
#include "store/text_codec.h"
#include "tool_common.h"

namespace vrk::tool {
namespace {

struct TValueArgs {
    std::string keyPath, name, value;
    bool number = false;
    bool raw = false;
    unsigned flags = kRegCreateKey | kRegOverwrite;
};

std::string In(const TValueArgs& a, const std::string& text, std::string_view what) {
    return a.raw ? text : ToCp1250(text, what);
}

std::string Out(bool raw, std::string_view bytes) {
    return raw ? Escaped(bytes) : Printable(bytes);
}

// `what`, and why the store behind the root of `keyPath` failed when it did.
std::string WithStoreReason(const std::string& keyPath, std::string what) {
    const auto root = RootFromName(std::string_view(keyPath).substr(0, keyPath.find('\\')));
    const TStoreFailure failure = root ? SettingsStoreFailure(*root) : TStoreFailure::kNone;
    if (failure != TStoreFailure::kNone) (what += ": ") += StoreFailureText(failure);
    return what;
}

// The questions of flag 1, asked on the terminal: Yes only for an answer
// beginning with "y" or "d" (da).
bool AskOnTerminal(TOwnerWindow, std::string_view caption, std::string_view text) {
    std::cerr << Cp1250ToUtf8(caption) << ": " << Cp1250ToUtf8(text) << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer) || answer.empty()) return false;
    return answer[0] == 'y' || answer[0] == 'Y' || answer[0] == 'd' || answer[0] == 'D';
}

int RunGet(const TValueArgs& a) {
    const std::string key = ToCp1250(a.keyPath, "key path");
    const std::string name = In(a, a.name, "value name");
    if (a.number) {
        std::int32_t n = 0;
        if (!TGetRegistryNumber(key, name, n))
            return Fail(a.keyPath + "\\" + a.name, WithStoreReason(a.keyPath, "no number"));
        std::cout << n << '\n';
        return kExitOk;
    }
    std::string text;
    if (!TGetRegistryString(key, name, text))
        return Fail(a.keyPath + "\\" + a.name, WithStoreReason(a.keyPath, "no string"));
    std::cout << Out(a.raw, text) << '\n';
    return kExitOk;
}

int RunSet(const TValueArgs& a) {
    const std::string key = ToCp1250(a.keyPath, "key path");
    const std::string name = In(a, a.name, "value name");
    SetRegistryQuestion(AskOnTerminal);
    bool ok;
    if (a.number) {
        std::int32_t n = 0;
        try {
            std::size_t used = 0;
            const long long v = std::stoll(a.value, &used, 0);
            if (used != a.value.size() || v < INT32_MIN || v > UINT32_MAX)
                throw std::out_of_range("");
            n = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        } catch (const std::exception&) {
            throw TUsageError(a.value + ": not a 32-bit number");
        }
        ok = TSetRegistryNumber(key, name, n, a.flags);
    } else {
        ok = TSetRegistryString(key, name, In(a, a.value, "value"), a.flags);
    }
    return ok ? kExitOk
              : Fail(a.keyPath + "\\" + a.name, WithStoreReason(a.keyPath, "value not written"));
}

// The root and sub-key of a full path, opened; a usage error for an unknown root.
TRegResult OpenKey(const std::string& fullPath, TAccess access, TRegKey& key) {
    const std::string path = ToCp1250(fullPath, "key path");
    const std::size_t cut = path.find('\\');
    const auto root = RootFromName(std::string_view(path).substr(0, cut));
    if (!root) throw TUsageError(fullPath + ": unknown root key");
    return TRegKey::Open(*root, cut == std::string::npos ? "" : path.substr(cut + 1), access, key);
}

int RunDelete(const TValueArgs& a) {
    TRegKey key;
    if (OpenKey(a.keyPath, TAccess::kFull, key) != TRegResult::kOk)
        return Fail(a.keyPath, WithStoreReason(a.keyPath, "cannot open the key"));
    const TRegResult r = key.DeleteValue(In(a, a.name, "value name"));
    if (r == TRegResult::kNotFound) return Fail(a.keyPath + "\\" + a.name, "no such value");
    return r == TRegResult::kOk ? kExitOk : Fail(a.keyPath + "\\" + a.name, "not deleted");
}

std::string Hex(std::string_view bytes) {
    std::string out;
    char two[3];
    for (unsigned char b : bytes) {
        std::snprintf(two, sizeof two, "%02x", b);
        out += two;
    }
    return out;
}

// Sub-keys as "key<TAB>NAME", then values as "TYPE<TAB>NAME<TAB>DATA", in
// the store's order.
int RunList(const std::string& keyPath, bool raw) {
    TRegKey key;
    if (OpenKey(keyPath, TAccess::kRead, key) != TRegResult::kOk)
        return Fail(keyPath, WithStoreReason(keyPath, "cannot open the key"));
    std::string name;
    TRegResult r;
    for (std::uint32_t i = 0; (r = key.EnumKey(i, name)) == TRegResult::kOk; ++i)
        std::cout << "key\t" << Printable(name) << '\n';
    if (r != TRegResult::kNoMoreItems) return Fail(keyPath, "cannot list the sub-keys");
    TRegValue v;
    for (std::uint32_t i = 0; (r = key.EnumValue(i, v)) == TRegResult::kOk; ++i) {
        std::int32_t n = 0;
        if (v.type == TValueType::kString)
            std::cout << "string\t" << Out(raw, v.name) << '\t' << Out(raw, v.data) << '\n';
        else if (DecodeNumber(v, n))
            std::cout << "number\t" << Out(raw, v.name) << '\t' << n << '\n';
        else
            std::cout << "binary\t" << Out(raw, v.name) << '\t' << Hex(v.data) << '\n';
    }
    if (r != TRegResult::kNoMoreItems) return Fail(keyPath, "cannot list the values");
    return kExitOk;
}

}  // namespace

void RegisterSettingsCommands(CLI::App& app, int& exitCode) {
    auto* s = app.add_subcommand("settings", "Values of the settings store by full key path");
    s->require_subcommand(1);
    const char* raw = "names and texts are file-system bytes (paths), not converted";

    auto get = std::make_shared<TValueArgs>();
    auto* g = s->add_subcommand("get", "Print a string (or --number) value");
    g->add_option("KEYPATH", get->keyPath, "full key path")->required();
    g->add_option("NAME", get->name, "value name")->required();
    g->add_flag("--number", get->number, "a 32-bit number value");
    g->add_flag("--raw", get->raw, raw);
    g->callback([get, &exitCode] { exitCode = RunGet(*get); });

    auto set = std::make_shared<TValueArgs>();
    auto* t = s->add_subcommand("set", "Write a string (or --number) value");
    t->add_option("KEYPATH", set->keyPath, "full key path")->required();
    t->add_option("NAME", set->name, "value name")->required();
    t->add_option("VALUE", set->value, "the text or number")->required();
    t->add_flag("--number", set->number, "a 32-bit number value");
    t->add_flag("--raw", set->raw, raw);
    t->add_option("--flags", set->flags,
                  "1 ask, 2 create the key, 4 never create, 8 overwrite, 16 never overwrite "
                  "(default 10)")
        ->check(CLI::Range(0u, 31u));
    t->callback([set, &exitCode] { exitCode = RunSet(*set); });

    auto del = std::make_shared<TValueArgs>();
    auto* d = s->add_subcommand("delete", "Delete a value");
    d->add_option("KEYPATH", del->keyPath, "full key path")->required();
    d->add_option("NAME", del->name, "value name")->required();
    d->add_flag("--raw", del->raw, raw);
    d->callback([del, &exitCode] { exitCode = RunDelete(*del); });

    auto list = std::make_shared<TValueArgs>();
    auto* l = s->add_subcommand("list", "Print a key's sub-keys and values");
    l->add_option("KEYPATH", list->keyPath, "full key path")->required();
    l->add_flag("--raw", list->raw, raw);
    l->callback([list, &exitCode] { exitCode = RunList(list->keyPath, list->raw); });
}

}  // namespace vrk::tool
