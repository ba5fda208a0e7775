"""A Modbus slave of an independent implementation (pymodbus) on a serial
line, for the end-to-end tests: every address given gets holding registers
0..2 (coding, firmware, device type), 15 (the minimum response time) and
register 0x21 (which the link takes as its delay).

    pymodbus_slave.py PORT rtu|ascii ADDRESS[,ADDRESS...]

Prints "ready" once the port is open. A pseudo-terminal carries neither
parity nor 7 data bits, so the line is 9600 8N1 whatever the mode.
"""
import asyncio
import sys

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import StartSerialServer
from pymodbus.transaction import ModbusAsciiFramer, ModbusRtuFramer


def context(addresses):
    slaves = {}
    for address in addresses:
        registers = ModbusSequentialDataBlock(0, [0] * 64)
        # The data block counts from 1: register n lives at n + 1.
        registers.setValues(1, [0x0500 + address, 70 + address, address % 13])
        registers.setValues(15 + 1, [10 + address])
        registers.setValues(0x21 + 1, [address % 9])
        slaves[address] = ModbusSlaveContext(hr=registers, zero_mode=False)
    return ModbusServerContext(slaves=slaves, single=False)


def main():
    port, mode, addresses = sys.argv[1], sys.argv[2], sys.argv[3]
    framer = ModbusRtuFramer if mode == "rtu" else ModbusAsciiFramer
    print("ready", flush=True)
    StartSerialServer(context=context([int(a) for a in addresses.split(",")]), framer=framer,
                      port=port, baudrate=9600, parity="N", bytesize=8, stopbits=1,
                      timeout=0.005)


if __name__ == "__main__":
    main()
