"""A MODBUS TCP client for the end-to-end tests, independent of the suite's
own code: pymodbus (Debian's python3-pymodbus), unit 9 on 127.0.0.1.

  modbus_client.py PORT read TABLE ADDRESS COUNT
  modbus_client.py PORT write TABLE ADDRESS VALUE...
  modbus_client.py PORT wait-change TABLE ADDRESS COUNT SECONDS
  modbus_client.py PORT wait-equal TABLE ADDRESS SECONDS VALUE...

TABLE is coils, inputs (discrete inputs), input-registers or holding.
Values are printed space-separated, one line per read; wait-change prints
the first read and the first different one, wait-equal the matching one.
Both poll every 50 ms and give up (exit 1) after SECONDS. Exception replies
and connection failures exit 1 with the reason on stderr.
"""
import sys
import time

from pymodbus.client import ModbusTcpClient

UNIT = 9


def read(client, table, address, count):
    if table == "coils":
        r = client.read_coils(address, count, slave=UNIT)
    elif table == "inputs":
        r = client.read_discrete_inputs(address, count, slave=UNIT)
    elif table == "input-registers":
        r = client.read_input_registers(address, count, slave=UNIT)
    elif table == "holding":
        r = client.read_holding_registers(address, count, slave=UNIT)
    else:
        raise SystemExit("unknown table " + table)
    if r.isError():
        raise SystemExit("read %s %d x %d: %s" % (table, address, count, r))
    values = r.bits[:count] if table in ("coils", "inputs") else r.registers
    return [int(v) for v in values]


def write(client, table, address, values):
    if table == "coils":
        r = client.write_coils(address, [bool(v) for v in values], slave=UNIT)
    elif table == "holding":
        r = client.write_registers(address, values, slave=UNIT)
    else:
        raise SystemExit("table %s cannot be written" % table)
    if r.isError():
        raise SystemExit("write %s %d: %s" % (table, address, r))


def text(values):
    return " ".join(str(v) for v in values)


def main(argv):
    port, op, table, address = int(argv[1]), argv[2], argv[3], int(argv[4])
    client = ModbusTcpClient("127.0.0.1", port=port, timeout=5)
    if not client.connect():
        raise SystemExit("cannot connect to 127.0.0.1:%d" % port)
    try:
        if op == "read":
            print(text(read(client, table, address, int(argv[5]))))
        elif op == "write":
            write(client, table, address, [int(v) for v in argv[5:]])
        elif op == "wait-change":
            count, deadline = int(argv[5]), time.monotonic() + float(argv[6])
            first = read(client, table, address, count)
            print(text(first))
            while True:
                now = read(client, table, address, count)
                if now != first:
                    print(text(now))
                    return
                if time.monotonic() > deadline:
                    raise SystemExit("no change of %s %d x %d: %s" % (table, address, count, text(first)))
                time.sleep(0.05)
        elif op == "wait-equal":
            wanted = [int(v) for v in argv[6:]]
            deadline = time.monotonic() + float(argv[5])
            while True:
                now = read(client, table, address, len(wanted))
                if now == wanted:
                    print(text(now))
                    return
                if time.monotonic() > deadline:
                    raise SystemExit("%s %d: %s, not %s" % (table, address, text(now), text(wanted)))
                time.sleep(0.05)
        else:
            raise SystemExit("unknown operation " + op)
    finally:
        client.close()


if __name__ == "__main__":
    main(sys.argv)
