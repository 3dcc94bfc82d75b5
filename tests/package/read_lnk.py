#!/usr/bin/env python3
"""Prints what a Windows shortcut (.lnk) points at, one "field value" line each:
target, working_dir, icon. Only the parts of the Shell Link format a shortcut made by
an MSI uses: the link info's local path and the string data."""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH = 0x1, 0x2, 0x4, 0x8
HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON_LOCATION, IS_UNICODE = 0x10, 0x20, 0x40, 0x80
HEADER_SIZE = 0x4C


def c_string(data, offset):
    return data[offset:data.index(b"\0", offset)].decode("cp1252")


def read(path):
    data = open(path, "rb").read()
    if struct.unpack_from("<I", data, 0)[0] != HEADER_SIZE:
        sys.exit(f"{path}: not a shortcut")
    flags = struct.unpack_from("<I", data, 20)[0]
    offset = HEADER_SIZE
    if flags & HAS_ID_LIST:
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    fields = {}
    if flags & HAS_LINK_INFO:
        size, _, _, _, base_path = struct.unpack_from("<IIIII", data, offset)
        fields["target"] = c_string(data, offset + base_path)
        offset += size
    width = 2 if flags & IS_UNICODE else 1
    for flag, name in ((HAS_NAME, "name"), (HAS_RELATIVE_PATH, "relative_path"),
                       (HAS_WORKING_DIR, "working_dir"), (HAS_ARGUMENTS, "arguments"),
                       (HAS_ICON_LOCATION, "icon")):
        if flags & flag:
            count = struct.unpack_from("<H", data, offset)[0]
            raw = data[offset + 2:offset + 2 + count * width]
            fields[name] = raw.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0")
            offset += 2 + count * width
    return fields


for field, value in read(sys.argv[1]).items():
    print(field, value)
