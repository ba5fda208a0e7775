"""A Modbus slave of an independent implementation (pymodbus) on a serial
line, for the end-to-end tests: every address given gets holding registers
0..2 (coding, firmware, device type), 15 (the minimum response time) and
register 0x21 (which the link takes as its delay), and a whole configuration
besides (registers 3..59, the texts from 0x300, the units from 0x400, the
coils 0..31): see image_value().

    pymodbus_slave.py PORT rtu|ascii ADDRESS[,ADDRESS...]
    pymodbus_slave.py --line [--late N] [--stray N] rtu|ascii ADDRESS[,...]
    pymodbus_slave.py --tcp [--close-after N] [--wrong-id N] [--late N] rtu|mbtcp ADDRESS[,...]

Prints "ready" once the port is open. With --line the slave makes its own
line: a pseudo-terminal for the master, whose path follows "ready", joined
to the slave through a second one. The line spoils answers on their way to
the master: --late N holds every N-th answer 1.5 s (past the master's repeat;
the slave answers the repeat as well, after it), --stray N puts a stray byte
ahead of every N-th answer (the line turning round). An answer waiting
behind a held one follows it after the device's turnaround. A pseudo-terminal
carries neither parity nor 7 data bits, so the line is 9600 8N1 whatever the
mode.

With --tcp the slave serves on a free port of 127.0.0.1, printed after
"ready": RTU frames over TCP (a serial device server) or Modbus TCP (a
gateway). Between the master and the slave sits a relay that spoils the
connection: --close-after N closes it after N requests have been answered,
--wrong-id N sends ahead of every N-th Modbus TCP answer a copy under another
transaction identifier with its last byte changed, --late N holds every N-th
answer 1.5 s (past the master's repeat, which is answered after it).
"""
import socket
import os
import select
import sys
import threading
import time
import tty

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import StartSerialServer, StartTcpServer
from pymodbus.transaction import ModbusAsciiFramer, ModbusRtuFramer, ModbusSocketFramer

LATE_S = 1.5
# A device takes this long from the end of one answer to the next, when it
# has a second request waiting.
TURNAROUND_S = 0.08
STRAY = b"\xfe"


def image_value(register):
    """The configuration every slave holds beyond its identity: a different
    value in every register, so that a block taken for another shows."""
    if register < 60:
        return (register * 37 + 11) % 1000
    if 0x300 <= register < 0x3DC:  # texts: "Text 07" and so on, NUL-padded
        k, i = divmod(register - 0x300, 10)
        text = (b"Text %02d" % k).ljust(20, b"\0")
        return text[2 * i] << 8 | text[2 * i + 1]
    if 0x400 <= register < 0x43C:  # units: three of up to three letters per block
        k, i = divmod(register - 0x400, 10)
        units = b"".join((b"%c%c" % (65 + (3 * k + m) % 26, 97 + m)).ljust(4, b"\0")
                         for m in range(3)).ljust(20, b"\0")
        return units[2 * i] << 8 | units[2 * i + 1]
    return 0


def coil_value(coil):
    return coil % 3 == 0


def context(addresses):
    slaves = {}
    for address in addresses:
        registers = ModbusSequentialDataBlock(0, [0] * 0x500)
        # The data block counts from 1: register n lives at n + 1.
        registers.setValues(1, [image_value(r) for r in range(0x4FE)])
        registers.setValues(1, [0x0500 + address, 70 + address, address % 13])
        registers.setValues(15 + 1, [10 + address])
        registers.setValues(0x21 + 1, [address % 9])
        coils = ModbusSequentialDataBlock(0, [False] + [coil_value(c) for c in range(0x120)])
        slaves[address] = ModbusSlaveContext(hr=registers, co=coils, zero_mode=False)
    return ModbusServerContext(slaves=slaves, single=False)


def option(name):
    if name not in sys.argv:
        return 0
    at = sys.argv.index(name)
    value = int(sys.argv[at + 1])
    del sys.argv[at:at + 2]
    return value


def pty_pair():
    master, slave = os.openpty()
    tty.setraw(slave)
    return master, os.ttyname(slave)


