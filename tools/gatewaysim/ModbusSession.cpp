#include "ModbusSession.h"

#include "LiveProject.h"
#include "model/SlaveRegisters.h"
#include "services/SlaveStateRegisters.h"
#include "transfer/CommandFrame.h"
#include "transfer/ConfigurationImage.h"

#include <modbus.h>

#include <algorithm>
#include <type_traits>

namespace vantor::sim {

namespace {

using model::kFirstSlaveRegister;
using model::kSlaveRegisterCount;
using services::kFunctionOffset;
using transfer::kSlaveRecordBytes;

uint32_t le32At(ByteView b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

} // namespace

std::vector<SimSlave> slavesOfFieldbusBlock(std::string_view model, ByteView block) {
    std::vector<SimSlave> out;
    std::size_t slots = 2;
    switch (transfer::portLayout(model)) {
    case transfer::PortLayout::SixSlot:
        slots = 6;
        break;
    case transfer::PortLayout::SinglePort:
        slots = 1;
        break;
    case transfer::PortLayout::Listed:
        slots = 2;
        break;
    }
    // Two header words, a slave count and a command count per slot, then
    // the slave records slot by slot (address in the third word).
    const std::size_t countsAt = 8;
    std::size_t at = countsAt + 8 * slots;
    if (block.size() < at)
        return out;
    for (std::size_t slot = 0; slot < slots; ++slot) {
        if (model == "TRC-H-ZRTU" && slot == 0) {
            at += 2 * kSlaveRecordBytes; // the CDT link's two fixed records
            continue;
        }
        const uint32_t count = le32At(block, countsAt + 4 * slot);
        for (uint32_t i = 0; i < count; ++i, at += kSlaveRecordBytes) {
            if (block.size() < at + kSlaveRecordBytes)
                return out;
            const int address = static_cast<int>(le32At(block, at + 8) & 0xFF);
            if (address >= 1 && address <= model::kSlavesPerPort)
                out.push_back({static_cast<int>(slot) + 1, address});
        }
    }
    return out;
}

ModbusRegisters::ModbusRegisters(bool statusLayout, bool dataAreas)
    : statusLayout_(statusLayout),
      mapping_(dataAreas
                   ? modbus_mapping_new_start_address(0, kBitAreaSize, 0, kBitAreaSize, 0,
                                                      kFirstSlaveRegister + kSlaveRegisterCount, 0,
                                                      kFirstSlaveRegister + kSlaveRegisterCount)
                   : modbus_mapping_new_start_address(0, 0, 0, 0, kFirstSlaveRegister, kSlaveRegisterCount,
                                                      kFirstSlaveRegister, kSlaveRegisterCount)) {}

std::size_t ModbusRegisters::slotOf(int port, int address) const {
    return static_cast<std::size_t>(model::slaveRegister(port, address) - mapping_->start_registers);
}

ModbusRegisters::~ModbusRegisters() {
    modbus_mapping_free(mapping_);
}

void ModbusRegisters::setSlaves(const std::vector<SimSlave>& slaves) {
    std::map<SimSlave, Counters> next;
    for (const auto& s : slaves) {
        if (s.port < 1 || s.port > model::kSlavePorts || s.address < 1 || s.address > model::kSlavesPerPort)
            continue;
        auto it = slaves_.find(s);
        next[s] = it == slaves_.end() ? Counters{} : it->second;
    }
    for (const auto& [s, c] : slaves_) {
        if (next.count(s))
            continue;
        mapping_->tab_input_registers[slotOf(s.port, s.address)] = 0;
        mapping_->tab_registers[slotOf(s.port, s.address)] = 0;
    }
    for (const auto& [s, c] : next)
        if (!slaves_.count(s))
            mapping_->tab_registers[slotOf(s.port, s.address)] = 0x0001;
    slaves_ = std::move(next);
    for (const auto& [s, c] : slaves_)
        refresh(s);
}

void ModbusRegisters::follow(const GatewayState& state) {
    auto it = state.blocks().find(transfer::command::kFieldbusConfig);
    if (it == state.blocks().end())
        return;
    if (following_ && it->second == followedBlock_)
        return;
    following_ = true;
    followedBlock_ = it->second;
    const bool wasLive = liveActive_;
    liveActive_ = live_ && followedBlock_ == liveBlock_;
    if (wasLive && !liveActive_) {
        // Another configuration: the live project's data are not its data.
        std::fill_n(mapping_->tab_bits, mapping_->nb_bits, 0);
        std::fill_n(mapping_->tab_input_bits, mapping_->nb_input_bits, 0);
        std::fill_n(mapping_->tab_input_registers, kFirstSlaveRegister - mapping_->start_input_registers, 0);
        std::fill_n(mapping_->tab_registers, kFirstSlaveRegister - mapping_->start_registers, 0);
    }
    setSlaves(slavesOfFieldbusBlock(state.model(), followedBlock_));
}

void ModbusRegisters::refresh(const SimSlave& s) {
    if (liveActive_)
        return; // the live project's state words, published on every request
    const Counters& c = slaves_.at(s);
    const bool lastFailed = c.seconds > 0 && c.seconds % 5 == 0;
    const uint16_t w = services::stateWord(statusLayout_, {!lastFailed, c.success, c.failure, c.overflow});
    mapping_->tab_input_registers[slotOf(s.port, s.address)] = w;
}

void ModbusRegisters::advanceTo(int64_t nowMs) {
    if (liveActive_) {
        live_->advanceTo(nowMs);
        publishLive();
        return;
    }
    if (lastTickMs_ < 0) {
        lastTickMs_ = nowMs;
        return;
    }
    while (nowMs - lastTickMs_ >= 1000) {
        lastTickMs_ += 1000;
        tick();
    }
}

void ModbusRegisters::tick() {
    for (auto& [s, c] : slaves_) {
        if ((mapping_->tab_registers[slotOf(s.port, s.address)] & 0x1) == 0)
            continue; // polling disabled: the counters stand still
        ++c.seconds;
        if (c.seconds % 5 == 0) {
            // Every fifth exchange with the slave fails.
            const unsigned limit = services::failureCounterMax(statusLayout_);
            if (c.failure == limit) {
                c.failure = 0;
                c.overflow = true;
            } else {
                ++c.failure;
            }
        } else {
            ++c.success;
        }
        refresh(s);
    }
}

void ModbusRegisters::controlWritten(int reg) {
    const auto at = model::slaveSlotOf(reg);
    if (!at)
        return;
    const SimSlave s{at->port, at->address};
    auto it = slaves_.find(s);
    if (it == slaves_.end())
        return;
    const std::size_t slot = slotOf(s.port, s.address);
    if (mapping_->tab_registers[slot] & 0x2) {
        // Clears the failure counter once; the bit does not stay set.
        it->second.failure = 0;
        it->second.overflow = false;
        mapping_->tab_registers[slot] &= static_cast<uint16_t>(~0x2u);
    }
    refresh(s);
}

void ModbusRegisters::attachLive(LiveProject* live, Bytes fieldbusBlock) {
    live_ = live;
    liveBlock_ = std::move(fieldbusBlock);
    liveActive_ = live_ && following_ && followedBlock_ == liveBlock_;
}

void ModbusRegisters::written(ByteView adu, int64_t nowMs) {
    if (liveActive_) {
        if (auto w = clientWriteOf(adu)) {
            live_->apply(nowMs, *w);
            publishLive();
        }
    }
    if (adu.size() >= 10 && adu[kFunctionOffset] == MODBUS_FC_WRITE_SINGLE_REGISTER)
        controlWritten(adu[8] << 8 | adu[9]);
}

void ModbusRegisters::publishLive() {
    if (mapping_->start_registers != 0 || mapping_->nb_bits < kBitAreaSize)
        return; // tables without the data areas
    auto copy = [](const std::vector<uint16_t>& from, auto* to) {
        for (std::size_t i = 0; i < from.size(); ++i)
            to[i] = static_cast<std::remove_pointer_t<decltype(to)>>(from[i]);
    };
    copy(live_->table(DataTable::Coils), mapping_->tab_bits);
    copy(live_->table(DataTable::DiscreteInputs), mapping_->tab_input_bits);
    copy(live_->table(DataTable::InputRegisters), mapping_->tab_input_registers);
    copy(live_->table(DataTable::HoldingRegisters), mapping_->tab_registers);
    for (const auto& w : live_->slaveWords()) {
        mapping_->tab_input_registers[slotOf(w.port, w.address)] = w.state;
        mapping_->tab_registers[slotOf(w.port, w.address)] = w.control;
    }
}

uint16_t ModbusRegisters::stateWord(int port, int address) const {
    return mapping_->tab_input_registers[slotOf(port, address)];
}

uint16_t ModbusRegisters::controlWord(int port, int address) const {
    return mapping_->tab_registers[slotOf(port, address)];
}

ModbusSession::ModbusSession(ModbusRegisters& registers, const GatewayState& state)
    : registers_(registers), state_(state), ctx_(modbus_new_tcp("127.0.0.1", 502)) {}

ModbusSession::~ModbusSession() {
    // The socket belongs to the simulator's loop.
    modbus_set_socket(ctx_, -1);
    modbus_free(ctx_);
}

void ModbusSession::onData(ByteView data, SessionIo& io) {
    in_.insert(in_.end(), data.begin(), data.end());
    while (in_.size() >= 6) {
        const std::size_t size = static_cast<std::size_t>(in_[4]) * 256 + in_[5] + 6;
        if (size < 8 || size > MODBUS_TCP_MAX_ADU_LENGTH) {
            // Not MODBUS TCP: nothing sensible can follow.
            in_.clear();
            io.reset();
            return;
        }
        if (in_.size() < size)
            return;
        Bytes adu(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(size));
        in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(size));
        handle(adu, io);
    }
}

void ModbusSession::handle(const Bytes& adu, SessionIo& io) {
    registers_.follow(state_);
    registers_.advanceTo(io.nowMs());
    modbus_set_socket(ctx_, io.fd());
    const uint8_t function = adu[kFunctionOffset];
    if (adu[6] != services::kModbusUnit) {
        modbus_reply_exception(ctx_, adu.data(), MODBUS_EXCEPTION_GATEWAY_TARGET);
        return;
    }
    if (function == MODBUS_FC_WRITE_SINGLE_REGISTER && registers_.writeFault) {
        modbus_reply_exception(ctx_, adu.data(), MODBUS_EXCEPTION_SLAVE_OR_SERVER_FAILURE);
        return;
    }
    const int rc = modbus_reply(ctx_, adu.data(), static_cast<int>(adu.size()), registers_.mapping());
    if (rc > 0)
        registers_.written(adu, io.nowMs());
}

} // namespace vantor::sim
