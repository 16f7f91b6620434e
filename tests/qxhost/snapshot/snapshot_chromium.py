#!/usr/bin/env python3
"""The schedule form's HTML snapshot as a browser draws it.

Runs qxhost on the sample plant (work order 5006 on line L-01, overloaded on some December
days), writes `snapshot --html`, opens the page in headless Chromium twice (the DOM read back,
and a screenshot) and checks that the ledger and the chart are there and drawn: the ledger's two
header lines and merged captions, the overloaded dates marked exactly where the load exceeds
the capacity, a pair of bars per date whose heights follow the ledger's figures, the legend,
text from the host shown as text, and the bars' colours at their places in the screenshot.

Usage: snapshot_chromium.py QXHOST WORK_DIR
"""
import html.parser
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import zlib

CAPACITY_COLOUR = (0x2F, 0x6F, 0xB3)
LOAD_COLOUR = (0xF0, 0x8C, 0x1E)
OVER_COLOUR = (0xD6, 0x27, 0x28)
HOSTILE_TEXT = '<script>document.title="broken"</script>&amp;'
CHROMIUM_TIMEOUT = 120

QUOTED = HOSTILE_TEXT.replace('"', '\\"')
SCRIPT = """register
login language EN
schedule showability on
schedule open 5006
schedule type 3 ColBatchNo "{quoted}"
schedule select 2 ColQty
snapshot --html {file}
expect "wrote {file}"
"""

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


class Node:
    def __init__(self, tag, attrs, parent):
        self.tag, self.attrs, self.parent = tag, dict(attrs), parent
        self.children, self.text = [], ""

    def classes(self):
        return self.attrs.get("class", "").split()

    def walk(self):
        yield self
        for c in self.children:
            yield from c.walk()

    def find(self, tag, cls=None):
        return [n for n in self.walk()
                if n.tag == tag and (cls is None or cls in n.classes())]

    def all_text(self):
        return self.text + "".join(c.all_text() for c in self.children)


class Tree(html.parser.HTMLParser):
    VOID = {"meta", "br", "img", "input", "link", "hr", "col"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.root = Node("#document", [], None)
        self.at = self.root

    def handle_starttag(self, tag, attrs):
        node = Node(tag, attrs, self.at)
        self.at.children.append(node)
        if tag not in self.VOID:
            self.at = node

    def handle_startendtag(self, tag, attrs):
        self.at.children.append(Node(tag, attrs, self.at))

    def handle_endtag(self, tag):
        n = self.at
        while n is not None and n.tag != tag:
            n = n.parent
        if n is not None and n.parent is not None:
            self.at = n.parent

    def handle_data(self, data):
        self.at.text += data


def figure(text):
    text = text.replace(",", "").strip()
    return float(text) if text else 0.0


def read_png(path):
    """(width, height, rows of (r, g, b)) of an 8-bit RGB or RGBA, non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    at, chunks, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks.append(body)
        at += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace:
        raise ValueError(f"unexpected PNG format {depth}/{colour_type}/{interlace}")
    bpp = 4 if colour_type == 6 else 3
    raw = zlib.decompress(b"".join(chunks))
    stride = width * bpp
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = previous[i]
            c = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else b if pb <= pc else c
                line[i] = (line[i] + pred) & 0xFF
        rows.append(line)
        previous = line
    return width, height, [[tuple(r[x * bpp:x * bpp + 3]) for x in range(width)] for r in rows]


def near(colour, expected, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def chromium(args, work, name):
    """Runs headless Chromium on a fresh profile; its own noise on standard error is ignored."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "LD_PRELOAD")}
    profile = os.path.join(work, "profile-" + name)
    shutil.rmtree(profile, ignore_errors=True)
    command = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
               "--no-first-run", "--disable-background-networking", "--disable-component-update",
               "--disable-sync", "--disable-dev-shm-usage", "--hide-scrollbars",
               "--force-device-scale-factor=1", "--user-data-dir=" + profile] + args
    started = time.monotonic()
    done = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=CHROMIUM_TIMEOUT)
    print(f"chromium {name}: exit {done.returncode} in {time.monotonic() - started:.1f} s")
    if done.returncode != 0:
        sys.exit(f"chromium {name} failed with exit status {done.returncode}:\n"
                 + done.stderr.decode(errors="replace")[-2000:])
    return done.stdout.decode("utf-8", errors="replace")


