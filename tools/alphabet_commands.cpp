// vrk3tool alphabet ...: the stored alphabet rows, as the alphabet dialog
// shows and stores them. Rows are converted at the edge.
#include <iostream>

#include "settings/alphabet_rows.h"
#include "settings/reg_key.h"
#include "settings/settings_keys.h"
#include "tool_common.h"

namespace vrk::tool {
namespace {

// "SEP<TAB>ROW" of the row a search uses now; with history, the rows the
// dialog offers as "N<TAB>SEP<TAB>ROW".
int RunShow(bool history) {
    if (!history) {
        const TAlphabetRow row = ReadAlphabetForSearch();
        std::cout << Printable(std::string(1, row.separator)) << '\t' << Printable(row.text)
                  << '\n';
        return kExitOk;
    }
    const TAlphabetSlots slots = ReadAlphabetSlots();
    for (int i = 0; i < kAlphabetSlots; ++i)
        if (slots[i].listed)
            std::cout << i << '\t' << Printable(std::string(1, slots[i].row.separator)) << '\t'
                      << Printable(slots[i].row.text) << '\n';
    return kExitOk;
}

int RunSet(const std::string& utf8Row, const std::string& utf8Separator) {
    TAlphabetRow row;
    row.text = ToCp1250(utf8Row, "row");
    row.separator = ToCp1250Char(utf8Separator, "--separator");
    if (row.text.empty()) throw TUsageError("row: give at least one character");
    if (row.text.size() >= kAlphabetRowBuffer)
        throw TUsageError("row: at most " + std::to_string(kAlphabetRowBuffer - 1) + " characters");
    // The programs make the key at start-up; the tool may come first.
    TRegKey key;
    if (TRegKey::Create(TRoot::kCurrentUser, kAlphabetKey, key) != TRegResult::kOk)
        return Fail(std::string(kAlphabetKey), "cannot open the key");
    StoreAlphabetRow(ReadAlphabetSlots(), row);
    const TAlphabetRow stored = ReadAlphabetSlots()[0].row;
    if (stored.text != row.text || stored.separator != row.separator)
        return Fail(std::string(kAlphabetKey), "the row was not stored");
    return kExitOk;
}

}  // namespace

void RegisterAlphabetCommands(CLI::App& app, int& exitCode) {
    auto* a = app.add_subcommand("alphabet", "The stored alphabet rows (sort order)");
    a->require_subcommand(1);

    auto history = std::make_shared<bool>(false);
    auto* s = a->add_subcommand("show", "Print the current row as SEPARATOR<TAB>ROW");
    s->add_flag("--history", *history, "print the stored rows as INDEX<TAB>SEPARATOR<TAB>ROW");
    s->callback([history, &exitCode] { exitCode = RunShow(*history); });

    auto set = std::make_shared<std::pair<std::string, std::string>>("", "|");
    auto* t = a->add_subcommand("set", "Make ROW the current row; the history moves down");
    t->add_option("ROW", set->first, "letter groups split by the separator")->required();
    t->add_option("--separator", set->second, "the separator character (default |)");
    t->callback([set, &exitCode] { exitCode = RunSet(set->first, set->second); });
}

}  // namespace vrk::tool
