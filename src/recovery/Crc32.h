// The CRC-32 of IEEE 802.3 (the one zip uses), eight bytes at a time, so that checking a
// document of tens of megabytes costs little next to writing it.
#pragma once

#include <cstdint>
#include <string_view>

namespace wexly {

// crc is the value so far (0 to start); the result continues it over data.
uint32_t Crc32(std::string_view data, uint32_t crc = 0);

} // namespace wexly
