// Structure, cursor, editing and data packets of ClientDataSet.
#include <algorithm>

#include "framework/ClientDataSetImpl.h"
#include "framework/DataSetValues.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace orb::fw {

namespace {

[[noreturn]] void NotEditing() { throw EDatabaseError("Dataset not in edit or insert mode"); }

}  // namespace

// ---- Impl ----------------------------------------------------------------------------------

bool ClientDataSet::Impl::Before(const Row* a, const Row* b) const {
    for (int field : settings.orderFields) {
        const auto i = static_cast<std::size_t>(field);
        // The type only matters for texts, which are stored as text in string fields alone.
        const FieldType type = a->values[i].Type() == VarType::Text ? FieldType::String : FieldType::Float;
        int c = dataset::CompareFieldValues(type, a->values[i], b->values[i], settings.caseInsensitive);
        if (c != 0) return settings.descending ? c > 0 : c < 0;
    }
    return false;
}

void ClientDataSet::Impl::RebuildView() {
    view.clear();
    for (const auto& row : rows) {
        if (Visible(*row)) view.push_back(row.get());
    }
    if (!settings.orderFields.empty()) {
        std::stable_sort(view.begin(), view.end(), [this](const Row* a, const Row* b) { return Before(a, b); });
    }
}

void ClientDataSet::Impl::ClearCursor() {
    current = nullptr;
    pos = 0;
    bof = eof = true;
}

void ClientDataSet::Impl::PlaceCursor(const Row* target, const std::vector<Row*>& fallback) {
    if (view.empty()) return ClearCursor();
    auto place = [this](std::size_t at) {
        pos = at;
        current = view[at];
        bof = eof = false;
    };
    auto find = [this](const Row* row) { return std::find(view.begin(), view.end(), row); };
    if (target) {
        auto it = find(target);
        if (it != view.end()) return place(static_cast<std::size_t>(it - view.begin()));
    }
    for (const Row* row : fallback) {
        auto it = find(row);
        if (it != view.end()) return place(static_cast<std::size_t>(it - view.begin()));
    }
    place(view.size() - 1);
    eof = true;
}

std::vector<Row*> ClientDataSet::Impl::RowsAfterCursor() const {
    if (!current || pos >= view.size()) return {};
    return std::vector<Row*>(view.begin() + static_cast<std::ptrdiff_t>(pos) + 1, view.end());
}

// ---- Structure ----------------------------------------------------------------------------

ClientDataSet::ClientDataSet(std::string name) : name_(std::move(name)), impl_(std::make_unique<Impl>()) {}

ClientDataSet::~ClientDataSet() = default;

void ClientDataSet::CheckActive() const {
    if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void ClientDataSet::CheckInactive() const {
    if (Active()) throw EDatabaseError("Cannot perform this operation on an open dataset");
}

void ClientDataSet::AddFieldDef(std::string name, FieldType type, int size) {
    CheckInactive();
    std::vector<FieldDef> defs = defs_;
    defs.push_back(FieldDef{std::move(name), type, type == FieldType::String ? std::max(size, 0) : 0});
    dataset::CheckFieldDefs(defs);
    defs_ = std::move(defs);
    for (auto& row : impl_->rows) {
        row->values.push_back(Variant::Null());
        if (!row->original.empty()) row->original.push_back(Variant::Null());
    }
    RebuildFields();
}

void ClientDataSet::ClearFieldDefs() {
    CheckInactive();
    defs_.clear();
    impl_->rows.clear();
    impl_->view.clear();
    impl_->ClearCursor();
    RebuildFields();
}

void ClientDataSet::RebuildFields() {
    fields_.clear();
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        fields_.push_back(std::unique_ptr<Field>(new Field(this, defs_[i], static_cast<int>(i))));
    }
}

void ClientDataSet::CreateDataSet() {
    if (defs_.empty()) throw EDatabaseError("Missing field definitions");
    if (Active()) Close();
    impl_->rows.clear();
    Open();
}

void ClientDataSet::Open() {
    if (Active()) return;
    if (defs_.empty()) throw EDatabaseError("Missing data provider or data packet");
    impl_->settings = PrepareSettings(defs_);
    state_ = DataSetState::Browse;
    impl_->RebuildView();
    First();
}

void ClientDataSet::Close() {
    if (!Active()) return;
    Cancel();
    state_ = DataSetState::Inactive;
    impl_->view.clear();
    impl_->ClearCursor();
    impl_->settings = ViewSettings{};
}

void ClientDataSet::EmptyDataSet() {
    CheckActive();
    Cancel();
    impl_->rows.clear();
    impl_->view.clear();
    impl_->ClearCursor();
}

// ---- Fields ------------------------------------------------------------------------------

Field* ClientDataSet::FindField(std::string_view name) {
    int index = dataset::FindFieldIndex(defs_, name);
    return index < 0 ? nullptr : fields_[static_cast<std::size_t>(index)].get();
}