def bridge(master_side, slave_side, late, stray):
    """Requests go through unchanged; answers in order, some held, some with
    a stray byte ahead."""
    answers = []
    lock = threading.Condition()

    def to_master():
        while True:
            with lock:
                while not answers or answers[0][0] > time.monotonic():
                    lock.wait(0.005)
                _, data = answers.pop(0)
            os.write(master_side, data)

    threading.Thread(target=to_master, daemon=True).start()
    count = 0
    release = 0.0
    while True:
        ready, _, _ = select.select([master_side, slave_side], [], [])
        if master_side in ready:
            os.write(slave_side, without_count_byte(os.read(master_side, 4096), False))
        if slave_side in ready:
            data = os.read(slave_side, 4096)
            # A burst that goes on within a few milliseconds is one answer.
            while select.select([slave_side], [], [], 0.005)[0]:
                data += os.read(slave_side, 4096)
            count += 1
            if stray and count % stray == 0:
                data = STRAY + data
            due = time.monotonic() + (LATE_S if late and count % late == 0 else 0.0)
            with lock:
                release = max(release + TURNAROUND_S, due)
                answers.append((release, data))
                lock.notify()


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def crc16(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc.to_bytes(2, "little")


def without_count_byte(request, mbtcp):
    """The device takes the request for its external values (0x0207) with
    the answer's byte count after the quantity; pymodbus wants it without."""
    if mbtcp and request[7:12] == b"\x03\x02\x07\x00\x16" and len(request) == 13:
        return request[:4] + (6).to_bytes(2, "big") + request[6:12]
    if not mbtcp and request[1:6] == b"\x03\x02\x07\x00\x16" and len(request) == 9:
        return request[:6] + crc16(request[:6])
    return request


def relay(listener, inner_port, mbtcp, close_after, wrong_id, late):
    """One master at a time; each request goes to the slave, its answer back."""
    while True:
        master, _ = listener.accept()
        slave = socket.create_connection(("127.0.0.1", inner_port))
        answered = 0
        try:
            while True:
                request = master.recv(4096)
                if not request:
                    break
                slave.sendall(without_count_byte(request, mbtcp))
                answer = slave.recv(4096)
                while select.select([slave], [], [], 0.02)[0]:
                    more = slave.recv(4096)
                    if not more:
                        break
                    answer += more
                answered += 1
                if mbtcp and wrong_id and answered % wrong_id == 0:
                    other = (int.from_bytes(answer[:2], "big") + 7) & 0xFFFF
                    bad = other.to_bytes(2, "big") + answer[2:-1] + bytes([answer[-1] ^ 0x5A])
                    master.sendall(bad)
                if late and answered % late == 0:
                    time.sleep(LATE_S)
                master.sendall(answer)
                if close_after and answered >= close_after:
                    break
        except OSError:
            pass
        master.close()
        slave.close()


def serve_tcp(mode, addresses, close_after, wrong_id, late):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    inner_port = free_port()
    threading.Thread(target=relay, daemon=True,
                     args=(listener, inner_port, mode == "mbtcp", close_after, wrong_id, late)).start()
    print("ready", listener.getsockname()[1], flush=True)
    framer = ModbusRtuFramer if mode == "rtu" else ModbusSocketFramer
    StartTcpServer(context=context([int(a) for a in addresses.split(",")]), framer=framer,
                   address=("127.0.0.1", inner_port))


def main():
    close_after = option("--close-after")
    wrong_id = option("--wrong-id")
    if "--tcp" in sys.argv:
        sys.argv.remove("--tcp")
        late = option("--late")
        serve_tcp(sys.argv[1], sys.argv[2], close_after, wrong_id, late)
        return
    late = option("--late")
    stray = option("--stray")
    own_line = "--line" in sys.argv
    if own_line:
        sys.argv.remove("--line")
        mode, addresses = sys.argv[1], sys.argv[2]
        master_side, master_path = pty_pair()
        slave_side, port = pty_pair()
        threading.Thread(target=bridge, args=(master_side, slave_side, late, stray),
                         daemon=True).start()
        print("ready", master_path, flush=True)
    else:
        port, mode, addresses = sys.argv[1], sys.argv[2], sys.argv[3]
        print("ready", flush=True)
    framer = ModbusRtuFramer if mode == "rtu" else ModbusAsciiFramer
    StartSerialServer(context=context([int(a) for a in addresses.split(",")]), framer=framer,
                      port=port, baudrate=9600, parity="N", bytesize=8, stopbits=1,
                      timeout=0.005)


if __name__ == "__main__":
    main()
