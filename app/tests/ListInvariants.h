// What must hold between the window's lists after every command, load or hand-over.
#pragma once

#include <gtest/gtest.h>

#include <set>

#include "WindowDriver.h"

namespace window_driver {

// The list view and the mapping list agree row for row, the list is normalised, the key
// statuses match the rows, and Swap is enabled exactly when it can act.
inline void CheckInvariants(HWND w, const MainWindow& window)
{
    const MappingList& list = window.mappings;
    ASSERT_EQ(list.count(), RowCount(GetDlgItem(w, IDC_MAPPED_LIST)));
    std::vector<std::string> shown = MappedRows(w);
    std::set<ScanCode> sources;
    MappingList copy;
    for (int i = 0; i < list.count(); ++i) {
        const KeyMapping& row = list.at(i);
        ASSERT_EQ(std::string(row.fromName) + ">" + row.toName, shown[i]);
        ASSERT_TRUE(sources.insert(row.fromCode).second) << "two rows for " << row.fromName;
        copy.append(row.fromCode, row.toCode);
    }
    copy.normalise();
    for (int i = 0; i < list.count(); ++i) {
        ASSERT_EQ(copy.at(i).fromCode, list.at(i).fromCode);
        ASSERT_EQ(copy.at(i).toCode, list.at(i).toCode);
        ASSERT_EQ(copy.at(i).kind, list.at(i).kind);
        ASSERT_EQ(copy.at(i).kind, ItemImage(GetDlgItem(w, IDC_MAPPED_LIST), i));
    }
    for (int c = 0; c < KeyCatalogue::size; ++c) {
        ASSERT_EQ(copy.fromStatus(c), list.fromStatus(c));
        ASSERT_EQ(copy.toStatus(c), list.toStatus(c));
    }
    ASSERT_EQ(window.selectedToCode != 0 && window.selectedToCode != window.selectedFromCode, Enabled(w, IDC_SWAP));
}

}  // namespace window_driver
