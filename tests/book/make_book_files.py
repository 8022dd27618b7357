#!/usr/bin/env python3
"""Builds ".book" files for the tests, straight from the byte layout, independently of the writer.

  make_book_files.py malformed DIR   files that each break one rule, and DIR/manifest.txt
  make_book_files.py seeds DIR       small valid books of every shape (the fuzzer's seed corpus)

manifest.txt has one line per file: NAME, a tab, the verdict LoadFromFile must give ("valid" or
"invalid"), a tab, what the file breaks.

Where each kind of damage is covered (the C++ cases build their bytes with TestContainer):
  every truncation length          MalformedFile.EveryTruncationOfABookIsRejected
  bad magic, member counts         here (count 0, 32000, 65535, and more entries than bytes)
  name positions outside the file  MalformedFile.PositionsBeyondTheFileEndTheWalk
  names without terminator, long   MalformedFile.NameOf259BytesIsReadAndALongerOneSkipped
  data positions past the end      MalformedFile.PositionsBeyondTheFileEndTheWalk
  sizes that wrap 32 bits          MalformedFile.SizesReachingBeyondTheFileFailTheLoadBeforeAnyAllocation
  record sizes 0, below flag 2     MalformedFile.RecordSizeBelowItsHeaderIsSkipped
  unknown flags                    MalformedFile.UnknownRecordFlagsAreSkipped
  chapter numbers 0, negative      BookFile.ChapterNameIsReadUpToItsLastDot
  chapter numbers 32000 and beyond MalformedFile.ChapterNumbersAreBoundedByWhatAContainerCanHold,
                                   here (4 000 000 000)
  duplicate chapter members        BookFile.MembersApplyInAnyOrderAndTextsAppend, here (one too many)
  "contents.txt" ending in LF      BookFile.VerdictNeedsTitleBookmarkAndOneMemberPerContentsTitle
Here are also the large shapes, whose point is the time and memory bound: directories that send
every entry to the same name or record, and counts that promise far more than the file holds.
"""
import os
import struct
import sys


def u16(value):
    return struct.pack(">H", value & 0xFFFF)


def u32(value):
    return struct.pack(">I", value & 0xFFFFFFFF)


def container(members):
    """members: (name bytes, data bytes[, flag]) in order; the writer's layout, plus flag-2 records."""
    count = len(members)
    names = b"".join(m[0] + b"\0" for m in members)
    names_start = 6 + 10 * count
    directory, records = b"", b""
    name_offset, record_offset = 0, names_start + len(names)
    for member in members:
        name, data = member[0], member[1]
        flag = member[2] if len(member) > 2 else 0
        record = bytes([flag]) + (b"\x5a" * 4 if flag == 2 else b"") + data
        directory += u16(names_start + name_offset) + u32(record_offset) + u32(len(record))
        name_offset += len(name) + 1
        record_offset += len(record)
        records += record
    return b"Kv" + u16(count) + u16(10 * count + len(names)) + directory + names + records


def book_members(author, title, titles, texts, flag=0):
    members = [(b"bookmark.bin", bytes(8), flag), (b"options.bin", bytes(100), flag),
               (b"title.txt", author + b"\n" + title, flag)]
    if titles:
        members.append((b"contents.txt", b"\n".join(titles), flag))
    members += [(b"%d.txt" % (i + 1), text, flag) for i, text in enumerate(texts)]
    return members


def book(author=b"au", title=b"ti", titles=(b"A",), texts=(b"one",), flag=0):
    return container(book_members(author, title, list(titles), list(texts), flag))


def with_count(data, count):
    return data[:2] + u16(count) + data[4:]


def same_entry_everywhere(count, name, record_data):
    """A header promising `count` members whose entries all point at one name and one record."""
    names_start = 6 + 10 * count
    record_start = names_start + len(name) + 1
    entry = u16(names_start) + u32(record_start) + u32(len(record_data) + 1)
    return b"Kv" + u16(count) + u16(0) + entry * count + name + b"\0" + b"\0" + record_data


