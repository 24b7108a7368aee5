#pragma once

namespace vestrel {

class TDataShare;
class TTaxations;

// What the program does around a connection besides counting it, shared by the main window
// and the windowless `watch`: the time-limit watch runs while counting; when the connection
// comes online the dial window closes and the applications of the profile and the entry are
// started; when it has been logged the profile's applications that close on disconnection are
// closed and the stored tariffs are compared for it (the result is kept as the live status's
// LastComparison and shown as a notice).
// It takes the live status's OnCountingStarted, OnConnected and OnConnectionLogged events; a
// window that wants them too calls OnlineReached / Logged from its own handlers.
class ConnectionReactions {
public:
    ConnectionReactions(TDataShare& data, TTaxations& taxations);

    void OnlineReached();
    void Logged();

private:
    TDataShare& m_data;
    TTaxations& m_taxations;
};

} // namespace vestrel
