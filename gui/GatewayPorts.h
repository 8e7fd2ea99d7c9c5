#pragma once
// The ports the programs reach a gateway on. The configuration services use
// the access port (5032, 60000 for TRX-H-QMB6) and the MODBUS TCP services
// port 502. The environment variables VANTOR_ACCESS_PORT and
// VANTOR_MODBUS_PORT replace them, for a simulated gateway on unprivileged
// ports.
#include <optional>

// The configuration port from VANTOR_ACCESS_PORT, if set to 1..65535.
std::optional<int> accessPortOverride();
// The MODBUS TCP port: VANTOR_MODBUS_PORT if set to 1..65535, else 502.
int modbusPort();
