#!/usr/bin/env python3
"""Sets the two compile-time stamps of a compiled help file to a given time.

chmcmd writes the time of day it compiled the file, in milliseconds since midnight, into two
places, so that no two builds of the same sources are alike:
  - the file header ("ITSF"), a big-endian 32-bit value at offset 0x10;
  - the #SYSTEM file (kept uncompressed, in content section 0), record 10: a little-endian 32-bit
    value.
Both are set to the time of day of EPOCH (seconds since 1970, UTC) at a whole second; nothing else
in the file changes, so its size and every offset stay as they are.

Usage: stamp_chm.py FILE EPOCH
"""
import struct
import sys

HEADER_STAMP = 0x10
SYSTEM_STAMP_CODE = 10


class ChmError(Exception):
    pass


def read_encint(data, pos):
    """A directory number: 7 bits a byte, most significant first, the top bit set on all but the last."""
    value = 0
    while True:
        if pos >= len(data):
            raise ChmError("directory entry runs past its chunk")
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def directory_entries(data):
    """(name, section, offset, length) of every entry of the directory's listing chunks."""
    if data[0:4] != b"ITSF":
        raise ChmError("not a compiled help file (no ITSF header)")
    version, header_length = struct.unpack_from("<II", data, 4)
    if version not in (2, 3):
        raise ChmError("unknown ITSF version %d" % version)
    directory_offset, directory_length = struct.unpack_from("<QQ", data, 0x48)
    if version == 3 and header_length >= 0x60:
        content_offset = struct.unpack_from("<Q", data, 0x58)[0]
    else:
        content_offset = directory_offset + directory_length
    if data[directory_offset:directory_offset + 4] != b"ITSP":
        raise ChmError("no ITSP directory header")
    itsp_length = struct.unpack_from("<I", data, directory_offset + 8)[0]
    chunk_size = struct.unpack_from("<I", data, directory_offset + 0x10)[0]
    first_listing, last_listing = struct.unpack_from("<ii", data, directory_offset + 0x20)
    chunks_start = directory_offset + itsp_length
    entries = []
    chunk = first_listing
    seen = set()
    while chunk != -1 and chunk not in seen:
        seen.add(chunk)
        start = chunks_start + chunk * chunk_size
        block = data[start:start + chunk_size]
        if len(block) != chunk_size or block[0:4] != b"PMGL":
            raise ChmError("directory chunk %d is not a listing chunk" % chunk)
        free_space, _, _, next_chunk = struct.unpack_from("<IIii", block, 4)
        pos, end = 0x14, chunk_size - free_space
        while pos < end:
            name_length, pos = read_encint(block, pos)
            name = block[pos:pos + name_length].decode("utf-8")
            pos += name_length
            section, pos = read_encint(block, pos)
            offset, pos = read_encint(block, pos)
            length, pos = read_encint(block, pos)
            entries.append((name, section, offset, length))
        if chunk == last_listing:
            break
        chunk = next_chunk
    return entries, content_offset


def system_stamp_offset(data):
    """Where record 10 of #SYSTEM keeps its value in the file."""
    entries, content_offset = directory_entries(data)
    found = [entry for entry in entries if entry[0] == "/#SYSTEM"]
    if not found:
        raise ChmError("no #SYSTEM file")
    _, section, offset, length = found[0]
    if section != 0:
        raise ChmError("#SYSTEM is compressed")
    start = content_offset + offset
    pos, end = start + 4, start + length  # after the file's version
    while pos + 4 <= end:
        code, record_length = struct.unpack_from("<HH", data, pos)
        if code == SYSTEM_STAMP_CODE:
            if record_length != 4:
                raise ChmError("#SYSTEM record 10 is %d bytes long" % record_length)
            return pos + 4
        pos += 4 + record_length
    raise ChmError("#SYSTEM has no record 10")


def stamp(data, epoch):
    milliseconds = (epoch % 86400) * 1000
    data = bytearray(data)
    system = system_stamp_offset(data)
    struct.pack_into(">I", data, HEADER_STAMP, milliseconds)
    struct.pack_into("<I", data, system, milliseconds)
    return bytes(data)


def main(argv):
    if len(argv) != 3:
        print("usage: stamp_chm.py FILE EPOCH", file=sys.stderr)
        return 2
    path, epoch = argv[1], int(argv[2])
    with open(path, "rb") as file:
        data = file.read()
    try:
        stamped = stamp(data, epoch)
    except (ChmError, struct.error, UnicodeDecodeError) as error:
        print("stamp_chm.py: %s: %s" % (path, error), file=sys.stderr)
        return 1
    with open(path, "wb") as file:
        file.write(stamped)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
