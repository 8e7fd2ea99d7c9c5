#pragma once
// The commissioning report ("调试报告"): one printable HTML page with the
// project summary (model, lines with their serial settings, slaves and their
// command counts), the gateway address map of each area, the serial-line
// budget, and what the gateway itself answered when it was asked (identity,
// version, serial number, MAC addresses, the slaves' state words). The
// tables come from the same functions as the windows and vantor-cli; every
// text taken from the project or the gateway is escaped.
#include "model/CVantorDoc.h"
#include "services/DeviceInfoExchange.h"
#include "services/HtmlPage.h"
#include "services/SlaveStateExchange.h"
#include "text/Shown.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::services {

// What a visit to the gateway brought back.
struct ReportDevice {
    std::string host;
    bool identified = false; // the identification and serial number came
    std::string failure;     // why not: the exchange's messages
    DeviceInfoFields info;
    bool statesRead = false; // one polling cycle completed
    std::string stateFailure;
    std::vector<SlaveStateRow> states; // the written rows of that cycle
};

// The texts of an exchange's messages, one per line, for a failure reason.
std::string messageTexts(const std::vector<Message>& messages);

// The written rows of a polling list.
std::vector<SlaveStateRow> writtenRows(const std::vector<SlaveStateRow>& rows);

// The end of each exchange, into the device facts: the fields or states it
// read, else the texts of its messages (a fixed text when it showed none).
void recordIdentity(ReportDevice& device, const DeviceInfoExchange& exchange,
                    const std::vector<Message>& messages);
void recordStates(ReportDevice& device, const SlaveStateExchange& exchange,
                  const std::vector<Message>& messages);

// Where the gateway is reached: the host, the configuration port when it
// is not the model's service port, the MODBUS TCP port of the state words.
struct ReportGateway {
    std::string host;
    std::optional<int> port;
    int modbusPort = kModbusPort;
};

// How a front end runs one exchange to its end (a blocking loop, the
// window's driver): it answers the exchange's messages and cancels the
// exchange once `done` answers true after an event.
using ExchangeRunner =
    std::function<std::vector<Message>(transfer::Exchange& exchange, const std::function<bool()>& done)>;

// Asks the project's gateway for its identity and serial number, then, when
// the model has slave states and the identity came, for one cycle of the
// state words. The exchanges keep their texts as written: their messages
// become the page's reasons.
ReportDevice visitGateway(const model::CVantorDoc& doc, const ReportGateway& gateway,
                          const ExchangeRunner& run);

// The device section's texts when the gateway was not asked or not reached.
// The page is a file and stays as written in every language; the two texts
// that are also a fleet gateway's reason, shown in its window, are marked
// as shown.
inline constexpr const char* kReportNotAsked = VT_DATA("未读取网关信息（未指定网关地址）");
// The gateway was not reached, or its answer could not be read; the reason
// follows.
inline constexpr const char* kReportUnreachable = VT_DATA("未能读取网关信息");
inline constexpr const char* kReportNoAnswer = VT_TEXT("网关没有应答");
inline constexpr const char* kReportNoStates = VT_TEXT("该网关型号没有从站状态");
inline constexpr const char* kReportNoGateway = VT_DATA("项目中没有网关");
// A report is never written over the project it describes.
inline constexpr const char* kReportOverProject = VT_TEXT("调试报告不能覆盖工程文件");

// The window's question before it asks the gateway at `host`.
std::string reportGatewayQuestion(const std::string& host);

// The pieces the reports share: the page's head (title, style, the moment
// it was made) and end, and the section of what a gateway answered.
void beginReportPage(HtmlPage& page, const std::string& title, const std::string& generatedAt);
std::string endReportPage(HtmlPage& page);
void deviceSection(HtmlPage& page, const std::optional<ReportDevice>& device, const char* id = "device",
                   const std::string& title = VT_DATA("网关信息"));

// The whole page. `projectName` names the project file, `generatedAt` the
// moment the report was made (passed in: the core reads no clock). Without
// `device` the device section says the gateway was not asked.
std::string commissioningReport(const model::CVantorDoc& doc, const std::string& projectName,
                                const std::string& generatedAt, const std::optional<ReportDevice>& device);

} // namespace vantor::services
