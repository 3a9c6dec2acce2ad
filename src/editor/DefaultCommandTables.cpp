#include "editor/DefaultCommandTables.h"

namespace wexly {
namespace {

struct TBinding
{
    uint8_t key;
    uint8_t shift;
    TCommandCode command;
};

constexpr uint8_t C = ssCtrl;
constexpr uint8_t S = ssShift;
constexpr uint8_t A = ssAlt;

// Order matters only for duplicates, which there are none of; kept in pairs as listed.
constexpr TBinding kDefaultBindings[] = {
    { vk::Left, 0, ccLeft },
    { vk::Left, S, ccExtendLeft },
    { vk::Right, 0, ccRight },
    { vk::Right, S, ccExtendRight },
    { vk::Left, C, ccWordLeft },
    { vk::Left, C | S, ccExtWordLeft },
    { vk::Right, C, ccWordRight },
    { vk::Right, C | S, ccExtWordRight },
    { vk::Home, 0, ccHome },
    { vk::Home, S, ccExtendHome },
    { vk::End, 0, ccEnd },
    { vk::End, S, ccExtendEnd },
    { vk::Up, 0, ccUp },
    { vk::Up, S, ccExtendUp },
    { vk::Down, 0, ccDown },
    { vk::Down, S, ccExtendDown },
    { vk::Prior, 0, ccPrevPage },
    { vk::Prior, S, ccExtendPgUp },
    { vk::Next, 0, ccNextPage },
    { vk::Next, S, ccExtendPgDn },
    { vk::Prior, C, ccTopOfPage },
    { vk::Prior, C | S, ccExtTopOfPage },
    { vk::Next, C, ccBotOfPage },
    { vk::Next, C | S, ccExtBotOfPage },
    { vk::Home, C, ccFirstPage },
    { vk::Home, C | S, ccExtFirstPage },
    { vk::End, C, ccLastPage },
    { vk::End, C | S, ccExtLastPage },
    { vk::Delete, 0, ccDel },
    { vk::Delete, S, ccCut },
    { vk::Back, 0, ccBack },
    { vk::Back, S, ccBack },
    { vk::Back, A, ccRestore },
    { vk::Insert, 0, ccIns },
    { vk::Insert, C, ccCopy },
    { vk::Insert, S, ccPaste },
    { vk::Letter('X'), C, ccCut },
    { vk::Letter('C'), C, ccCopy },
    { vk::Letter('V'), C, ccPaste },
    { vk::Letter('Z'), C, ccUndo },
    { vk::Letter('Z'), C | S, ccRedo },
    { vk::Return, C, ccNewLine },
    { vk::Tab, 0, ccTab },
    { vk::Tab, C, ccTab },
};

constexpr TBinding kMainWindowChanges[] = {
    { vk::F7, 0, 256 },
    { vk::Tab, C | S, 256 },
    { vk::F8, 0, 257 },
    { vk::Tab, C, 257 },
    { vk::OemOpenBracket, C, 258 },
    { vk::OemCloseBracket, C, 258 },
    { vk::Up, C, 259 },
    { vk::Down, C, 260 },
    { vk::Up, A, 261 },
    { vk::Down, A, 262 },
};

} // namespace

TOvcCommandTable DefaultCommandTable()
{
    TOvcCommandTable table("Default", true);
    for (const auto& b : kDefaultBindings)
        table.AddCommand(b.key, b.shift, 0, 0, b.command);
    for (uint8_t n = 0; n < 10; ++n) {
        const auto digit = static_cast<uint8_t>(vk::Digit0 + n);
        table.AddCommand(digit, C, 0, 0, static_cast<TCommandCode>(ccGotoMarker0 + n));
    }
    for (uint8_t n = 0; n < 10; ++n) {
        const auto digit = static_cast<uint8_t>(vk::Digit0 + n);
        table.AddCommand(digit, C | S, 0, 0, static_cast<TCommandCode>(ccSetMarker0 + n));
    }
    return table;
}

void ApplyMainWindowBindings(TOvcCommandTable& table)
{
    for (const auto& b : kMainWindowChanges)
        table.ApplyChange(TOvcCmdRec { b.key, b.shift, 0, 0, b.command });
}

TOvcCommandProcessor CreateProgramCommandProcessor()
{
    TOvcCommandProcessor processor;
    TOvcCommandTable table = DefaultCommandTable();
    ApplyMainWindowBindings(table);
    processor.AddCommandTable(std::move(table));
    processor.CreateCommandTable("WordStar", false);
    processor.CreateCommandTable("Grid", false);
    return processor;
}

} // namespace wexly
