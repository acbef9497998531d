#!/usr/bin/env python3
"""Writes the logs and settings files that scripts/windows-page-check.sh
ranks on Linux and under Wine. Usage: windows-page-logs.py FOLDER SEED.
The logs are drawn at random from the seed: paths in code page 932 that
fold alike or not (case, width, the NEC and IBM duplicates, trail bytes
0x5C), counts that tie, requests that are not downloads, and one log of
more than 1 MB, so that both systems read it through a mapping; and a
log of today's servers (HTTP/2 and HTTP/3, statuses, range requests from
one client over two days, crawlers and lookalikes, percent-encoded UTF-8
and code page 932 names, query strings) with a settings file that turns
every counting rule on; and one log in time order over a year, for the
rank changes against a previous period."""
import datetime
import pathlib
import random
import sys

folder = pathlib.Path(sys.argv[1])
rng = random.Random(int(sys.argv[2]))


def sjis(text):
    return text.encode("cp932")


# Paths that the comparison must fold together or keep apart.
PATHS = [
    b"/dl/tool.lzh", b"/dl/Tool.LZH", b"/dl/TOOL.lzh",
    sjis("/ソフト/表計算.zip"), sjis("/ソフト/表計算.ZIP"),             # 0x5C trail bytes
    sjis("/dl/ＡＢＣ.zip"), sjis("/dl/ａｂｃ.zip"), sjis("/dl/ABC.zip"),  # full-width case, width
    b"/dl/\xed\x40.zip", b"/dl/\xfa\x5c.zip",                           # NEC and IBM 纊
    sjis("/dl/Ⅳ.zip"), b"/dl/\xfa\x4d.zip",                            # Ⅳ against ⅳ (IBM)
    sjis("/dl/Ωα.zip"), sjis("/dl/ωΑ.zip"), sjis("/dl/Жж.zip"), sjis("/dl/жЖ.zip"),
    sjis("/dl/ｶﾞｲﾄﾞ.pdf"), sjis("/dl/ガイド.pdf"), sjis("/dl/かいど.pdf"),
    sjis("/dl/ゝゞヽヾ.txt"), sjis("/dl/々〆.txt"),
    b"/dl/a-b.zip", b"/dl/ab.zip", b"/dl/a_b.zip", b"/dl/a%20b.zip",
    b"/dl/file10.zip", b"/dl/file9.zip", b"/dl/file09.zip",
    b"/img/photo.jpg", b"/img/logo.gif", b"/movie/clip.mpg", b"/snd/song.mp3",
    b"/setup.exe", b"/index.html", b"/style.css", b"/cgi-bin/count.cgi", b"/readme.txt",
    b"/", b"/dl/", b"/dl/noext",
    b"/dl/\x81", b"/dl/\x80\xa0\xfd.bin",                                 # bytes that form no character
    b"/javascript:alert(1)//.zip", b"///evil.example/a.zip", b"/\\evil.example/b.zip",
    sjis("/dl/<b>&\"'.zip"),
] + [b"/dl/pkg%03d.lzh" % i for i in range(60)] + [sjis("/ソフト/版%02d.lzh" % i) for i in range(40)]

METHODS = [b"GET"] * 12 + [b"HEAD", b"POST"]
PROTOCOLS = [b"HTTP/1.1"] * 6 + [b"HTTP/1.0", b"HTTP/2.0"]
MONTHS = [b"Jan", b"Feb", b"Mar", b"Apr", b"May", b"Jun", b"Jul", b"Aug", b"Sep", b"Oct", b"Nov", b"Dec"]


def line(i, path, when=None):
    day, hour, minute, second = 1 + i % 28, i // 3600 % 24, i // 60 % 60, i % 60
    stamp = b"[%02d/%s/2026:%02d:%02d:%02d +0900]" % (day, rng.choice(MONTHS), hour, minute, second)
    if when:
        stamp = b"[%02d/%s/%d:%02d:%02d:%02d +0900]" % (when.day, MONTHS[when.month - 1], when.year, when.hour,
                                                      when.minute, when.second)
    request = b"%s %s %s" % (rng.choice(METHODS), path, rng.choice(PROTOCOLS))
    return b'192.0.2.%d - - %s "%s" 200 %d "-" "Wget/1.21"' % (rng.randrange(256), stamp, request, rng.randrange(99999))


