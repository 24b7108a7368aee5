#pragma once

namespace vestrel {

class TDataShare;

// What happens when the program is asked to close: at the end of the desktop session a running
// count is stopped and logged without a question; otherwise a connected line or a running count
// is asked about. When closing goes ahead the dial window waiting to dial is closed and the
// profile's applications that close with the program are ended. An error on the way is reported
// ("Eccezione nella chiusura ...") and the close goes ahead. True when the program may close.
bool QueryClose(TDataShare& data, bool sessionEnding, bool smsToSend);

} // namespace vestrel
