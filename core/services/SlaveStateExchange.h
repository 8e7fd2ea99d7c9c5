#pragma once
// Slave state polling ("从站状态") over MODBUS TCP, unit 9.
//
// After the connection, timer 2 ticks every poll period (1000 ms; the CLI
// may choose another). Each tick starts a
// cycle: for every polled port the state words are read as a pair of
// requests (function 4, 125 registers each, transaction id 0 then 1), then
// the control words the same way (function 3), and at the end the list is
// refreshed. Each request arms timer 1 (3000 ms); its reply (or exception)
// stops it and triggers the next request, while frames that answer no
// request of ours leave it running. A tick that comes while a request is still
// unanswered leaves the cycle alone, so an unanswered request always ends
// in "无应答" rather than being replaced every second.
#include "services/SlaveStateRegisters.h"
#include "text/Shown.h"
#include "transfer/Exchange.h"
#include "transfer/ResultTexts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor::services {

inline constexpr int kStateReplyTimer = 1;
inline constexpr int kStateReplyTimeoutMs = 3000;
inline constexpr int kPollTimer = 2;
inline constexpr int kPollPeriodMs = 1000;

struct SlaveStateSettings {
    std::string host; // the access IP
    int port = kModbusPort;
    int pollMs = kPollPeriodMs; // the cycle period (the window keeps 1000 ms)
};

// One row of the list: "COM", "从站地址", "控制字地址", "控制字", "状态字地址",
// "状态字". An empty row has six empty cells.
struct SlaveStateRow {
    std::array<std::string, 6> cells;
    // What the row was written from (for "设置控制字"); meaningful when the
    // slave-address cell is not empty.
    int controlAddress = 0;
    uint16_t control = 0;

    bool empty() const { return cells[1].empty(); }
};

// The configured slaves of one port, rebuilt from its state words.
struct PortSlaves {
    std::vector<uint8_t> addresses;
    std::vector<uint16_t> states;
    std::vector<int> controlAddresses;
    std::vector<int> stateAddresses;
    std::vector<uint16_t> controls;
};

class SlaveStateExchange : public transfer::Exchange {
public:
    static constexpr int kRowCount = 186;
    static constexpr const char* kNoReply = transfer::result::kNoReply;
    static constexpr const char* kModelMismatch = VT_TEXT("设备型号不匹配");
    static constexpr const char* kShortReply = VT_TEXT("从站状态应答数据不完整");

    SlaveStateExchange(std::string model, SlaveStateSettings settings);

    void start() override;

    int portCount() const { return portCount_; }
    // Polling has ended after the list was filled: the rows hold the last
    // values read, no longer the gateway's present ones.
    bool rowsStale() const { return finished() && cycles_ > 0; }
    // The note shown with stale rows; `lastRead` is when they were read.
    static std::string staleNote(const std::string& lastRead);
    bool polling() const { return polling_; }
    // Completed cycles (list refreshes) since the start.
    int cycles() const { return cycles_; }
    // Always kRowCount rows; rows are overwritten, never cleared.
    const std::vector<SlaveStateRow>& rows() const { return rows_; }
    // Port 1..6.
    const PortSlaves& slaves(int port) const { return ports_.at(static_cast<std::size_t>(port - 1)).slaves; }

    // The identification check applied to a frame that starts with 1 and
    // carries 0x34 in byte 4: bytes 12..15 must be the model's identity.
    // Models without a code pass; a frame too short to hold the identity
    // does not.
    static bool identificationMatches(std::string_view model, transfer::ByteView frame);

protected:
    void onConnected() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;

private:
    enum class Pass { State, Control };
    struct Port {
        std::array<uint8_t, 2 * kSlavesPerPort> state{};
        std::array<uint8_t, 2 * kSlavesPerPort> control{};
        PortSlaves slaves;
    };

    void beginCycle();
    void sendRequest();
    void rebuildStates(int port);
    void rebuildControls(int port);
    void refreshRows();

    std::string model_;
    SlaveStateSettings settings_;
    int portCount_;
    bool polling_ = false;
    bool inFlight_ = false;
    Pass pass_ = Pass::State;
    int port_ = 1;
    int counter_ = 0; // requests of the current pair already sent
    int cycles_ = 0;
    std::array<Port, 6> ports_{};
    std::vector<SlaveStateRow> rows_;
};

} // namespace vantor::services
