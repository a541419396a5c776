#pragma once
// The inside of ClientDataSet, shared by its source files only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/ClientDataSet.h"
#include "framework/DataPacketXml.h"
#include "framework/DataSetFilter.h"

namespace orb::fw {

using dataset::PacketRow;
using dataset::RowStatus;
using Row = PacketRow;

// The active order and restriction, resolved against a structure.
struct ViewSettings {
    std::optional<dataset::DataSetFilter> filter;
    std::vector<int> orderFields;
    bool descending = false;
    bool caseInsensitive = false;
};

struct IndexDefinition {
    std::string name;
    std::string fields;
    bool descending = false;
    bool caseInsensitive = false;
};

struct ClientDataSet::Impl {
    std::vector<std::unique_ptr<Row>> rows;  // insertion order, rows awaiting deletion included
    std::vector<Row*> view;                  // visible rows in cursor order
    Row* current = nullptr;                  // the row under the cursor (nullptr: none)
    std::size_t pos = 0;                     // its place in view
    bool bof = true;
    bool eof = true;

    // The record being edited or inserted.
    std::vector<Variant> buffer;
    bool modified = false;
    Row* editRow = nullptr;       // Edit
    Row* insertBefore = nullptr;  // Insert: the row it goes before; nullptr appends

    ViewSettings settings;
    std::vector<IndexDefinition> indexes;

    bool Visible(const Row& row) const {
        return row.status != RowStatus::Deleted && (!settings.filter || settings.filter->Matches(row.values));
    }
    // Orders two rows by the active order; false when equal.
    bool Before(const Row* a, const Row* b) const;
    void RebuildView();
    // Puts the cursor on target, or, when it is not visible, on the first visible row of
    // fallback; else on the last row with Eof set.
    void PlaceCursor(const Row* target, const std::vector<Row*>& fallback);
    void ClearCursor();
    std::vector<Row*> RowsAfterCursor() const;
};

}  // namespace orb::fw
