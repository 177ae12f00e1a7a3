#!/usr/bin/env python3
"""Turns the by-value text parameters with a default value of a widl type library into by-reference
ones, in place.

widl 7 refuses a text default value on a by-reference text parameter ("string default value
applied to non-string type"), though the library format holds one. So the IDL declares such a
parameter for the type library as `[in, optional, defaultvalue("...")] BSTR` (widl writes the
default) and this script rewrites it as the `[in, out, optional, defaultvalue("...")] BSTR*` that
the header declares: the parameter's type becomes the by-reference text type that another
parameter of the same function already uses, its flags gain "out", and the function's reconstituted
size grows by the pointer's type description, as widl itself counts it. Nothing moves: every
record keeps its size.

    tlb_byref_text_defaults.py LIBRARY.tlb
"""
import struct
import sys

VT_BSTR = 8
VT_PTR = 26
BY_VALUE_BSTR = 0x80000000 | (VT_BSTR << 16) | VT_BSTR   # a simple type, written in place
PARAMFLAG_FIN, PARAMFLAG_FOUT, PARAMFLAG_FHASDEFAULT = 0x1, 0x2, 0x20
POINTER_DESC_SIZE = 8      # what widl adds to a function's reconstituted size for a pointer
HAS_DEFAULTS = 0x1000      # function record flag: its parameters carry default values
TYPEINFO_SIZE = 0x64
SEGMENTS = 15


def fail(message):
    sys.exit(f"tlb_byref_text_defaults: {message}")


def main(path):
    data = bytearray(open(path, "rb").read())
    if data[:4] != b"MSFT":
        fail(f"{path} is not a type library of the MSFT format")

    def i32(at):
        return struct.unpack_from("<i", data, at)[0]

    def u32(at):
        return struct.unpack_from("<I", data, at)[0]

    def i16(at):
        return struct.unpack_from("<h", data, at)[0]

    def put32(at, value):
        struct.pack_into("<I", data, at, value & 0xFFFFFFFF)

    def put16(at, value):
        struct.pack_into("<H", data, at, value & 0xFFFF)

    count = i32(0x20)
    directory = 0x54 + (4 if i32(0x14) & 0x100 else 0) + 4 * count
    segments = [(i32(directory + 16 * k), i32(directory + 16 * k + 4)) for k in range(SEGMENTS)]
    typeinfos, typedescs = segments[0][0], segments[9]

    def is_bstr_pointer(datatype):
        if datatype & 0x80000000 or not 0 <= datatype < typedescs[1]:
            return False
        at = typedescs[0] + datatype
        return (i32(at) & 0xFFFF) == VT_PTR and u32(at + 4) == BY_VALUE_BSTR

    changed = 0
    for t in range(count):
        base = typeinfos + TYPEINFO_SIZE * t
        functions = i32(base + 0x18) & 0xFFFF
        if not functions:
            continue
        record = i32(base + 4) + 4
        for _ in range(functions):
            size = i16(record) & 0xFFFF
            args = i16(record + 0x14)
            params = record + size - 12 * args
            if u32(record + 0x10) & HAS_DEFAULTS:
                byref = [u32(params + 12 * a) for a in range(args) if is_bstr_pointer(u32(params + 12 * a))]
                for a in range(args):
                    at = params + 12 * a
                    if u32(at) != BY_VALUE_BSTR or not u32(at + 8) & PARAMFLAG_FHASDEFAULT:
                        continue
                    if not byref:
                        fail("a function with a text default has no by-reference text parameter to copy")
                    put32(at, byref[0])
                    put32(at + 8, u32(at + 8) | PARAMFLAG_FIN | PARAMFLAG_FOUT)
                    put16(record + 0xE, i16(record + 0xE) + POINTER_DESC_SIZE)
                    changed += 1
            record += size
    if not changed:
        fail(f"{path} has no by-value text parameter with a default value")
    open(path, "wb").write(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail("usage: tlb_byref_text_defaults.py LIBRARY.tlb")
    main(sys.argv[1])
