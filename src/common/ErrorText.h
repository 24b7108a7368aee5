#pragma once

#include <QString>

#include <functional>

namespace vestrel {

using ErrorTextProvider = std::function<QString(int)>;

// The text of an error number: 600..993 from the dial-up provider, 10001..11999 the socket
// texts (empty for numbers without one), 12001 and above from the internet-library provider,
// any other number the system's message for that errno value.
QString ErrorText(int number);

// Providers are installed at start-up by the modules that own those numbers; an empty function
// (the default) gives an empty text.
void SetDialUpErrorTextProvider(ErrorTextProvider provider);
void SetInternetErrorTextProvider(ErrorTextProvider provider);

} // namespace vestrel
