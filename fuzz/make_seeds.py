#!/usr/bin/env python3
"""Writes the seed corpus of the store reader: small well-formed component streams."""
import pathlib
import struct

out = pathlib.Path(__file__).parent / "corpus" / "store_reader"
out.mkdir(parents=True, exist_ok=True)


def s(text):  # short string
    b = text.encode("cp1252")
    return bytes([len(b)]) + b


def rec(name, value):
    return s(name) + value


def header(cls, name=""):
    return b"TPF0" + s(cls) + s(name)


END = b"\x00\x00"
ext_1_5 = b"\x05" + bytes.fromhex("00000000000000c0ff3f")
seeds = {
    "empty_waves": header("TWaveSounds", "WaveSounds") + rec("AskOnLoadError", b"\x08") + rec("Waves", b"\x0e\x00") + END,
    "sink_all_kinds": header("TKitchenSink", "Sink")
    + rec("Tag", b"\x03\x00\x80")
    + rec("Count", b"\x04" + struct.pack("<i", -100000))
    + rec("Color", b"\x07" + s("clBtnFace"))
    + rec("Separator", b"\x06" + s("è"))
    + rec("Kind", b"\x07" + s("kdThird"))
    + rec("Kinds", b"\x0b" + s("kdFirst") + s("kdThird") + b"\x00")
    + rec("Price", ext_1_5)
    + rec("Title", b"\x0c" + struct.pack("<i", 3) + b"abc")
    + rec("Font.Style", b"\x0b" + s("fsBold") + b"\x00")
    + rec("Notes.Strings", b"\x01\x06" + s("riga") + b"\x00")
    + rec("Waves", b"\x0e\x02\x00\x01" + rec("Name", b"\x06" + s("Squillo")) + rec("Enabled", b"\x08") + b"\x00\x00")
    + rec("Data", b"\x0a" + struct.pack("<i", 3) + b"\x01\x02\x03")
    + END,
    "child_object": header("TKitchenSink") + b"\x00" + b"\xf2\x02\x01" + s("TTimer") + s("T1") + b"\x00\x00" + b"\x00",
}
for name, data in seeds.items():
    (out / name).write_bytes(data)
