"""Prints a dBase table as an independent reader (dbfread) sees it, in Windows-1251.

First line: the fields as NAME:TYPE:LENGTH:DECIMALS; then one line per record. Values are
separated by a tab: texts as stored without trailing blanks, numbers as Python writes them,
dates as YYYY-MM-DD, an empty value as <null>. Exit status 77 when dbfread is not installed.
"""
import sys

try:
    import dbfread
except ImportError:
    sys.exit(77)


def text(value):
    if value is None:
        return "<null>"
    if hasattr(value, "isoformat"):
        return value.isoformat()
    return str(value)


def main(path):
    table = dbfread.DBF(path, encoding="cp1251", char_decode_errors="strict")
    lines = ["\t".join("%s:%s:%d:%d" % (f.name, f.type, f.length, f.decimal_count) for f in table.fields)]
    for record in table:
        lines.append("\t".join(text(value) for value in record.values()))
    sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("cp1251"))


if __name__ == "__main__":
    main(sys.argv[1])
