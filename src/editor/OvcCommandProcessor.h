// Turns key presses into editor command codes through an ordered list of named tables, with a
// two-key state machine (first key of a sequence, literal next key after ccCtrlChar). One
// processor serves every editor and viewer, so the pending state is shared.
#pragma once

#include "editor/OvcCommandTable.h"

#include <string>
#include <vector>

namespace wexly {

// Result of translating a key: the command, and the character argument that goes with it to
// ProcessCommand (the key itself, which for the digit keys is the digit's character code).
struct TTranslatedKey
{
    TCommandCode command = ccNoCommand;
    uint8_t ch = 0;
};

class TOvcCommandProcessor
{
public:
    enum TState : uint8_t {
        psIdle = 0,
        psFirstKeySeen = 1, // waiting for the second key of a sequence
        psLiteralNext = 2, // after ccCtrlChar: the next key is not translated
    };

    // Tables in scan order; the first match wins.
    size_t TableCount() const { return m_tables.size(); }
    TOvcCommandTable& Table(size_t index);
    const TOvcCommandTable& Table(size_t index) const;
    // Appends a new empty table and returns it.
    TOvcCommandTable& CreateCommandTable(const std::string& name, bool active);
    void AddCommandTable(TOvcCommandTable table);
    // Names compare without case. Both raise TCommandTableError for an unknown name.
    void DeleteCommandTable(const std::string& name);
    TOvcCommandTable& GetCommandTable(const std::string& name);
    bool HasCommandTable(const std::string& name) const;

    // Binding maintenance on a named table (TCommandTableError when it does not exist).
    void AddCommand(const std::string& table, uint8_t key1, uint8_t shift1, uint8_t key2,
        uint8_t shift2, TCommandCode command);
    void AddCommandRec(const std::string& table, const TOvcCmdRec& rec);
    bool DeleteCommand(const std::string& table, const TOvcCmdRec& keys);
    void LoadCommandTable(const std::string& table, const std::vector<int32_t>& stored);
    std::vector<int32_t> SaveCommandTable(const std::string& table);

    // Translate a key with the given shift state (ssShift | ssCtrl | ssAlt) using the active
    // tables; updates the two-key state.
    TCommandCode TranslateKey(uint8_t key, uint8_t shift);
    // The same restricted to the named tables (active or not), in the order given.
    TCommandCode TranslateKeyUsing(
        const std::vector<std::string>& tables, uint8_t key, uint8_t shift);
    // A key-down as the window receives it. systemKey: it came with Alt held (the Alt bit is
    // added); Tab and Alt itself are then left to the system and give ccNoCommand.
    TTranslatedKey Translate(uint8_t key, uint8_t shift, bool systemKey = false);

    // Clears the pending two-key state.
    void ResetCommandProcessor();
    TState GetState() const { return m_state; }
    void SetState(TState state) { m_state = state; }

private:
    int IndexOfTable(const std::string& name) const;
    TCommandCode TranslateWith(
        const std::vector<const TOvcCommandTable*>& tables, uint8_t key, uint8_t shift);
    bool MatchesPending(const TOvcCmdRec& rec, uint8_t key, uint8_t shift) const;

    std::vector<TOvcCommandTable> m_tables;
    TState m_state = psIdle;
    uint8_t m_pendingKey = 0; // valid in psFirstKeySeen
    uint8_t m_pendingShift = 0; // valid in psFirstKeySeen
};

// True for the keys that only modify others (Shift, Ctrl, Alt and the lock keys).
bool IsLoneModifierKey(uint8_t key);

} // namespace wexly
