#pragma once
// The XML data-packet file of the host's client datasets:
//   <?xml version="1.0" encoding="UTF-8" standalone="yes"?>
//   <DATAPACKET Version="2.0"><METADATA><FIELDS>
//     <FIELD attrname="CDFILIAL" fieldtype="string" WIDTH="4"/> ... </FIELDS><PARAMS/></METADATA>
//   <ROWDATA><ROW CDFILIAL="0001" .../> ...</ROWDATA></DATAPACKET>
// Field types on file: string (WIDTH), i4, r8, date (yyyymmdd), dateTime (yyyymmddThh:nn:sszzz),
// boolean (TRUE/FALSE). A null value has no attribute. Text is UTF-8 on file, CP1252 in memory.
//
// Pending changes are kept as the host keeps them, in the row's RowState attribute: 4 inserted,
// 2 deleted, and a modified row as its original (1) followed by its new values (8). In a
// RowState 8 row a missing attribute means "unchanged" and an empty one "now null".
#include <string>
#include <string_view>
#include <vector>

#include "framework/DataPacket.h"
#include "framework/Variant.h"

namespace orb::fw::dataset {

enum class RowStatus { Plain, Inserted, Modified, Deleted };

struct PacketRow {
    std::vector<Variant> values;  // current values (the original ones for a deleted row)
    RowStatus status = RowStatus::Plain;
    std::vector<Variant> original;  // Modified: the values before the change
};

struct StatedPacket {
    std::vector<FieldDef> fields;
    std::vector<PacketRow> rows;
};

// withStates false: rows awaiting deletion are left out and the others written plain.
std::string WriteDataPacketXml(const std::vector<FieldDef>& fields, const std::vector<const PacketRow*>& rows,
                               bool withStates);
// EDatabaseError "Invalid data packet: ..." for anything that is not a whole, valid packet.
// Values come back in their fields' types.
StatedPacket ReadDataPacketXml(std::string_view xml);

// Field names must be unique (without regard to case) and not empty.
void CheckFieldDefs(const std::vector<FieldDef>& fields);

}  // namespace orb::fw::dataset