Field& ClientDataSet::FieldByName(std::string_view name) {
    Field* field = FindField(name);
    if (!field) dataset::ThrowFieldNotFound(name);
    return *field;
}

Field& ClientDataSet::FieldAt(int index) {
    if (index < 0 || index >= FieldCount()) throw EDatabaseError("Field index out of range");
    return *fields_[static_cast<std::size_t>(index)];
}

Variant ClientDataSet::GetCurrentValue(int fieldIndex) const {
    CheckActive();
    const auto i = static_cast<std::size_t>(fieldIndex);
    if (fieldIndex < 0 || i >= defs_.size()) throw EDatabaseError("Field index out of range");
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return impl_->buffer[i];
    if (!impl_->current) return Variant::Null();
    return impl_->current->values[i];
}

void ClientDataSet::SetCurrentValue(int fieldIndex, const Variant& v) {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) NotEditing();
    const auto i = static_cast<std::size_t>(fieldIndex);
    if (fieldIndex < 0 || i >= defs_.size()) throw EDatabaseError("Field index out of range");
    impl_->buffer[i] = dataset::ToFieldValue(defs_[i], v);
    impl_->modified = true;
}

// ---- Navigation ----------------------------------------------------------------------------

void ClientDataSet::CheckBrowseMode() {
    CheckActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        if (impl_->modified)
            Post();
        else
            Cancel();
    }
}

void ClientDataSet::First() {
    CheckBrowseMode();
    Impl& d = *impl_;
    if (d.view.empty()) return d.ClearCursor();
    d.pos = 0;
    d.current = d.view.front();
    d.bof = true;
    d.eof = false;
}

void ClientDataSet::Last() {
    CheckBrowseMode();
    Impl& d = *impl_;
    if (d.view.empty()) return d.ClearCursor();
    d.pos = d.view.size() - 1;
    d.current = d.view.back();
    d.bof = false;
    d.eof = true;
}

void ClientDataSet::Next() {
    CheckBrowseMode();
    Impl& d = *impl_;
    if (d.view.empty()) return d.ClearCursor();
    d.bof = false;
    if (d.pos + 1 < d.view.size()) {
        d.current = d.view[++d.pos];
        d.eof = false;
    } else {
        d.eof = true;
    }
}

void ClientDataSet::Prior() {
    CheckBrowseMode();
    Impl& d = *impl_;
    if (d.view.empty()) return d.ClearCursor();
    d.eof = false;
    if (d.pos > 0) {
        d.current = d.view[--d.pos];
        d.bof = false;
    } else {
        d.bof = true;
    }
}

bool ClientDataSet::Eof() const { return !Active() || impl_->eof; }
bool ClientDataSet::Bof() const { return !Active() || impl_->bof; }
int ClientDataSet::RecordCount() const { return Active() ? static_cast<int>(impl_->view.size()) : 0; }
int ClientDataSet::RecNo() const { return Active() && impl_->current ? static_cast<int>(impl_->pos) + 1 : 0; }

// ---- Editing -----------------------------------------------------------------------------

void ClientDataSet::Append() {
    CheckBrowseMode();
    impl_->buffer.assign(defs_.size(), Variant::Null());
    impl_->modified = false;
    impl_->insertBefore = nullptr;
    state_ = DataSetState::Insert;
}

void ClientDataSet::Insert() {
    CheckBrowseMode();
    impl_->buffer.assign(defs_.size(), Variant::Null());
    impl_->modified = false;
    impl_->insertBefore = impl_->current;
    state_ = DataSetState::Insert;
}

void ClientDataSet::Edit() {
    CheckActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
    if (!impl_->current) return Insert();
    impl_->buffer = impl_->current->values;
    impl_->modified = false;
    impl_->editRow = impl_->current;
    state_ = DataSetState::Edit;
}

void ClientDataSet::Post() {
    CheckActive();
    Impl& d = *impl_;
    if (state_ == DataSetState::Insert) {
        auto row = std::make_unique<Row>();
        row->values = std::move(d.buffer);
        row->status = logChanges_ ? RowStatus::Inserted : RowStatus::Plain;
        Row* posted = row.get();
        std::vector<Row*> fallback;
        if (d.current) fallback.push_back(d.current);
        for (Row* r : d.RowsAfterCursor()) fallback.push_back(r);
        auto at = d.insertBefore ? std::find_if(d.rows.begin(), d.rows.end(),
                                                [&](const auto& r) { return r.get() == d.insertBefore; })
                                 : d.rows.end();
        const bool appended = at == d.rows.end();
        d.rows.insert(at, std::move(row));
        state_ = DataSetState::Browse;
        d.buffer.clear();
        if (appended && d.Visible(*posted)) {
            // Appending keeps the view in order: the new row goes after every equal key.
            auto it = std::upper_bound(d.view.begin(), d.view.end(), posted,
                                       [&d](const Row* a, const Row* b) { return d.Before(a, b); });
            d.view.insert(it, posted);
        } else {
            d.RebuildView();
        }
        d.PlaceCursor(posted, fallback);
        return;
    }
    if (state_ != DataSetState::Edit) NotEditing();
    Row* row = d.editRow;
    if (row->values != d.buffer) {
        if (logChanges_ && row->status == RowStatus::Plain) {
            row->original = row->values;
            row->status = RowStatus::Modified;
        }
        row->values = std::move(d.buffer);
    }
    state_ = DataSetState::Browse;
    d.buffer.clear();
    d.editRow = nullptr;
    const std::vector<Row*> fallback = d.RowsAfterCursor();
    if (d.settings.filter || !d.settings.orderFields.empty()) d.RebuildView();
    d.PlaceCursor(row, fallback);
}