def log(name, lines, ending=b"\r\n", ordered=False):
    # Zipf-like weights give a few popular paths and many ties among the rest.
    weights = [1.0 / (1 + rng.randrange(40)) for _ in PATHS]
    start, step = datetime.datetime(2025, 1, 1), datetime.timedelta(days=365) / lines
    body = [line(i, rng.choices(PATHS, weights)[0], start + i * step if ordered else None) for i in range(lines)]
    (folder / name).write_bytes(ending.join(body) + ending)


folder.mkdir(parents=True, exist_ok=True)
log("small.log", 400)
log("ties.log", 120, b"\n")
log("big.log", 14000)
log("year.log", 3000, ordered=True)
assert (folder / "big.log").stat().st_size > 1 << 20
(folder / "empty.ini").write_bytes(b"")
words = [sjis("除外"), b"pkg01", sjis("版0")]
(folder / "busy.ini").write_bytes(b"\r\n".join([
    b"[ExtentionFilter]", b"CDouga=1", b"COnsei=0", b"CSyoko=0", b"CJpeg=1", b"CGazou=1", b"CText=0",
    b"CExe=1", b"CHtml=0", b"CCss=1", b"CCgi=1",
    b"[Ranking]", b"TopCount=%d" % rng.choice([7, 30, 150]),
    b"[HTML]", b"CBG=#FFFFEE", b"CLink=blue", b"FontSize=%d" % rng.choice([80, 100, 120]),
    b"NameMax=%d" % rng.choice([3, 8, 40]), b"Link=1", b"Prefix=" + rng.choice([b"", b"./", b"/", b"../dl/"]),
    b"[KinsiWord]"] + [w + b"=OK" for w in words]) + b"\r\n")

# Today's servers: the counting rules' log and settings.
TODAY_PATHS = [
    b"/dl/%E6%97%A5%E6%9C%AC.zip", b"/dl/%e6%97%a5%e6%9c%ac.zip", sjis("/dl/日本.zip"), b"/dl/%93%FA%96%7B.zip",
    b"/dl/%E8%A1%A8.lzh?from=top", b"/dl/tool.lzh?ref=1", b"/dl/tool.lzh", b"/dl/%41%2Ezip", b"/dl/x%00y.zip",
    b"/dl/%ED%A0%80.zip", b"/dl/%C0%AF.zip", b"/dl/%G1%.zip", b"/dl/%F0%9F%98%80.zip", b"/dl/%E2%80%94.zip",
]
AGENTS = [b"Mozilla/5.0 (Windows NT 10.0; Win64; x64) Chrome/120.0", b"Wget/1.21.3", b"curl/8.5.0",
          b"Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)", b"GoogleBot lookalike/1.0",
          b"Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; GPTBot/1.2; +https://openai.com/gptbot)",
          b"Mozilla/5.0 (compatible; bingbot/2.0)", b"Mozilla/5.0 (X11; Linux x86_64) Firefox/128.0"]
today = []
for i in range(3000):
    day = 10 + i * 2 // 3000  # two days
    stamp = b"[%02d/Oct/2026:%02d:%02d:%02d +0900]" % (day, i // 3600 % 24, i // 60 % 60, i % 60)
    version = rng.choice([b"HTTP/1.1", b"HTTP/1.0", b"HTTP/2.0", b"HTTP/2", b"HTTP/3", b"HTTP/2.0.1"])
    status = rng.choice([b"200", b"200", b"206", b"206", b"304", b"404"])
    request = b"%s %s %s" % (rng.choice([b"GET"] * 8 + [b"HEAD"]), rng.choice(TODAY_PATHS), version)
    today.append(b'198.51.100.%d - - %s "%s" %s %d "-" "%s"' % (rng.randrange(6), stamp, request, status,
                                                                 rng.randrange(99999), rng.choice(AGENTS)))
(folder / "today.log").write_bytes(b"\r\n".join(today) + b"\r\n")
(folder / "rules.ini").write_bytes((folder / "busy.ini").read_bytes().replace(b"CDouga=1", b"CDouga=0") + b"\r\n".join([
    b"[Count]", b"AnyHttp=1", b"Status=200,206", b"OncePerClient=1", b"Bots=1", b"Decode=1"]) + b"\r\n")
