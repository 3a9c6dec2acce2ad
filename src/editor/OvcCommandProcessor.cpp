#include "editor/OvcCommandProcessor.h"

#include "editor/DefaultCommandTables.h"

#include <cctype>

namespace wexly {
namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

constexpr uint8_t kShiftBits = ssShift | ssCtrl | ssAlt;

} // namespace

bool IsLoneModifierKey(uint8_t key)
{
    return key == vk::Shift || key == vk::Control || key == vk::Menu || key == vk::Capital
        || key == vk::NumLock || key == vk::Scroll || (key >= vk::LShift && key <= vk::RMenu);
}

TOvcCommandTable& TOvcCommandProcessor::Table(size_t index)
{
    return m_tables.at(index);
}

const TOvcCommandTable& TOvcCommandProcessor::Table(size_t index) const
{
    return m_tables.at(index);
}

TOvcCommandTable& TOvcCommandProcessor::CreateCommandTable(const std::string& name, bool active)
{
    m_tables.emplace_back(name, active);
    return m_tables.back();
}

void TOvcCommandProcessor::AddCommandTable(TOvcCommandTable table)
{
    m_tables.push_back(std::move(table));
}

int TOvcCommandProcessor::IndexOfTable(const std::string& name) const
{
    for (size_t i = 0; i < m_tables.size(); ++i)
        if (SameNameIgnoringCase(m_tables[i].Name(), name))
            return static_cast<int>(i);
    return -1;
}

bool TOvcCommandProcessor::HasCommandTable(const std::string& name) const
{
    return IndexOfTable(name) >= 0;
}

TOvcCommandTable& TOvcCommandProcessor::GetCommandTable(const std::string& name)
{
    int index = IndexOfTable(name);
    if (index < 0)
        throw TCommandTableError(kTableNotFoundMessage);
    return m_tables[static_cast<size_t>(index)];
}

void TOvcCommandProcessor::DeleteCommandTable(const std::string& name)
{
    int index = IndexOfTable(name);
    if (index < 0)
        throw TCommandTableError(kTableNotFoundMessage);
    m_tables.erase(m_tables.begin() + index);
}

void TOvcCommandProcessor::AddCommand(const std::string& table, uint8_t key1, uint8_t shift1,
    uint8_t key2, uint8_t shift2, TCommandCode command)
{
    GetCommandTable(table).AddCommand(key1, shift1, key2, shift2, command);
}

void TOvcCommandProcessor::AddCommandRec(const std::string& table, const TOvcCmdRec& rec)
{
    GetCommandTable(table).AddCommandRec(rec);
}

bool TOvcCommandProcessor::DeleteCommand(const std::string& table, const TOvcCmdRec& keys)
{
    return GetCommandTable(table).DeleteCommand(keys);
}

void TOvcCommandProcessor::LoadCommandTable(
    const std::string& table, const std::vector<int32_t>& stored)
{
    GetCommandTable(table).Load(stored);
}

std::vector<int32_t> TOvcCommandProcessor::SaveCommandTable(const std::string& table)
{
    return GetCommandTable(table).Save();
}

void TOvcCommandProcessor::ResetCommandProcessor()
{
    m_state = psIdle;
    m_pendingKey = 0;
    m_pendingShift = 0;
}

bool TOvcCommandProcessor::MatchesPending(const TOvcCmdRec& rec, uint8_t key, uint8_t shift) const
{
    if (rec.FirstKey != m_pendingKey || rec.FirstShift != m_pendingShift || rec.SecondKey != key)
        return false;
    if (rec.SecondShift == shift)
        return true;
    return rec.SecondShift == ssCtrlOrNone && (shift == ssNone || shift == ssCtrl);
}

TCommandCode TOvcCommandProcessor::TranslateWith(
    const std::vector<const TOvcCommandTable*>& tables, uint8_t key, uint8_t shift)
{
    shift &= kShiftBits;
    // A modifier alone neither completes nor cancels a pending sequence.
    if (IsLoneModifierKey(key))
        return m_state == psFirstKeySeen ? ccPartialKey : ccNoCommand;
    if (m_state == psLiteralNext) {
        m_state = psIdle;
        return ccNoCommand;
    }
    const bool second = m_state == psFirstKeySeen;
    for (const TOvcCommandTable* table : tables) {
        for (const TOvcCmdRec& rec : table->Commands()) {
            if (second) {
                if (!MatchesPending(rec, key, shift))
                    continue;
            } else {
                if (rec.FirstKey != key || rec.FirstShift != shift)
                    continue;
                if (rec.SecondKey != 0) {
                    m_state = psFirstKeySeen;
                    m_pendingKey = key;
                    m_pendingShift = shift;
                    return ccPartialKey;
                }
            }
            m_state = rec.Command == ccCtrlChar ? psLiteralNext : psIdle;
            return rec.Command;
        }
    }
    m_state = psIdle;
    return second ? ccUnknownSecondKey : ccNoCommand;
}

TCommandCode TOvcCommandProcessor::TranslateKey(uint8_t key, uint8_t shift)
{
    std::vector<const TOvcCommandTable*> active;
    active.reserve(m_tables.size());
    for (const auto& table : m_tables)
        if (table.IsActive())
            active.push_back(&table);
    return TranslateWith(active, key, shift);
}

TCommandCode TOvcCommandProcessor::TranslateKeyUsing(
    const std::vector<std::string>& tables, uint8_t key, uint8_t shift)
{
    std::vector<const TOvcCommandTable*> chosen;
    chosen.reserve(tables.size());
    for (const auto& name : tables)
        chosen.push_back(&GetCommandTable(name));
    return TranslateWith(chosen, key, shift);
}

TTranslatedKey TOvcCommandProcessor::Translate(uint8_t key, uint8_t shift, bool systemKey)
{
    if (systemKey) {
        if (key == vk::Tab || key == vk::Menu)
            return { ccNoCommand, key };
        shift |= ssAlt;
    }
    return { TranslateKey(key, shift), key };
}

} // namespace wexly
