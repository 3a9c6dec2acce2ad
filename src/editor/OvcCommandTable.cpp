#include "editor/OvcCommandTable.h"

namespace wexly {

uint32_t TOvcCmdRec::PackedKeys() const
{
    return static_cast<uint32_t>(FirstKey) | static_cast<uint32_t>(FirstShift) << 8
        | static_cast<uint32_t>(SecondKey) << 16 | static_cast<uint32_t>(SecondShift) << 24;
}

TOvcCmdRec TOvcCmdRec::FromPacked(uint32_t keys, TCommandCode command)
{
    TOvcCmdRec rec;
    rec.FirstKey = static_cast<uint8_t>(keys & 0xFF);
    rec.FirstShift = static_cast<uint8_t>((keys >> 8) & 0xFF);
    rec.SecondKey = static_cast<uint8_t>((keys >> 16) & 0xFF);
    rec.SecondShift = static_cast<uint8_t>((keys >> 24) & 0xFF);
    rec.Command = command;
    return rec;
}

TOvcCommandTable::TOvcCommandTable(std::string name, bool active)
    : m_name(std::move(name))
    , m_active(active)
{
}

int TOvcCommandTable::IndexOfKeys(const TOvcCmdRec& keys) const
{
    for (size_t i = 0; i < m_commands.size(); ++i)
        if (m_commands[i].SameKeys(keys))
            return static_cast<int>(i);
    return -1;
}

void TOvcCommandTable::AddCommandRec(const TOvcCmdRec& rec)
{
    if (IndexOfKeys(rec) >= 0)
        throw TCommandTableError(kDuplicateCommandMessage);
    m_commands.push_back(rec);
}

void TOvcCommandTable::AddCommand(
    uint8_t key1, uint8_t shift1, uint8_t key2, uint8_t shift2, TCommandCode command)
{
    AddCommandRec(TOvcCmdRec { key1, shift1, key2, shift2, command });
}

bool TOvcCommandTable::DeleteCommand(const TOvcCmdRec& keys)
{
    int index = IndexOfKeys(keys);
    if (index < 0)
        return false;
    m_commands.erase(m_commands.begin() + index);
    return true;
}

void TOvcCommandTable::ApplyChange(const TOvcCmdRec& rec)
{
    int index = IndexOfKeys(rec);
    if (rec.Command == ccNone) {
        if (index >= 0)
            m_commands.erase(m_commands.begin() + index);
    } else if (index >= 0) {
        m_commands[static_cast<size_t>(index)].Command = rec.Command;
    } else {
        m_commands.push_back(rec);
    }
}

std::vector<int32_t> TOvcCommandTable::Save() const
{
    std::vector<int32_t> stored;
    stored.reserve(m_commands.size() * 2);
    for (const auto& rec : m_commands) {
        stored.push_back(static_cast<int32_t>(rec.PackedKeys()));
        stored.push_back(static_cast<int32_t>(rec.Command));
    }
    return stored;
}

void TOvcCommandTable::Load(const std::vector<int32_t>& stored)
{
    for (size_t i = 0; i + 1 < stored.size(); i += 2)
        ApplyChange(TOvcCmdRec::FromPacked(
            static_cast<uint32_t>(stored[i]), static_cast<TCommandCode>(stored[i + 1])));
}

} // namespace wexly
