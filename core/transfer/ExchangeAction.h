#pragma once
// What an exchange asks its driver to do. The driver maps each action onto
// its socket and window (or terminal), in the order given
// (transfer::ExchangeRunner dispatches them).
#include "common/MessageSink.h"
#include "transfer/Bytes.h"

#include <string>
#include <variant>

namespace vantor::transfer {

// Open a TCP connection; answer with Exchange::connected.
struct ConnectAction {
    std::string host;
    int port = 0;
    bool operator==(const ConnectAction&) const = default;
};

// Send the whole request; keep an unsent rest and flush it when the socket
// is writable (PendingSend); report a flush error with Exchange::sendFailed.
struct SendAction {
    Bytes bytes;
    bool operator==(const SendAction&) const = default;
};

// Close the socket (after handing over anything already sent).
struct CloseAction {
    bool operator==(const CloseAction&) const = default;
};

// The one-line status text of the dialog (may be empty).
struct StatusAction {
    std::string text;
    bool operator==(const StatusAction&) const = default;
};

struct ProgressAction {
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    bool operator==(const ProgressAction&) const = default;
};

// A message box (error, information).
struct MessageAction {
    Message message;
    bool operator==(const MessageAction&) const = default;
};

// The exchange is over. `resultText` is the text of the result box, empty
// when the exchange ended without one (a message box said why, or the user
// cancelled).
struct FinishedAction {
    bool success = false;
    std::string resultText;
    bool operator==(const FinishedAction&) const = default;
};

// Timers are not actions: the exchange keeps them and hands back one
// deadline (Exchange::nextDeadline).
using ExchangeAction = std::variant<ConnectAction, SendAction, CloseAction, StatusAction, ProgressAction,
                                    MessageAction, FinishedAction>;

// "connect 1.2.3.4:5032", "send 01 00 ..", "close", ... for logs and test
// failure output.
std::string describe(const ExchangeAction& action);

} // namespace vantor::transfer
