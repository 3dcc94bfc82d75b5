#!/usr/bin/python3
"""Gives an MSI built by wixl the package code and the times its build chose.

    msi-summary.py MSI PACKAGE_CODE EPOCH

wixl writes into the MSI's summary information a package code (the revision number) drawn at
random and the time of the build, as created and as last saved. This writes PACKAGE_CODE
and EPOCH (seconds since 1970, UTC) there instead, in place: the summary information keeps
its size, so the rest of the file stays as wixl wrote it, and the same contents give the
same MSI.
"""
import re
import struct
import sys

import olefile

SUMMARY = "\x05SummaryInformation"
VT_LPSTR, VT_FILETIME = 30, 64
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
# FILETIME counts 100 ns from 1601-01-01; 11644473600 s lie between then and 1970.
FILETIME_1970 = 11644473600


def properties(stream):
    """Each property of the stream's one section: {id: (offset of its type, type)}."""
    (section_offset,) = struct.unpack_from("<I", stream, 44)
    (count,) = struct.unpack_from("<I", stream, section_offset + 4)
    found = {}
    for index in range(count):
        ident, offset = struct.unpack_from("<II", stream, section_offset + 8 + 8 * index)
        at = section_offset + offset
        found[ident] = (at, struct.unpack_from("<I", stream, at)[0])
    return found


def rewrite(stream, package_code, epoch):
    stream = bytearray(stream)
    found = properties(stream)
    at, kind = found[PID_REVNUMBER]
    (length,) = struct.unpack_from("<I", stream, at + 4)
    code = ("{%s}" % package_code.upper()).encode("ascii") + b"\0"
    if kind != VT_LPSTR or length != len(code):
        raise ValueError("the revision number is no GUID of %d characters" % (len(code) - 1))
    stream[at + 8:at + 8 + length] = code
    filetime = (epoch + FILETIME_1970) * 10_000_000
    for ident in (PID_CREATE_DTM, PID_LASTSAVE_DTM):
        at, kind = found[ident]
        if kind != VT_FILETIME:
            raise ValueError("property %d is no time" % ident)
        struct.pack_into("<Q", stream, at + 4, filetime)
    return bytes(stream)


def main(msi, package_code, epoch):
    if not re.fullmatch(r"[0-9A-Fa-f]{8}(-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}", package_code):
        sys.exit("msi-summary.py: %s is no GUID" % package_code)
    with olefile.OleFileIO(msi, write_mode=True) as ole:
        ole.write_stream(SUMMARY, rewrite(ole.openstream(SUMMARY).read(), package_code, int(epoch)))


if __name__ == "__main__":
    main(*sys.argv[1:])