void ClientDataSet::Cancel() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
    impl_->buffer.clear();
    impl_->editRow = nullptr;
    impl_->insertBefore = nullptr;
    impl_->modified = false;
    state_ = DataSetState::Browse;
}

void ClientDataSet::Delete() {
    CheckActive();
    if (state_ == DataSetState::Insert) return Cancel();
    Cancel();
    Impl& d = *impl_;
    if (!d.current) throw EDatabaseError("Cannot perform this operation on an empty dataset");
    Row* row = d.current;
    d.view.erase(d.view.begin() + static_cast<std::ptrdiff_t>(d.pos));
    if (logChanges_ && row->status != RowStatus::Inserted) {
        if (row->status == RowStatus::Modified) row->values = row->original;
        row->original.clear();
        row->status = RowStatus::Deleted;
    } else {
        d.rows.erase(std::find_if(d.rows.begin(), d.rows.end(), [row](const auto& r) { return r.get() == row; }));
    }
    if (d.view.empty()) return d.ClearCursor();
    d.bof = false;
    if (d.pos < d.view.size()) {
        d.current = d.view[d.pos];
        d.eof = false;
    } else {
        d.pos = d.view.size() - 1;
        d.current = d.view.back();
        d.eof = true;
    }
}

// ---- Data packets ----------------------------------------------------------------------------

DataPacket ClientDataSet::Data() const {
    DataPacket packet;
    packet.fields = defs_;
    for (const auto& row : impl_->rows) {
        if (row->status != RowStatus::Deleted) packet.rows.push_back(row->values);
    }
    return packet;
}

void ClientDataSet::SetData(const DataPacket& packet) {
    dataset::CheckFieldDefs(packet.fields);
    std::vector<PacketRow> rows;
    rows.reserve(packet.rows.size());
    for (std::size_t r = 0; r < packet.rows.size(); ++r) {
        const auto& values = packet.rows[r];
        if (values.size() != packet.fields.size()) {
            throw EDatabaseError("Data packet row " + std::to_string(r + 1) + " has " + std::to_string(values.size()) +
                                 " values for " + std::to_string(packet.fields.size()) + " fields");
        }
        PacketRow row;
        row.values.reserve(values.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            row.values.push_back(dataset::ToFieldValue(packet.fields[i], values[i]));
        rows.push_back(std::move(row));
    }
    InstallRows(packet.fields, std::move(rows));
}

void ClientDataSet::InstallRows(std::vector<FieldDef> defs, std::vector<PacketRow> rows) {
    for (FieldDef& def : defs) {
        if (def.type != FieldType::String) def.size = 0;
    }
    ViewSettings settings = PrepareSettings(defs);  // may raise: nothing has changed yet
    Cancel();
    // Field objects the caller already holds stay valid when the structure is the same.
    const bool sameStructure = std::equal(
        defs.begin(), defs.end(), defs_.begin(), defs_.end(),
        [](const FieldDef& a, const FieldDef& b) { return a.name == b.name && a.type == b.type && a.size == b.size; });
    defs_ = std::move(defs);
    if (!sameStructure) RebuildFields();
    impl_->rows.clear();
    for (PacketRow& row : rows) impl_->rows.push_back(std::make_unique<Row>(std::move(row)));
    impl_->settings = std::move(settings);
    state_ = DataSetState::Browse;
    impl_->RebuildView();
    First();
}

// ---- Change log ----------------------------------------------------------------------------

void ClientDataSet::SetLogChanges(bool on) { logChanges_ = on; }

int ClientDataSet::ChangeCount() const {
    return static_cast<int>(std::count_if(impl_->rows.begin(), impl_->rows.end(),
                                          [](const auto& row) { return row->status != RowStatus::Plain; }));
}

void ClientDataSet::MergeChangeLog() {
    if (Active()) CheckBrowseMode();
    auto& rows = impl_->rows;
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [](const auto& row) { return row->status == RowStatus::Deleted; }),
        rows.end());
    for (auto& row : rows) {
        row->status = RowStatus::Plain;
        row->original.clear();
    }
}

}  // namespace orb::fw