def check_ledger(doc):
    """The ledger table read back; returns {date: (capacity, load)} of its line."""
    tables = doc.find("table", "ledger")
    if not check(len(tables) == 1, "one ledger table"):
        return {}
    table = tables[0]
    header1, header2 = table.find("tr", "header1"), table.find("tr", "header2")
    check(len(header1) == 1 and len(header2) == 1, "the ledger's two header lines")
    if not header1 or not header2:
        return {}
    top = [(th.all_text().strip(), th.attrs) for th in header1[0].find("th")]
    check(("Production line", {"colspan": "4"}) in top,
          f"'Production line' spans the four line columns: {top[:3]}")
    check(any(t == "Capacity/Load" and a.get("rowspan") == "2" for t, a in top),
          "'Capacity/Load' stands for both header lines")
    second = [th.all_text().strip() for th in header2[0].find("th")]
    check(second == ["Code", "Name", "Work centre", "Productivity"],
          f"header line 2 holds the line columns' captions: {second}")
    dates = [(t, a) for t, a in top if re.fullmatch(r"\d{4}-\d\d-\d\d", t)]
    check(len(dates) > 7, f"the ledger has its dates: {len(dates)}")

    rows = [[td.all_text().strip() for td in tr.find("td")]
            for tr in table.find("tbody")[0].find("tr")] if table.find("tbody") else []
    check(len(rows) == 6, f"the line's six measure rows: {len(rows)}")
    if len(rows) < 2:
        return {}
    check(rows[0][0] == "L-01", f"the ledger shows line L-01: {rows[0][:2]}")
    check(all(r[:4] == ["", "", "", ""] for r in rows[1:]),
          "the line columns are blank on the line's further rows")
    check(all("continued" in tr.classes() for tr in table.find("tbody")[0].find("tr")[1:]),
          "the further rows are marked as continued")
    check(all(tr.attrs.get("style", "").startswith("background:#")
              for tr in table.find("tbody")[0].find("tr")), "every row has its colour")
    first = len(rows[0]) - len(dates)
    figures = {}
    for k, (date, attrs) in enumerate(dates):
        capacity, load = figure(rows[0][first + k]), figure(rows[1][first + k])
        figures[date] = (capacity, load)
        marked = "over" in attrs.get("class", "").split()
        check(marked == (load > capacity),
              f"{date}: marked overloaded {marked}, load {load}, capacity {capacity}")
        if marked:
            check("Overloaded" in attrs.get("title", ""), f"{date}: the mark says why")
    over = [d for d, (c, l) in figures.items() if l > c]
    check(over and "2026-12-07" in over, f"the overloaded December days are there: {over}")
    check(len(over) < len(figures), "not every day is overloaded")
    return figures


def check_chart(doc, figures):
    """The chart read back; returns the bars by date and the chart's place on the page."""
    svgs = doc.find("svg")
    if not check(len(svgs) == 1 and svgs[0].attrs.get("id") == "chart", "one chart"):
        return {}, (0, 0)
    svg = svgs[0]
    place = re.search(r"left:\s*(\d+)px;\s*top:\s*(\d+)px", svg.attrs.get("style", ""))
    check(place is not None, "the chart stands at a fixed place")
    legend = [g.all_text().strip() for g in svg.find("g", "legend")]
    check(legend == ["Capacity", "Load", "Overloaded"], f"the legend: {legend}")
    title = svg.find("text", "title")
    check(title and "L-01" in title[0].all_text(), "the chart's title names the line")
    axis_titles = [t.all_text() for t in svg.find("text", "axis-title")]
    check(axis_titles == ["Hours", "Date"], f"the axes' titles: {axis_titles}")
    check(len(svg.find("text", "date")) >= 3, "dates label the axis")
    bars = {}
    for kind, colour in (("capacity", CAPACITY_COLOUR), ("load", LOAD_COLOUR)):
        rects = svg.find("rect", kind)
        check(len(rects) == len(figures), f"one {kind} bar per date: {len(rects)}")
        fills = {r.attrs.get("fill", "").lower() for r in rects}
        check(fills == {"#%02x%02x%02x" % colour}, f"{kind} bars are filled {colour}: {fills}")
        for r in rects:
            box = tuple(int(r.attrs[k]) for k in ("x", "y", "width", "height"))
            bars.setdefault(r.attrs.get("data-date"), {})[kind] = box
    for date, (capacity, load) in figures.items():
        bar = bars.get(date, {})
        if not check("capacity" in bar and "load" in bar, f"{date}: both bars"):
            continue
        check((bar["capacity"][3] > 0) == (capacity > 0), f"{date}: capacity bar height")
        check((bar["load"][3] > 0) == (load > 0), f"{date}: load bar height")
        if load > capacity:
            check(bar["load"][3] > bar["capacity"][3], f"{date}: the load bar stands higher")
    for r in svg.find("rect", "over"):
        box = tuple(int(r.attrs[k]) for k in ("x", "y", "width", "height"))
        bars.setdefault(r.attrs.get("data-date"), {})["over"] = box
    marks = sorted(r.attrs.get("data-date") for r in svg.find("rect", "over"))
    check(marks == sorted(d for d, (c, l) in figures.items() if l > c),
          "the chart marks the overloaded dates")
    return bars, (int(place.group(1)), int(place.group(2))) if place else (0, 0)


