// The XML file of ClientDataSet.
#include "framework/ClientDataSetImpl.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"

namespace orb::fw {

std::string ClientDataSet::XmlText() const {
    std::vector<const PacketRow*> rows;
    rows.reserve(impl_->rows.size());
    for (const auto& row : impl_->rows) rows.push_back(row.get());
    return dataset::WriteDataPacketXml(defs_, rows, logChanges_);
}

void ClientDataSet::LoadFromXml(std::string_view xml) {
    dataset::StatedPacket packet = dataset::ReadDataPacketXml(xml);
    InstallRows(std::move(packet.fields), std::move(packet.rows));
}

void ClientDataSet::LoadFromFile(const std::string& path) {
    const std::string native = platform::NativePath(path);
    std::string contents;
    if (!platform::ReadFile(native, contents)) {
        throw EInOutError("Cannot open file \"" + path + "\"" +
                          (platform::FileExists(native) ? std::string() : ". The file does not exist"));
    }
    try {
        LoadFromXml(contents);
    } catch (const EDatabaseError& e) {
        throw EDatabaseError("File \"" + path + "\": " + e.what());
    }
}

void ClientDataSet::SaveToFile(const std::string& path) const {
    if (defs_.empty()) throw EDatabaseError("Missing data provider or data packet");
    if (!platform::WriteFileAtomic(platform::NativePath(path), XmlText())) {
        throw EInOutError("Cannot create file \"" + path + "\". " + platform::LastErrorMessage());
    }
}

std::string ClientDataSet::ToXml(const DataPacket& packet) {
    dataset::CheckFieldDefs(packet.fields);
    std::vector<PacketRow> rows;
    rows.reserve(packet.rows.size());
    for (const auto& values : packet.rows) {
        PacketRow row;
        for (std::size_t i = 0; i < packet.fields.size(); ++i) {
            row.values.push_back(i < values.size() ? values[i] : Variant::Null());
        }
        rows.push_back(std::move(row));
    }
    std::vector<const PacketRow*> pointers;
    for (const auto& row : rows) pointers.push_back(&row);
    return dataset::WriteDataPacketXml(packet.fields, pointers, false);
}

DataPacket ClientDataSet::FromXml(std::string_view xml) {
    dataset::StatedPacket stated = dataset::ReadDataPacketXml(xml);
    DataPacket packet;
    packet.fields = std::move(stated.fields);
    for (auto& row : stated.rows) {
        if (row.status != dataset::RowStatus::Deleted) packet.rows.push_back(std::move(row.values));
    }
    return packet;
}

}  // namespace orb::fw
