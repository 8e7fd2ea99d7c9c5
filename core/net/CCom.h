#pragma once
// The settings of one of the gateway's two serial ports. Data bits are always
// 8 and not stored.
namespace vantor::net {

struct CCom {
    int number = 1;  // 1 or 2
    int baud = 3;    // index into the baud list
    int parity = 2;  // index into the parity list
    int stop = 0;    // index into the stop-bit list
    int address = 1; // the gateway's own MODBUS address on the port, 1..247

    bool operator==(const CCom&) const = default;
};

} // namespace vantor::net
