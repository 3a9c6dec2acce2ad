#include "platform/Ui.h"

namespace wexly {

// Natively the code page is taken to be Windows-1252, so tests match what Windows does.
const TUpperTable& SystemUpperTable() { return Windows1252UpperTable(); }

} // namespace wexly