def malformed():
    """(file name, verdict, what it breaks, bytes)"""
    valid = book()
    cases = [
        ("control-valid", "valid", "an unbroken book, so that the harness itself is checked", valid),
        ("magic-lowercase", "invalid", "magic \"kv\"", b"kv" + valid[2:]),
        ("magic-swapped", "invalid", "magic \"vK\"", b"vK" + valid[2:]),
        ("magic-zero", "invalid", "magic 0", bytes(2) + valid[2:]),
        ("magic-text", "invalid", "a text file", b"Kelvra books are not text files.\r\n" * 4),
        ("empty", "invalid", "no bytes at all", b""),
        ("magic-only", "invalid", "the magic and nothing else", b"Kv"),
        ("count-0", "invalid", "member count 0", with_count(valid, 0)),
        ("count-32000", "invalid", "member count 32000", with_count(valid, 32000)),
        ("count-65535", "invalid", "member count 65535", with_count(valid, 65535)),
        ("count-31999-small-file", "invalid", "31999 members promised by a 229-byte file",
         with_count(valid, 31999)),
        ("count-one-more", "invalid", "one entry more than the directory has: names read as entries",
         with_count(valid, 6)),
        ("chapter-4000000000", "invalid", "chapter member 4000000000.txt",
         container(book_members(b"au", b"ti", [b"A"], []) + [(b"4000000000.txt", b"far")])),
        ("chapter-duplicate-extra", "invalid", "1.txt twice for one title",
         container(book_members(b"au", b"ti", [b"A"], [b"one"]) + [(b"1.txt", b"again")])),
        ("same-name-31999-times", "invalid",
         "31999 entries that all read one 259-byte name (which names no member)",
         same_entry_everywhere(31999, b"x" * 259, b"data")),
        ("same-record-31999-times", "invalid",
         "31999 entries that all take the same 64 KiB record as chapter 1",
         same_entry_everywhere(31999, b"1.txt", b"t" * 65536)),
        ("count-31999-zeros", "invalid", "31999 members over 64 KiB of zeros",
         b"Kv" + u16(31999) + bytes(65536)),
    ]
    # Names and records that lie on the header's own bytes: "Kv" as a name, the count as a record.
    header_members = b"Kv" + u16(3) + u16(0) + (u16(0) + u32(2) + u32(4)) * 3
    cases.append(("members-on-the-header", "invalid", "names and records inside the header",
                  header_members))
    return cases


def seeds():
    return [
        ("empty-book", book(b"", b"", [], [])),
        ("no-chapters", book(b"Ann", b"Notes", [], [])),
        ("one-chapter", book(b"A", b"T", [b"C"], [b"xy"])),
        ("three-chapters", book(b"au", b"ti", [b"A", b"", b"C"], [b"one\r\n", b"", b"three\n"])),
        ("flag-two", book(b"au", b"ti", [b"A", b"B"], [b"one", b""], flag=2)),
        ("no-options", container([(b"title.txt", b"a\r\nt"), (b"bookmark.bin", bytes(8))])),
        ("gaps-and-order", container([(b"5.txt", b"five"), (b"title.txt", b"a\nt"),
                                      (b"contents.txt", b"A\nB"), (b"bookmark.bin", bytes(8)),
                                      (b"1.txt", b"one")])),
        ("odd-names", container(book_members(b"a", b"t", [b"A", b"B", b"C"], []) +
                                [(b"3.rtf", b"r", 2), (b"3.x.txt", b"x"), (b" +2z.txt", b"two"),
                                 (b"0.txt", b"?"), (b"nodot", b"?")])),
        ("plain-container", container([(b"a", b"xy")])),
    ]


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def main(argv):
    if len(argv) != 3 or argv[1] not in ("malformed", "seeds"):
        sys.stderr.write(__doc__)
        return 2
    out = argv[2]
    os.makedirs(out, exist_ok=True)
    if argv[1] == "seeds":
        for name, data in seeds():
            write(os.path.join(out, name + ".book"), data)
        return 0
    lines = []
    for name, verdict, what, data in malformed():
        write(os.path.join(out, name + ".book"), data)
        lines.append("%s.book\t%s\t%s\n" % (name, verdict, what))
    write(os.path.join(out, "manifest.txt"), "".join(lines).encode())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
