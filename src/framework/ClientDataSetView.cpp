// Filters, indexes and locate of ClientDataSet.
#include <algorithm>

#include "framework/ClientDataSetImpl.h"
#include "framework/DataSetValues.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace orb::fw {

namespace {

const IndexDefinition* FindIndex(const std::vector<IndexDefinition>& indexes, std::string_view name) {
    for (const auto& index : indexes) {
        if (SameText(index.name, name)) return &index;
    }
    return nullptr;
}

[[noreturn]] void IndexNotFound(std::string_view name) {
    throw EDatabaseError("Index '" + std::string(name) + "' not found");
}

// Whether a stored value equals a locate key.
bool KeyMatches(const FieldDef& def, const Variant& stored, const Variant& key, unsigned options) {
    if (def.type == FieldType::String) {
        const std::string wanted = key.IsEmptyOrNull() ? std::string() : key.ToString();
        if (wanted.empty()) return stored.IsEmptyOrNull() || (options & loPartialKey);
        if (stored.IsEmptyOrNull()) return false;
        std::string have = stored.ToString();
        if (options & loPartialKey) have = have.substr(0, wanted.size());
        return (options & loCaseInsensitive) ? SameText(have, wanted) : have == wanted;
    }
    if (key.IsEmptyOrNull()) return stored.IsEmptyOrNull();
    if (stored.IsEmptyOrNull()) return false;
    const Variant converted = dataset::ToFieldValue(def, key);
    return dataset::CompareFieldValues(def.type, stored, converted, false) == 0;
}

}  // namespace

ViewSettings ClientDataSet::PrepareSettings(const std::vector<FieldDef>& defs) const {
    ViewSettings settings;
    if (filtered_ && !Trim(filter_).empty()) {
        settings.filter.emplace(filter_);
        settings.filter->Bind(defs);
    }
    if (!indexName_.empty()) {
        const IndexDefinition* index = FindIndex(impl_->indexes, indexName_);
        if (!index) IndexNotFound(indexName_);
        settings.orderFields = dataset::ResolveFieldList(defs, index->fields);
        settings.descending = index->descending;
        settings.caseInsensitive = index->caseInsensitive;
    } else if (!indexFields_.empty()) {
        settings.orderFields = dataset::ResolveFieldList(defs, indexFields_);
    }
    return settings;
}

void ClientDataSet::ApplySettings(bool toFirst) {
    if (!Active()) return;
    ViewSettings settings = PrepareSettings(defs_);
    Row* keep = impl_->current;
    impl_->settings = std::move(settings);
    impl_->RebuildView();
    if (toFirst) return First();
    impl_->PlaceCursor(keep, {});
    if (impl_->current) impl_->eof = false;
}

// Sets one of the view properties and applies it; on failure the property keeps its old value.
template <typename T>
void ClientDataSet::ChangeSetting(T& property, T value, bool toFirst) {
    if (Active()) CheckBrowseMode();
    T old = std::move(property);
    property = std::move(value);
    try {
        ApplySettings(toFirst);
    } catch (...) {
        property = std::move(old);
        throw;
    }
}

void ClientDataSet::SetFilter(std::string expression) {
    if (!Trim(expression).empty()) dataset::DataSetFilter syntaxCheck(expression);
    ChangeSetting(filter_, std::move(expression), true);
}

void ClientDataSet::SetFiltered(bool on) {
    if (on == filtered_) return;
    ChangeSetting(filtered_, on, true);
}

void ClientDataSet::SetIndexFieldNames(std::string fields) {
    std::string oldName = indexName_;
    indexName_.clear();
    try {
        ChangeSetting(indexFields_, std::move(fields), false);
    } catch (...) {
        indexName_ = std::move(oldName);
        throw;
    }
}

void ClientDataSet::SetIndexName(std::string name) {
    if (!name.empty() && !FindIndex(impl_->indexes, name)) IndexNotFound(name);
    std::string oldFields = indexFields_;
    indexFields_.clear();
    try {
        ChangeSetting(indexName_, std::move(name), false);
    } catch (...) {
        indexFields_ = std::move(oldFields);
        throw;
    }
}

void ClientDataSet::AddIndex(std::string name, std::string fields, bool descending, bool caseInsensitive) {
    if (Trim(name).empty()) throw EDatabaseError("Index name missing");
    if (Active()) dataset::ResolveFieldList(defs_, fields);
    IndexDefinition definition{std::move(name), std::move(fields), descending, caseInsensitive};
    auto it = std::find_if(impl_->indexes.begin(), impl_->indexes.end(),
                           [&](const IndexDefinition& d) { return SameText(d.name, definition.name); });
    const bool redefinesActive = it != impl_->indexes.end() && SameText(it->name, indexName_);
    if (it != impl_->indexes.end())
        *it = std::move(definition);
    else
        impl_->indexes.push_back(std::move(definition));
    if (redefinesActive) {
        if (Active()) CheckBrowseMode();
        ApplySettings(false);
    }
}

bool ClientDataSet::Locate(std::string_view fields, const Variant& values, unsigned options) {
    CheckBrowseMode();
    const std::vector<int> indexes = dataset::ResolveFieldList(defs_, fields);
    if (indexes.empty()) throw EDatabaseError("Locate without fields");
    std::vector<Variant> keys;
    if (indexes.size() == 1 && !(values.IsArray() && values.ArraySize() == 1)) {
        keys.push_back(values);
    } else if (values.IsArray() && values.ArraySize() == indexes.size()) {
        keys = values.AsArray();
    } else {
        throw EDatabaseError("Locate on " + std::to_string(indexes.size()) + " fields needs as many values");
    }
    Impl& d = *impl_;
    for (std::size_t at = 0; at < d.view.size(); ++at) {
        const Row* row = d.view[at];
        bool all = true;
        for (std::size_t k = 0; k < indexes.size() && all; ++k) {
            const auto i = static_cast<std::size_t>(indexes[k]);
            all = KeyMatches(defs_[i], row->values[i], keys[k], options);
        }
        if (all) {
            d.pos = at;
            d.current = d.view[at];
            d.bof = d.eof = false;
            return true;
        }
    }
    return false;
}

}  // namespace orb::fw
