#!/usr/bin/env python3
"""The ranking's CSV and JSON as their readers take them, against the page.

Usage: export_check.py json|csv PATH-TO-junmaru-batch

Ranks a log made for it (Japanese names, ties, names that hold commas,
quotes or look like formulas, bytes that code page 932 does not map, a
name longer than the limit, more files than places) into a page, a CSV in
code page 932, a CSV in UTF-8 and a JSON file, then:
  json: Python's json reads the file, and its rows are the page's rows,
        place for place (rank, name, count);
  csv:  LibreOffice opens both CSV files (soffice --headless --convert-to)
        and finds the same ranks and counts as numbers and the same paths
        and names as text. Exit 77 (skipped), naming it, without soffice.
"""
import html
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse
import xml.etree.ElementTree as ET

mode, batch = sys.argv[1], sys.argv[2]
NAME_MAX = 12  # bytes shown: twice as many
MARK = "(略)...".encode("cp932")

# Path (code page 932 bytes) and how often it is fetched.
FILES = [
    ("/ソフト/表計算.zip".encode("cp932"), 9),
    ("/dl/日本語の説明書.pdf".encode("cp932"), 9),
    (b"/dl/a,b.zip", 7),
    (b'/dl/"quoted".zip', 7),
    (b"=HYPERLINK(1).zip", 6),
    (b"-1+1.zip", 5),
    (b"/dl/\x80\xfd.bin", 5),
    ("/とても長い名前のファイル/説明.zip".encode("cp932"), 4),
    (b"/dl/a.lzh", 3),
    (b"/dl/b.lzh", 2),
    (b"/dl/c.lzh", 2),
    (b"/dl/d.lzh", 1),
]
TOP = 10


def shown(path):
    limit = 2 * NAME_MAX
    return path if len(path) <= limit else MARK + path[-limit:]


def fail(text):
    print("FAIL:", text)
    sys.exit(1)


