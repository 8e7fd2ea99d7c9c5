// The slave-state poll and the control-word write against an independent
// MODBUS TCP server: a plain libmodbus server written here (not the
// simulator), serving known registers on a free loopback port. The
// exchanges run over real sockets through the command-line tool's blocking
// driver.
#include "BlockingDriver.h"
#include "services/ControlWordExchange.h"
#include "services/SlaveStateExchange.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace vantor::services {
namespace {

struct Request {
    int transaction, unit, function, address, quantity;
};

// A libmodbus server with registers 2001.. for six ports, one client at a
// time, until stopped. Every request is recorded.
class PeerServer {
public:
    PeerServer() {
        mapping_ = modbus_mapping_new_start_address(0, 0, 0, 0, 2001, 6 * 256, 2001, 6 * 256);
        listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listenFd_, 4) != 0)
            ADD_FAILURE() << "cannot listen";
        socklen_t len = sizeof a;
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        ctx_ = modbus_new_tcp("127.0.0.1", port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~PeerServer() {
        stop_ = true;
        thread_.join();
        ::close(listenFd_);
        modbus_free(ctx_);
        modbus_mapping_free(mapping_);
    }
    int port() const { return port_; }
    void setInput(int reg, uint16_t v) {
        std::lock_guard l(m_);
        mapping_->tab_input_registers[reg - 2001] = v;
    }
    void setHolding(int reg, uint16_t v) {
        std::lock_guard l(m_);
        mapping_->tab_registers[reg - 2001] = v;
    }
    uint16_t holding(int reg) {
        std::lock_guard l(m_);
        return mapping_->tab_registers[reg - 2001];
    }
    std::vector<Request> requests() {
        std::lock_guard l(m_);
        return requests_;
    }

private:
    void serve() {
        while (!stop_) {
            pollfd p{listenFd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int client = ::accept(listenFd_, nullptr, nullptr);
            if (client < 0)
                continue;
            modbus_set_socket(ctx_, client);
            uint8_t req[MODBUS_TCP_MAX_ADU_LENGTH];
            while (!stop_) {
                pollfd c{client, POLLIN, 0};
                if (::poll(&c, 1, 50) <= 0)
                    continue;
                const int n = modbus_receive(ctx_, req);
                if (n < 0)
                    break;
                if (n == 0)
                    continue;
                std::lock_guard l(m_);
                requests_.push_back(
                    {req[0] << 8 | req[1], req[6], req[7], req[8] << 8 | req[9], req[10] << 8 | req[11]});
                modbus_reply(ctx_, req, n, mapping_);
            }
            ::close(client);
        }
    }

    modbus_t* ctx_ = nullptr;
    modbus_mapping_t* mapping_ = nullptr;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex m_;
    std::vector<Request> requests_;
    std::thread thread_;
};

TEST(ModbusPeer, OnePollCycleReadsKnownRegisters) {
    PeerServer server;
    server.setInput(2001, 0x8005); // COM1 slave 1
    server.setHolding(2001, 0x0001);
    server.setInput(2001 + 125, 0x8123); // COM1 slave 126: second read of the pair
    server.setHolding(2001 + 125, 0x0003);
    server.setInput(2257 + 249, 0xC0FF); // COM2 slave 250
    server.setHolding(2257 + 249, 0x0000);
    server.setHolding(2257 + 10, 0x0001); // a control word without a state word

    SlaveStateExchange exchange("KX-P2R0-1.0", {"127.0.0.1", server.port()});
    blocking::BlockingDriver driver(exchange);
    std::vector<std::string> messages;
    driver.onMessage = [&](const Message& m) { messages.push_back(m.text); };
    driver.afterEvent = [&] {
        if (exchange.cycles() >= 1)
            exchange.cancel();
    };
    driver.run();
    ASSERT_EQ(exchange.cycles(), 1) << (messages.empty() ? "" : messages[0]);
    EXPECT_TRUE(messages.empty());

    const auto& rows = exchange.rows();
    EXPECT_EQ(rows[0].cells, (std::array<std::string, 6>{"COM1", "1", "42001", "0x0001", "32001", "0x8005"}));
    EXPECT_EQ(rows[1].cells,
              (std::array<std::string, 6>{"COM1", "126", "42126", "0x0003", "32126", "0x8123"}));
    EXPECT_EQ(rows[2].cells,
              (std::array<std::string, 6>{"COM2", "250", "42506", "0x0000", "32506", "0xC0FF"}));
    EXPECT_TRUE(rows[3].empty());

    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 8u);
    const int starts[] = {2001, 2126, 2257, 2382};
    for (std::size_t i = 0; i < reqs.size(); ++i) {
        EXPECT_EQ(reqs[i].transaction, static_cast<int>(i % 2)) << i;
        EXPECT_EQ(reqs[i].unit, 9) << i;
        EXPECT_EQ(reqs[i].function, i < 4 ? 4 : 3) << i;
        EXPECT_EQ(reqs[i].address, starts[i % 4]) << i;
        EXPECT_EQ(reqs[i].quantity, 125) << i;
    }
}

TEST(ModbusPeer, ControlWordWriteIsEchoedOrRefused) {
    PeerServer server;
    {
        ControlWordExchange exchange(42261, 0x00FF, {"127.0.0.1", server.port()});
        blocking::BlockingDriver driver(exchange);
        std::vector<Message> messages;
        driver.onMessage = [&](const Message& m) { messages.push_back(m); };
        auto result = driver.run();
        EXPECT_TRUE(result.success);
        EXPECT_EQ(messages, (std::vector<Message>{{MessageKind::Information, "信息", "设置成功"}}));
        EXPECT_EQ(server.holding(2261), 0x00FF);
    }
    {
        // Beyond the server's table: libmodbus answers with exception 0x86.
        ControlWordExchange exchange(40000 + 0xFFFF, 0x0001, {"127.0.0.1", server.port()});
        blocking::BlockingDriver driver(exchange);
        std::vector<std::string> messages;
        driver.onMessage = [&](const Message& m) { messages.push_back(m.text); };
        auto result = driver.run();
        EXPECT_FALSE(result.success);
        EXPECT_EQ(messages, std::vector<std::string>{"设置失败"});
    }
}

} // namespace
} // namespace vantor::services
