#pragma once
// The host framework's in-memory table (TClientDataSet): typed fields, rows, a cursor,
// editing states, filters, indexes, locate, data packets and the XML file format.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/DataPacket.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace orb::fw {

class ClientDataSet;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// A field of the current record. Getters convert like the host's TField (a null string field
// reads as "", a null number as 0); setters require the dataset to be in Edit or Insert state
// ("Dataset not in edit or insert mode" otherwise).
class Field {
public:
    const std::string& FieldName() const { return def_.name; }
    FieldType DataType() const { return def_.type; }
    int Size() const { return def_.size; }
    int Index() const { return index_; }

    bool IsNull() const;
    Variant Value() const;
    std::string AsString() const;   // a float as FloatToStr, a date as DateToStr, a bool "True"/"False"
    int AsInteger() const;          // a text that is not a number raises EConvertError
    double AsFloat() const;
    TDateTime AsDateTime() const;
    bool AsBoolean() const;

    void SetValue(const Variant& v);  // converted to the field's type; String cut to Size
    void SetAsString(std::string_view s);
    void SetAsInteger(int v);
    void SetAsFloat(double v);
    void SetAsDateTime(TDateTime v);
    void SetAsBoolean(bool v);
    void Clear();                     // null

private:
    friend class ClientDataSet;
    Field(ClientDataSet* owner, FieldDef def, int index) : owner_(owner), def_(std::move(def)), index_(index) {}
    ClientDataSet* owner_;
    FieldDef def_;
    int index_;
};

enum LocateOption : unsigned { loNone = 0, loCaseInsensitive = 1, loPartialKey = 2 };

class ClientDataSet {
public:
    explicit ClientDataSet(std::string name = {});
    ~ClientDataSet();
    ClientDataSet(const ClientDataSet&) = delete;
    ClientDataSet& operator=(const ClientDataSet&) = delete;

    const std::string& Name() const { return name_; }

    // Structure.
    void AddFieldDef(std::string name, FieldType type, int size = 0);
    void ClearFieldDefs();
    const std::vector<FieldDef>& FieldDefs() const { return defs_; }
    void CreateDataSet();   // opens an empty table with the field definitions
    void Open();            // opens with the rows held (EDatabaseError "Missing data provider or data packet" without structure)
    void Close();           // keeps structure and rows; navigation and field access need Open
    bool Active() const { return state_ != DataSetState::Inactive; }
    DataSetState State() const { return state_; }
    void EmptyDataSet();    // removes every row

    // Fields of the current record. FieldByName raises EDatabaseError "Field 'X' not found";
    // names compare without regard to case.
    Field& FieldByName(std::string_view name);
    Field* FindField(std::string_view name);
    Field& FieldAt(int index);
    int FieldCount() const { return static_cast<int>(fields_.size()); }

    // Navigation over the visible rows (filter and index applied).
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;  // visible rows
    bool IsEmpty() const { return RecordCount() == 0; }
    int RecNo() const;        // 1-based, 0 when empty

    // Editing.
    void Append();   // a new row at the end, state Insert
    void Insert();   // a new row before the current one, state Insert
    void Edit();
    void Post();
    void Cancel();
    void Delete();   // the current row; the cursor moves to the next one

    // Filters: field = 'text', field = number, <>, <, >, <=, >=, AND, OR, NOT, parentheses,
    // IS NULL / IS NOT NULL. Field names without regard to case; texts compare exactly.
    void SetFilter(std::string expression);  // EDatabaseError on a malformed expression
    const std::string& Filter() const { return filter_; }
    void SetFiltered(bool on);
    bool Filtered() const { return filtered_; }

    // Indexes: "A;B" orders by A then B, stable for equal keys; empty means insertion order.
    void SetIndexFieldNames(std::string fields);
    const std::string& IndexFieldNames() const { return indexFields_; }
    void AddIndex(std::string name, std::string fields, bool descending = false, bool caseInsensitive = false);
    void SetIndexName(std::string name);  // EDatabaseError "Index 'X' not found"
    const std::string& IndexName() const { return indexName_; }

    // Moves to the first visible row whose fields ("A;B") equal the values (an array for
    // several fields); false, with the cursor where it was, when none.
    bool Locate(std::string_view fields, const Variant& values, unsigned options = loNone);

    // The whole table: structure and rows (all rows, filter ignored).
    DataPacket Data() const;
    void SetData(const DataPacket& packet);  // replaces structure and rows, opens, goes first
    // Copies the rows of another table into this one (Data := other.Data).
    void CopyDataFrom(const ClientDataSet& other) { SetData(other.Data()); }

    // Change log. With it on, saved rows carry their pending state; with it off they are plain.
    void SetLogChanges(bool on);
    bool LogChanges() const { return logChanges_; }
    int ChangeCount() const;
    void MergeChangeLog();

    // The XML data-packet file format (<DATAPACKET>, <METADATA>, <ROWDATA>). Save is atomic:
    // a temporary file, then a rename. Load raises EInOutError / EDatabaseError on failure.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    static std::string ToXml(const DataPacket& packet, bool withRowStates = false);
    static DataPacket FromXml(std::string_view xml);

    // Used by Field.
    Variant GetCurrentValue(int fieldIndex) const;
    void SetCurrentValue(int fieldIndex, const Variant& v);

private:
    struct Impl;
    std::string name_;
    std::vector<FieldDef> defs_;
    std::vector<std::unique_ptr<Field>> fields_;
    DataSetState state_ = DataSetState::Inactive;
    std::string filter_;
    bool filtered_ = false;
    std::string indexFields_;
    std::string indexName_;
    bool logChanges_ = true;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orb::fw
