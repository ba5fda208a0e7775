#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets: the answers, key
sequences and parameter files the ordinary tests use, in each target's input
layout.

usage: make_seeds.py OUTDIR   (writes OUTDIR/<target>/<name>)
"""

import pathlib
import sys

def crc16(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def rtu(hex_body):
    body = bytes.fromhex(hex_body)
    crc = crc16(body)
    return body + bytes([crc & 0xFF, crc >> 8])


def ascii_frame(hex_body):
    body = bytes.fromhex(hex_body)
    lrc = (-sum(body)) & 0xFF
    return b":" + hex_body.upper().encode() + b"%02X" % lrc + b"\r\n"


def regs(values):
    return "".join("%04X" % (v & 0xFFFF) for v in values)


def read_answer(values):
    return "0103%02X" % (2 * len(values)) + regs(values)


# Answers as the ordinary tests give them, with the request choice of
# fuzz_receive_steps.cpp they answer (7: no request).
ANSWERS = {
    "probe": (0, "0103020005"),
    "config_block": (1, read_answer([0x0111, 3, 2, 1, 0, 5, 0, 1, 2, 3])),
    "monitor": (7, "01031C" + regs([5, 0, 215, 0, 0, 0, 0, 0x8000, 0, 0, 0, 0, 0, 0])),
    "text_block": (1, "010314" + "48616C6C6F2057656C74" + "00" * 10),
    "write_ack": (4, "01100000000A"),
    "config_bits": (2, "010104A5F00F81"),
    "bits_written": (5, "010F00000020"),
    "input_written": (6, "011002170001"),
    "external_values": (3, "01032C" + regs(list(range(1, 23)))),
    "input_bits": (7, "0101025AA5"),
    "exception": (1, "018302"),
}


def receive_seed(ascii, choice, line, address=1, flags=0):
    return bytes([flags | (1 if ascii else 0), address, choice]) + line


def receive_seeds():
    seeds = {}
    for name, (choice, body) in ANSWERS.items():
        seeds["rtu_" + name] = receive_seed(False, choice, rtu(body))
        seeds["ascii_" + name] = receive_seed(True, choice, ascii_frame(body))
    probe = rtu("0103020005")
    damaged = bytearray(probe)
    damaged[4] ^= 0x03
    seeds["rtu_bad_crc"] = receive_seed(False, 0, bytes(damaged))
    seeds["rtu_other_slave_then_ours"] = receive_seed(False, 0, rtu("0203020063") + rtu("0103020007"))
    seeds["rtu_count_zero"] = receive_seed(False, 0, b"\x01\x03\x00" + probe + probe)
    seeds["rtu_two_answers"] = receive_seed(False, 7, rtu(ANSWERS["monitor"][1]) * 2)
    seeds["rtu_whole_read_out"] = receive_seed(
        False, 1, b"".join(rtu(read_answer(list(range(10 * b, 10 * b + 10)))) for b in range(6)))
    seeds["rtu_requests_with_silences"] = receive_seed(
        False, 7, rtu("010300210001") + rtu("0103020700162C"), flags=0x06)
    seeds["ascii_colon_line_feed"] = receive_seed(True, 1, b":\n")
    seeds["ascii_noise_lower_case"] = receive_seed(True, 0, b"\x00" + ascii_frame("0103020005").lower())
    return seeds


CFG, TXT, UNIT, IN, OUT = range(5)


def key(array, index, char):
    code = ord(char)
    return bytes([array, index, 0, code]) if code < 0xFF else bytes([array, index, 0, 0xFF, code >> 8, code & 0xFF])


def typed(array, index, text):
    return b"".join(key(array, index, c) for c in text)


def leave(array, index):
    return bytes([array, index, 4])


def field_seeds():
    return {
        "typed_300_into_4": b"\x00" + typed(CFG, 4, "300") + leave(CFG, 4),
        "typed_minus_300_into_16": b"\x00" + typed(CFG, 16, "-300") + leave(CFG, 16),
        "emptied_and_left": b"\x00" + typed(CFG, 5, "12\b\b") + leave(CFG, 5),
        "separator_twice": b"\x01" + typed(CFG, 17, "1..5--") + leave(CFG, 17),
        "arrows_field_16": b"\x00" + typed(CFG, 16, "9,95") + bytes([CFG, 16, 5, 1, CFG, 16, 5, 0]),
        "held_up_field_35": b"\x00" + typed(CFG, 35, "29,5") + bytes([CFG, 35, 6, 0, 200]),
        "held_down_field_14": b"\x00" + bytes([CFG, 14, 6, 255, 100]),
        "list_choice": b"\x00" + bytes([CFG, 6, 7, 2, CFG, 2, 7, 5]),
        "text_pasted": b"\x00" + bytes([TXT, 3, 2, 20]) + b"Hallo Welt und mehr!",
        "unit_typed": b"\x00" + typed(UNIT, 4, "kW/h2") + typed(UNIT, 0, "%"),
        "cursor_and_delete": b"\x00" + typed(CFG, 42, "123") + bytes([CFG, 42, 3, 1, CFG, 42, 0, 127]),
        "input_field": b"\x00" + typed(IN, 16, "-3") + leave(IN, 16),
    }


GOLDEN = pathlib.Path(__file__).resolve().parents[1] / "data" / "parameter_file_de.txt"


def parameter_file_seeds():
    """The golden file and variants of it, each after the choices byte
    (bit 0: "." separator, bit 1: English)."""
    golden = GOLDEN.read_bytes()
    lines = golden.split(b"\r\n")[:147]

    def join(ls, end=b"\r\n"):
        return end.join(ls) + end

    def with_line(number, text):
        changed = list(lines)
        changed[number - 1] = text
        return join(changed)

    return {
        "golden": b"\x00" + golden,
        "golden_point_english": b"\x03" + golden,
        "line_feeds_only": b"\x00" + join(lines, b"\n"),
        "no_last_line_end": b"\x00" + join(lines)[:-2],
        "one_line_short": b"\x00" + join(lines[:146]),
        "bit_two": b"\x00" + with_line(80, b"Konfigurationsbit 5 ;x:; 2 "),
        "bit_word": b"\x02" + with_line(107, b"Konfigurationsbit 32 ;x:;ja"),
        "no_separators": b"\x00" + with_line(20, b"Register 6 fifty"),
        "long_line": b"\x00" + with_line(30, b"Register 16 ;x;" + b"7" * 5000),
        "long_text": b"\x00" + with_line(108, b"Register 769 ;Text;" + b"Lange Zeile " * 8),
        "value_not_a_number": b"\x01" + with_line(21, b"Register 7 ;Taste 1:;1,5e3\x00"),
        "list_code_padded": b"\x00" + with_line(17, b"Register 3 ;x:; 0009,0 "),
        "cr_inside": b"\x00" + with_line(40, b"Register 26 ;a\rb;\r3\r"),
        "empty": b"\x00",
    }


def scan_seed(ascii, count, chunks, cancel=False):
    """flags, address count, then [wait ms][length][bytes] per chunk."""
    out = bytes([(1 if ascii else 0) | (2 if cancel else 0), count - 1])
    for wait, data in chunks:
        out += bytes([wait, len(data)]) + data
    return out


def scan_seeds():
    seeds = {}
    for ascii in (False, True):
        frame = ascii_frame if ascii else rtu
        mode = "ascii" if ascii else "rtu"
        probe = frame("0103020005")
        identity = frame("010306" + regs([0x581, 112, 9]))
        seeds[mode + "_one_device"] = scan_seed(ascii, 3, [(12, probe), (12, identity)])
        seeds[mode + "_in_pieces"] = scan_seed(
            ascii, 2, [(12, probe[:3]), (1, probe[3:]), (12, identity[:5]), (2, identity[5:])])
        seeds[mode + "_other_address"] = scan_seed(ascii, 2, [(12, frame("0203020005"))])
        seeds[mode + "_exception"] = scan_seed(ascii, 2, [(12, frame("018302"))])
        seeds[mode + "_cancelled"] = scan_seed(ascii, 8, [(12, probe), (12, identity), (80, b""),
                                                          (80, b""), (80, b"")], cancel=True)
    seeds["rtu_noise"] = scan_seed(False, 4, [(5, bytes(range(40))), (30, b"\xff" * 20)])
    return seeds


def main():
    out = pathlib.Path(sys.argv[1])
    for target, seeds in (("fuzz_receive_steps", receive_seeds()),
                          ("fuzz_field_entry", field_seeds()),
                          ("fuzz_parameter_file", parameter_file_seeds()),
                          ("fuzz_bus_scan", scan_seeds())):
        folder = out / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
