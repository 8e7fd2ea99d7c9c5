#pragma once
// Writing the gateway's network settings ("网络参数设置"): connect, wait for
// the user's "下载配置", check the fields, then a run of 100 ticks of timer 1
// (20 ms) with the request going out on the ninth tick. An acknowledgement
// (byte 0 = 0x0A, status byte 8 = 0) is answered at once with the restart
// request; at the end of the run the result box says whether it came, and
// only then are the settings stored in the project.
#include "model/CVantorDoc.h"
#include "services/NetworkParams.h"
#include "transfer/Exchange.h"
#include "transfer/ResultTexts.h"

#include <optional>
#include <string>

namespace vantor::services {

inline constexpr int kRunTimer = 1;
inline constexpr int kRunTickMs = 20;
inline constexpr int kRequestPosition = 8;
inline constexpr int kLastPosition = 98;

class NetworkParamsExchange : public transfer::Exchange {
public:
    // `doc` gives the model, the access IP and port and the initial field
    // values, and receives the settings on acknowledgement.
    explicit NetworkParamsExchange(model::CVantorDoc& doc);

    void start() override;

    // Connect here instead of the service port (tools and tests reaching a
    // simulated gateway on a free port).
    void setPortOverride(int port) { portOverride_ = port; }

    // The fields as the dialog opens with them (from the project).
    NetworkSettings initialFields() const;

    // "下载配置". False (with its message) when a field is refused, or when a
    // run is already going.
    bool download(const NetworkSettings& fields, MessageSink& sink);

    bool acknowledged() const { return acknowledged_; }
    bool running() const { return running_; }
    int position() const { return position_; }
    bool connectedToGateway() const { return connected_; }

    static constexpr const char* kDone = transfer::result::kDone;
    static constexpr const char* kFailed = transfer::result::kFailed;

protected:
    void onConnected() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;
    void onSendFailed() override;

private:
    model::CVantorDoc& doc_;
    std::string model_;
    NetworkSettings entered_;
    std::optional<CheckedSettings> checked_;
    bool acknowledged_ = false;
    bool running_ = false;
    bool connected_ = false;
    int position_ = 0;
    std::optional<int> portOverride_;
};

} // namespace vantor::services