work = pathlib.Path(tempfile.mkdtemp(prefix="junmaru-export-check-"))
try:
    lines = []
    for i, (path, count) in enumerate(FILES):
        for k in range(count):
            stamp = b"10/Oct/2024:%02d:%02d:00 +0900" % (i, k)
            lines.append(b'192.0.2.1 - - [' + stamp + b'] "GET ' + path + b' HTTP/1.1" 200 10')
    (work / "access.log").write_bytes(b"\r\n".join(lines) + b"\r\n")
    (work / "settings.ini").write_bytes(b"[Ranking]\r\nTopCount=%d\r\n[HTML]\r\nNameMax=%d\r\n" % (TOP, NAME_MAX))
    (work / "gage.gif").write_bytes(b"GIF89a")
    common = [batch, "--settings", str(work / "settings.ini"), "--log", str(work / "access.log")]
    for extra in (["--out", "ranking.html", "--csv", "ranking.csv", "--json", "ranking.json"],
                  ["--out", "utf8.html", "--csv", "utf8.csv", "--csv-utf8"]):
        run = subprocess.run(common + [a if a.startswith("--") else str(work / a) for a in extra], capture_output=True)
        if run.returncode != 0:
            fail("junmaru-batch: status %d: %s" % (run.returncode, run.stderr.decode()))

    # The page's rows: rank label, name (link and all: its text), count.
    page = []
    for line in (work / "ranking.html").read_bytes().split(b"\r\n"):
        m = re.fullmatch(rb"<tr><td>(\d+)" + "位".encode("cp932") + rb"</td><td>(.*)</td><td><img [^>]*></td><td>(\d+)</td></tr>", line)
        if m:
            name = re.sub(rb"<[^>]*>", b"", m.group(2))
            page.append((int(m.group(1)), html.unescape(name.decode("latin-1")).encode("latin-1"), int(m.group(3))))
    if len(page) != TOP:
        fail("the page has %d rows, not %d" % (len(page), TOP))

    raw = (work / "ranking.json").read_bytes()
    data = json.loads(raw.decode("utf-8"))
    rows = data["rows"]

    if mode == "json":
        if data["header"]["top"] != TOP or data["header"]["top_total"] != sum(c for _, _, c in page):
            fail("header %r against the page's total" % data["header"])
        if data["header"]["period"] != {"from": "2024-10-10 00:00:00", "to": "2024-10-10 11:00:00"}:
            fail("period %r" % data["header"]["period"])
        if len(rows) != len(page):
            fail("%d rows in the JSON, %d on the page" % (len(rows), len(page)))
        for row, (rank, name, count) in zip(rows, page):
            if "path_bytes" in row:
                path = urllib.parse.unquote_to_bytes(row["path_bytes"])
                if "\ufffd" not in row["path"]:
                    fail("path_bytes without a replacement in %r" % row)
            else:
                path = row["path"].encode("cp932")
                if row["name"].encode("cp932") != name:
                    fail("name %r against the page's %r" % (row["name"], name))
            if (row["rank"], shown(path), row["count"]) != (rank, name, count):
                fail("row %r against the page's %r" % (row, (rank, name, count)))
        if b"\\ufffd" not in raw:
            fail("no \\ufffd escape for the bytes without a character")
        print("json check: %d rows match the page" % len(rows))
        sys.exit(0)

    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    if not soffice:
        print("skipped: soffice (Debian libreoffice-calc-nogui) is not installed")
        sys.exit(77)
    T = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
    O = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"
    X = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"
    formula_like = ("=", "+", "-", "@", "\t")
    for csv, charset in (("ranking.csv", 60), ("utf8.csv", 76)):  # MS-932, UTF-8
        # LibreOffice's CSV filter: comma, double quote, the character set, from line 1.
        run = subprocess.run([soffice, "-env:UserInstallation=" + (work / "profile").as_uri(), "--headless",
                              "--infilter=CSV:44,34,%d,1" % charset, "--convert-to", "fods", "--outdir", str(work),
                              str(work / csv)], capture_output=True, timeout=300)
        sheet = work / csv.replace(".csv", ".fods")
        if run.returncode != 0 or not sheet.exists():
            fail("soffice could not open %s: %s" % (csv, run.stderr.decode(errors="replace")))
        cells = []
        for tr in ET.parse(sheet).iter(T + "table-row"):
            row = []
            for td in tr.findall(T + "table-cell"):
                repeat = int(td.get(T + "number-columns-repeated", "1"))
                text = "\n".join("".join(p.itertext()) for p in td.iter(X + "p"))
                row += [(td.get(O + "value-type"), td.get(O + "value"), text)] * min(repeat, 8)
            if any(text for _, _, text in row):
                cells.append([c for c in row if c[0]][:4])
        if [text for _, _, text in cells[0]] != ["順位", "パス", "ファイル名", "DL数"]:
            fail("%s: head %r" % (csv, cells[0]))
        if len(cells) - 1 != len(rows):
            fail("%s: %d rows, the JSON %d" % (csv, len(cells) - 1, len(rows)))
        for got, row in zip(cells[1:], rows):
            (rank_type, rank, _), path, name, (count_type, count, _) = got
            if (rank_type, count_type) != ("float", "float") or (int(rank), int(count)) != (row["rank"], row["count"]):
                fail("%s: numbers %r against %r" % (csv, got, row))
            if "path_bytes" in row and charset != 76:
                continue  # bytes without a character: each reader shows them its own way
            for (kind, _, text), want in ((path, row["path"]), (name, row["name"])):
                if kind != "string" or text != ("'" if want.startswith(formula_like) else "") + want:
                    fail("%s: text %r against %r" % (csv, text, want))
    print("csv check: LibreOffice reads both files as the JSON's %d rows" % len(rows))
finally:
    shutil.rmtree(work, ignore_errors=True)
