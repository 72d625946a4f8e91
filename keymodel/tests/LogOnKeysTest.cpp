#include "LogOnKeys.h"
#include "MappingListHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_keys;

namespace {

std::string describeMissing(int missing) { return missing ? logOnKeyNames(missing) : "(none)"; }

TEST(LogOnKeys, NamesWhatNoKeyWillProduce)
{
    struct Case {
        const char* what;
        std::vector<Row> rows;
        const char* missing;
    };
    const Case cases[] = {
        {"no mappings", {}, "(none)"},
        {"Left Ctrl and Caps Lock swapped", {{"Left Ctrl", "Caps Lock"}, {"Caps Lock", "Left Ctrl"}}, "(none)"},
        {"Left Ctrl disabled, Right Ctrl kept", {{"Left Ctrl", "<Disabled>"}}, "(none)"},
        {"both Ctrl keys disabled", {{"Left Ctrl", "<Disabled>"}, {"Right Ctrl", "<Disabled>"}}, "Ctrl"},
        {"both Ctrl keys disabled, Caps Lock gives Ctrl",
         {{"Left Ctrl", "<Disabled>"}, {"Right Ctrl", "<Disabled>"}, {"Caps Lock", "Right Ctrl"}},
         "(none)"},
        {"both Ctrl keys produce each other", {{"Left Ctrl", "Right Ctrl"}, {"Right Ctrl", "Left Ctrl"}}, "(none)"},
        {"both Alt keys made Windows keys", {{"Left Alt", "Left Windows"}, {"Right Alt", "Right Windows"}}, "Alt"},
        {"Delete remapped, Keypad . kept", {{"Delete", "Insert"}}, "(none)"},
        {"Delete and Keypad . remapped", {{"Delete", "Insert"}, {"Keypad .", "Keypad 0"}}, "Delete"},
        {"Delete disabled, Keypad . gives Delete's code back",
         {{"Delete", "<Disabled>"}, {"Keypad .", "Delete"}},
         "(none)"},
        // An unknown source is a key of some keyboard: its target counts.
        {"both Ctrl keys disabled, an unknown key gives Ctrl",
         {{"Left Ctrl", "<Disabled>"}, {"Right Ctrl", "<Disabled>"}, {"0x0056", "Left Ctrl"}},
         "(none)"},
        // Only the first row of a source counts, as findByFrom finds it.
        {"a later row of Caps Lock is not what Caps Lock produces",
         {{"Left Ctrl", "<Disabled>"}, {"Right Ctrl", "<Disabled>"}, {"Caps Lock", "A"}, {"Caps Lock", "Left Ctrl"}},
         "Ctrl"},
        {"Ctrl and Alt gone",
         {{"Left Ctrl", "<Disabled>"}, {"Right Ctrl", "<Disabled>"}, {"Left Alt", "A"}, {"Right Alt", "B"}},
         "Ctrl or Alt"},
        {"Ctrl and Delete gone",
         {{"Left Ctrl", "F1"}, {"Right Ctrl", "F2"}, {"Delete", "F3"}, {"Keypad .", "F4"}},
         "Ctrl or Delete"},
        {"Alt and Delete gone",
         {{"Left Alt", "F1"}, {"Right Alt", "F2"}, {"Delete", "F3"}, {"Keypad .", "F4"}},
         "Alt or Delete"},
        {"all three gone",
         {{"Left Ctrl", "F1"}, {"Right Ctrl", "F2"}, {"Left Alt", "F3"}, {"Right Alt", "F4"}, {"Delete", "F5"},
          {"Keypad .", "F6"}},
         "Ctrl, Alt or Delete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MappingList list;
        fill(list, c.rows);
        EXPECT_EQ(c.missing, describeMissing(missingLogOnKeys(list)));
        // The window's list is normalised first; for one row a source that changes nothing.
        if (list.count() == 0 || list.findByFrom(list.at(list.count() - 1).fromCode) == list.count() - 1) {
            list.normalise();
            EXPECT_EQ(c.missing, describeMissing(missingLogOnKeys(list)));
        }
    }
}

TEST(LogOnKeys, NamesEveryCombinationOfMissingKeys)
{
    const std::vector<std::string> expected = {
        "", "Ctrl", "Alt", "Ctrl or Alt", "Delete", "Ctrl or Delete", "Alt or Delete", "Ctrl, Alt or Delete",
    };
    for (int missing = 0; missing < 8; ++missing)
        EXPECT_EQ(expected[missing], logOnKeyNames(missing)) << missing;
    EXPECT_EQ(LogOnCtrl | LogOnAlt | LogOnDelete, 7);
}

}  // namespace