def check_pixels(png, bars, place):
    width, height, pixels = read_png(png)
    left, top = place

    def at(x, y):
        x, y = left + x, top + y
        if not check(0 <= x < width and 0 <= y < height, f"({x}, {y}) is on the screenshot"):
            return (-1, -1, -1)
        return pixels[y][x]

    overloaded = [b for b in bars.values()
                  if "load" in b and b["load"][3] > b["capacity"][3] > 4]
    if not check(overloaded, "an overloaded date with both bars drawn"):
        return
    b = overloaded[0]
    for kind, colour in (("capacity", CAPACITY_COLOUR), ("load", LOAD_COLOUR)):
        x, y, w, h = b[kind]
        got = at(x + w // 2, y + h // 2)
        check(near(got, colour), f"a {kind} bar pixel is {colour}, not {got}")
    if check("over" in b, "the overloaded date is marked under the axis"):
        x, y, w, h = b["over"]
        got = at(x + w // 2, y + h // 2)
        check(near(got, OVER_COLOUR), f"the overload mark is {OVER_COLOUR}, not {got}")
    # Above the load bar, inside the plot: the background, neither bar's colour.
    x, y, w, h = b["load"]
    got = at(x + w // 2, y - 6)
    check(not near(got, CAPACITY_COLOUR, 40) and not near(got, LOAD_COLOUR, 40)
          and min(got) > 180, f"the plot's background above a bar is light, not {got}")
    # A date without capacity nor load leaves its place empty.
    empty = [v for v in bars.values()
             if "load" in v and v["capacity"][3] == 0 and v["load"][3] == 0]
    if check(empty, "a date without capacity or load"):
        x, y, w, h = empty[0]["capacity"]
        got = at(x + w // 2, y - 20)
        check(not near(got, CAPACITY_COLOUR, 40) and not near(got, LOAD_COLOUR, 40),
              f"an empty date shows no bar: {got}")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: snapshot_chromium.py QXHOST WORK_DIR")
    qxhost, work = sys.argv[1], os.path.abspath(sys.argv[2])
    if shutil.which("chromium") is None:
        sys.exit("chromium is not installed: scripts/setup-debian installs it")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    page, png = os.path.join(work, "schedule.html"), os.path.join(work, "schedule.png")
    env = dict(os.environ, QX_HOST_DATE="2026-12-01")
    env.pop("QX_DATABASE", None)
    run = subprocess.run([qxhost, "--home", os.path.join(work, "home"), "-"],
                         input=SCRIPT.format(file=page, quoted=QUOTED).encode(), env=env,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    if run.returncode != 0 or not os.path.isfile(page):
        sys.exit("qxhost failed to write the snapshot:\n" + run.stdout.decode(errors="replace"))
    url = "file://" + page

    dom = chromium(["--dump-dom", url], work, "dom")
    if not dom.strip():
        sys.exit("chromium printed no DOM")
    tree = Tree()
    tree.feed(dom)
    doc = tree.root
    check(doc.find("title") and "broken" not in doc.find("title")[0].all_text(),
          "no script of the host's texts ran")
    check(not doc.find("script"), "the host's text made no script element")
    cells = [td.all_text() for td in doc.find("table", "grid")[0].find("td")] \
        if doc.find("table", "grid") else []
    check(HOSTILE_TEXT in cells, "the host's text shows as text in the grid")
    check(len(doc.find("div")) and doc.find("div", "control"), "the form's controls")
    check(any(d.attrs.get("id") == "splitter" for d in doc.find("div")), "the splitter bar")
    figures = check_ledger(doc)
    bars, place = check_chart(doc, figures)

    chart_width = max((b["load"][0] + b["load"][2] for b in bars.values() if "load" in b),
                      default=0)
    chromium([f"--window-size={max(1280, place[0] + chart_width + 64)},900",
              "--screenshot=" + png, url], work, "screenshot")
    if not os.path.isfile(png) or os.path.getsize(png) == 0:
        sys.exit("chromium wrote no screenshot")
    if bars:
        check_pixels(png, bars, place)

    if failures:
        print("FAILED:\n  " + "\n  ".join(failures))
        return 1
    print("the snapshot's ledger and chart are drawn")
    return 0


if __name__ == "__main__":
    sys.exit(main())
