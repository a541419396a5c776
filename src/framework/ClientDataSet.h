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
struct ViewSettings;
namespace dataset {
struct PacketRow;
}

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
    Variant Value() const;         // Null when the field is empty
    std::string AsString() const;  // a float as FloatToStr, a date as DateToStr, a bool "True"/"False"
    int AsInteger() const;         // a text that is not a number raises EConvertError
    double AsFloat() const;
    TDateTime AsDateTime() const;
    bool AsBoolean() const;

    // The value is converted to the field's type: a String is cut to Size (when Size > 0), a
    // Date keeps only its day. As in the host's client datasets, an empty text stored in a
    // string field leaves the field null.
    void SetValue(const Variant& v);
    void SetAsString(std::string_view s);
    void SetAsInteger(int v);
    void SetAsFloat(double v);
    void SetAsDateTime(TDateTime v);
    void SetAsBoolean(bool v);
    void Clear();  // null

private:
    friend class ClientDataSet;
    Field(ClientDataSet* owner, FieldDef def, int index) : owner_(owner), def_(std::move(def)), index_(index) {}
    ClientDataSet* owner_;
    FieldDef def_;
    int index_;
};

enum LocateOption : unsigned { loNone = 0, loCaseInsensitive = 1, loPartialKey = 2 };

// Errors are EDatabaseError with the host's texts: "Field 'X' not found", "Dataset not in edit
// or insert mode", "Cannot perform this operation on a closed dataset", "Cannot perform this
// operation on an empty dataset", "Index 'X' not found", "Missing data provider or data packet".
class ClientDataSet {
public:
    explicit ClientDataSet(std::string name = {});
    ~ClientDataSet();
    ClientDataSet(const ClientDataSet&) = delete;
    ClientDataSet& operator=(const ClientDataSet&) = delete;

    const std::string& Name() const { return name_; }

    // Structure. Field definitions change only while the table is closed.
    void AddFieldDef(std::string name, FieldType type, int size = 0);
    void ClearFieldDefs();
    const std::vector<FieldDef>& FieldDefs() const { return defs_; }
    void CreateDataSet();  // opens an empty table with the field definitions
    void Open();   // opens with the rows held (EDatabaseError "Missing data provider or data packet" without structure)
    void Close();  // keeps structure and rows; an unposted edit is discarded
    bool Active() const { return state_ != DataSetState::Inactive; }
    DataSetState State() const { return state_; }
    void EmptyDataSet();  // removes every row, change log included

    // Fields of the current record. FieldByName raises EDatabaseError "Field 'X' not found";
    // names compare without regard to case. With no current record a field reads as null.
    Field& FieldByName(std::string_view name);
    Field* FindField(std::string_view name);
    Field& FieldAt(int index);
    int FieldCount() const { return static_cast<int>(fields_.size()); }

    // Navigation over the visible rows (filter and index applied). Moving while a record is
    // being edited or inserted posts it first, as the host does.
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;  // visible rows; 0 when closed
    bool IsEmpty() const { return RecordCount() == 0; }
    int RecNo() const;  // 1-based, 0 when empty

    // Editing.
    void Append();  // a new row at the end, state Insert
    void Insert();  // a new row before the current one, state Insert
    void Edit();    // on an empty table the host starts an insert instead; so does this
    void Post();    // the cursor stays on the posted row (the following one if the filter now hides it)
    void Cancel();
    // Removes the current row; the cursor moves to the row that followed it. When it was the
    // last one, the cursor rests on the new last row with Eof true, so a "delete or Next" loop ends.
    void Delete();

    // Filters: field = 'text', field = number, <>, <, >, <=, >=, AND, OR, NOT, parentheses,
    // IS NULL / IS NOT NULL. Field names without regard to case; texts compare exactly; a
    // comparison with a null field is false. A string field compared with a number compares
    // numerically (a text that is not a number never matches).
    void SetFilter(std::string expression);  // EDatabaseError on a malformed expression
    const std::string& Filter() const { return filter_; }
    void SetFiltered(bool on);
    bool Filtered() const { return filtered_; }

    // Indexes: "A;B" orders by A then B, stable for equal keys; empty means insertion order.
    // Setting index field names clears the index name and the other way round.
    void SetIndexFieldNames(std::string fields);
    const std::string& IndexFieldNames() const { return indexFields_; }
    // Defines (or redefines) a named index; it becomes the order only through SetIndexName.
    void AddIndex(std::string name, std::string fields, bool descending = false, bool caseInsensitive = false);
    void SetIndexName(std::string name);  // EDatabaseError "Index 'X' not found"
    const std::string& IndexName() const { return indexName_; }

    // Moves to the first visible row whose fields ("A;B") equal the values (an array for
    // several fields); false, with the cursor where it was, when none.
    bool Locate(std::string_view fields, const Variant& values, unsigned options = loNone);

    // The whole table: structure and rows in insertion order (filter ignored, rows awaiting
    // deletion left out, an unposted edit not included).
    DataPacket Data() const;
    // Replaces structure and rows, opens, goes first. Filter and index settings stay; they
    // must name fields of the new structure (checked before anything is replaced).
    void SetData(const DataPacket& packet);
    // Copies the rows of another table into this one (Data := other.Data).
    void CopyDataFrom(const ClientDataSet& other) { SetData(other.Data()); }

    // Change log. With it on, saved rows carry their pending state (inserted, modified with
    // their original, deleted); with it off they are saved plain and deletions are final.
    void SetLogChanges(bool on);
    bool LogChanges() const { return logChanges_; }
    int ChangeCount() const;
    void MergeChangeLog();

    // The XML data-packet file format (<DATAPACKET>, <METADATA>, <ROWDATA>), UTF-8 on disk.
    // Save is atomic: a temporary file, then a rename. Load raises EInOutError when the file
    // cannot be read and EDatabaseError when it is not a valid data packet; the table is left
    // as it was then.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    void LoadFromXml(std::string_view xml);
    std::string XmlText() const;  // what SaveToFile writes
    static std::string ToXml(const DataPacket& packet);
    static DataPacket FromXml(std::string_view xml);  // pending states resolved to current rows

    // Used by Field.
    Variant GetCurrentValue(int fieldIndex) const;
    void SetCurrentValue(int fieldIndex, const Variant& v);

private:
    struct Impl;
    void CheckActive() const;
    void CheckInactive() const;
    void CheckBrowseMode();  // posts or cancels a pending edit
    void RebuildFields();
    // Replaces structure and rows (after checking that filter and index fit them), opens, goes first.
    void InstallRows(std::vector<FieldDef> defs, std::vector<dataset::PacketRow> rows);
    ViewSettings PrepareSettings(const std::vector<FieldDef>& defs) const;
    void ApplySettings(bool toFirst);
    template <typename T>
    void ChangeSetting(T& property, T value, bool toFirst);

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
