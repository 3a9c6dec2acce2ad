// A named, ordered list of key bindings (one or two keys → command code). The processor scans
// the active tables in order; the first binding whose keys match wins.
#pragma once

#include "editor/OvcCommands.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace wexly {

// Shift-state bits as the keyboard reports them.
enum : uint8_t {
    ssNone = 0,
    ssShift = 2,
    ssCtrl = 4,
    ssAlt = 8,
    // Second-key state only: the second key counts plain or with Ctrl.
    ssCtrlOrNone = 128,
};

// One binding. SecondKey is 0 for a one-key binding.
struct TOvcCmdRec
{
    uint8_t FirstKey = 0;
    uint8_t FirstShift = 0;
    uint8_t SecondKey = 0;
    uint8_t SecondShift = 0;
    TCommandCode Command = ccNone;

    bool SameKeys(const TOvcCmdRec& other) const
    {
        return FirstKey == other.FirstKey && FirstShift == other.FirstShift
            && SecondKey == other.SecondKey && SecondShift == other.SecondShift;
    }
    // Stored form of the four key bytes, FirstKey in the lowest byte.
    uint32_t PackedKeys() const;
    static TOvcCmdRec FromPacked(uint32_t keys, TCommandCode command);
};
static_assert(sizeof(TOvcCmdRec) == 6, "a binding is six bytes, as stored");

// Table maintenance errors, raised with the fixed messages.
class TCommandTableError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kDuplicateCommandMessage
    = "Duplicate command found while adding a new command to the table";
inline constexpr const char* kTableNotFoundMessage
    = "Command table not found or command table index out of range";

class TOvcCommandTable
{
public:
    TOvcCommandTable() = default;
    explicit TOvcCommandTable(std::string name, bool active = true);

    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    bool IsActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }

    size_t Count() const { return m_commands.size(); }
    const TOvcCmdRec& operator[](size_t index) const { return m_commands[index]; }
    const std::vector<TOvcCmdRec>& Commands() const { return m_commands; }

    // Appends a binding; raises TCommandTableError when its keys are already bound.
    void AddCommandRec(const TOvcCmdRec& rec);
    void AddCommand(
        uint8_t key1, uint8_t shift1, uint8_t key2, uint8_t shift2, TCommandCode command);
    // Removes the binding with these keys; false when there is none.
    bool DeleteCommand(const TOvcCmdRec& keys);
    // Index of the binding with these keys, or -1.
    int IndexOfKeys(const TOvcCmdRec& keys) const;
    // A stored change: replaces the binding with the same keys, or adds it; command 0 deletes.
    void ApplyChange(const TOvcCmdRec& rec);
    void Clear() { m_commands.clear(); }

    // Stored form: two integers per binding, the packed keys and the command.
    std::vector<int32_t> Save() const;
    // Applies stored bindings as changes to the current set (an odd trailing value is ignored).
    void Load(const std::vector<int32_t>& stored);

private:
    std::string m_name = "(Unknown)";
    bool m_active = true;
    std::vector<TOvcCmdRec> m_commands; // no two with the same keys
};

} // namespace wexly
