#!/usr/bin/env python3
"""The schedule form's HTML snapshot as a browser draws it.

Runs qxhost on the sample plant (work order 5006 on lines L-01 and L-02, L-01 overloaded on
some December days), writes `snapshot --html` twice (then with "CalcRemainAbility" on, the host
date a few days into the period), opens the pages in headless Chromium (the DOM read back, the
layout measured by a script added to a copy of the page, screenshots) and checks:
- the ledger: both header lines, overloaded dates marked exactly where load exceeds capacity;
- the heat map: its figures for the ledger's line are the ledger's own, its cells classed by
  utilisation (one over, one free, one not worked; past days under the option), and those
  cells painted in the legend's colours in the screenshot;
- the chart: the part of a bar above capacity in the overload colour, in the DOM and on screen;
- the layout: no sideways page scroll at 800 px, the ledger's first row in the first screen at
  1600 x 1200;
- text from the host shown as text, no script of it run.

Usage: snapshot_chromium.py QXHOST WORK_DIR
"""
import datetime
import html.parser
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import zlib

LOAD_COLOUR = (0xF0, 0x8C, 0x1E)
OVER_COLOUR = (0xD6, 0x27, 0x28)
HATCH_COLOUR = (0xB4, 0xB4, 0xB4)
FREE, BUSY, FULL, OVER, OFF, PAST = range(6)
CLASS_NAMES = ["free", "busy", "full", "over", "off", "past"]
DIGITS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
HOST_DATE = "2026-12-09"
HOSTILE_TEXT = '<script>document.title="broken"</script>&amp;'
CHROMIUM_TIMEOUT = 120

QUOTED = HOSTILE_TEXT.replace('"', '\\"')
SCRIPT = """register
login language EN
schedule showability on
schedule open 5006
schedule type 2 ColBatchNo "{quoted}"
schedule select 1 ColQty
snapshot --html {file}
expect "wrote {file}"
dialog options ok CalcRemainAbility=1
schedule click abilityOption
snapshot --html {past}
expect "wrote {past}"
"""

MEASURE = """<script>(function () {
  function box(e) {
    if (!e) return null;
    var b = e.getBoundingClientRect();
    return [b.left + scrollX, b.top + scrollY, b.width, b.height];
  }
  var map = document.getElementById('heat-map'), rows = document.getElementById('heat-rows');
  var m = {scrollWidth: document.documentElement.scrollWidth, width: innerWidth,
           height: innerHeight, heat: box(map), heatView: map ? map.dataset.view : null,
           heatLabel: map ? +map.dataset.labelWidth : 0, heatRow: map ? +map.dataset.rowHeight : 0,
           heatScroll: rows ? rows.scrollTop : 0, chart: box(document.getElementById('chart')),
           chartSection: box(document.getElementById('chart-section')),
           ledgerRow: box(document.querySelector('#ledger tbody tr'))};
  var p = document.createElement('pre');
  p.id = 'measured'; p.textContent = JSON.stringify(m); document.body.appendChild(p);
})();</script>"""

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


def read_png(path, max_rows=None):
    """(width, height, rows of (r, g, b)) of an 8-bit RGB or RGBA, non-interlaced PNG; only the
    first `max_rows` rows are decoded when given."""
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
    for y in range(min(height, max_rows or height)):
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


def check_ledger(doc, past_before=""):
    """The ledger table read back; returns {date: (capacity, load)} of its line. Dates before
    `past_before` are past: marked so, not overloaded."""
    tables = doc.find("table", "ledger")
    if not check(len(tables) == 1, "one ledger table"):
        return {}
    table = tables[0]
    header1, header2 = table.find("tr", "header1"), table.find("tr", "header2")
    check(len(header1) == 1 and len(header2) == 1, "the ledger's two header lines")
    if not header1 or not header2:
        return {}
    top = [(th.all_text().strip(), th.attrs) for th in header1[0].find("th")]
    check(any(t == "Production line" and a.get("colspan") == "4" for t, a in top),
          f"'Production line' spans the four line columns: {top[:3]}")
    check(all("fix" in a.get("class", "").split() for t, a in top[:2]),
          "the line columns stay in place while the dates scroll")
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
        past = date < past_before
        check(marked == (load > capacity and not past),
              f"{date}: marked overloaded {marked}, load {load}, capacity {capacity}")
        check(("past" in attrs.get("class", "").split()) == past, f"{date}: marked past {past}")
        if marked:
            check("Overloaded" in attrs.get("title", ""), f"{date}: the mark says why")
    over = [d for d, (c, l) in figures.items() if l > c]
    check(over and "2026-12-07" in over, f"the overloaded December days are there: {over}")
    check(len(over) < len(figures), "not every day is overloaded")
    return figures


def expected_class(capacity, load):
    """The utilisation the page should show, from the ledger's own figures."""
    c, l = round(capacity * 100), round(load * 100)
    if l > c:
        return OVER
    if c <= 0:
        return OFF
    return FULL if l * 10 >= c * 9 else BUSY if l * 2 >= c else FREE


def heat_cells(doc):
    """The heat map's data from the DOM: (data, {line code: {date: (capacity, load, class)}})."""
    data = [n for n in doc.find("script") if n.attrs.get("id") == "heat-data"]
    if not check(len(data) == 1 and data[0].attrs.get("type") == "application/json",
                 "the heat map's data is in the page, not run"):
        return {}, {}
    d = json.loads(data[0].all_text())
    first = datetime.date.fromisoformat(d["first"])
    view, cells = d["days"], {}
    w = view["w"]
    for line, row in zip(d["lines"], view["rows"]):
        check(len(row) == d["count"] * w, f"{line[0]}: one cell per date")
        by_date = {}
        for k in range(d["count"]):
            index = 0
            for ch in row[k * w:(k + 1) * w]:
                index = index * 64 + DIGITS.index(ch)
            c, l, u, _ = view["pal"][index]
            by_date[(first + datetime.timedelta(days=k)).isoformat()] = (c / 100, l / 100, u)
        cells[line[0]] = by_date
    return d, cells


def check_heat(doc, figures, past):
    """The heat map's cells of the ledger's line against the ledger's figures; returns the
    dates picked for the pixel checks, by class."""
    d, cells = heat_cells(doc)
    if not check("L-01" in cells and "L-02" in cells, f"the heat map has both lines: {list(cells)}"):
        return d, {}
    check(0 <= d["sel"] < len(d["lines"]) and d["lines"][d["sel"]][0] == "L-01",
          "the selected row's line is the one marked")
    legend = {k.attrs.get("data-class"): k.attrs.get("data-colour")
              for k in doc.find("span", "key") if k.attrs.get("data-class")}
    check(set(legend) >= {"free", "over", "off"}, f"the heat map's legend: {legend}")
    check(("past" in legend) == past, "the legend shows past days only under the option")
    picked = {}
    for date, (capacity, load) in figures.items():
        got = cells["L-01"].get(date)
        if not check(got is not None, f"{date}: a heat map cell"):
            continue
        check(abs(got[0] - capacity) < 0.006 and abs(got[1] - load) < 0.006,
              f"{date}: the heat map has the ledger's figures {capacity}/{load}, not {got[:2]}")
        want = PAST if past and date < HOST_DATE else expected_class(capacity, load)
        check(got[2] == want, f"{date}: utilisation class {got[2]}, expected {want}")
        picked.setdefault(want, date)
    needed = [PAST] if past else [OVER, FREE, OFF]
    for u in needed:
        check(u in picked, f"a date whose cell is {CLASS_NAMES[u]}: {picked}")
    return d, {u: (picked[u], legend.get(CLASS_NAMES[u])) for u in needed if u in picked}


def check_chart(doc, figures):
    """The chart read back: overloaded dates, and only they, have a part above capacity."""
    svgs = [n for n in doc.find("svg") if n.attrs.get("id") == "chart"]
    if not check(len(svgs) == 1, "one chart"):
        return None
    svg = svgs[0]
    check("L-01" in "".join(t.all_text() for t in doc.find("h2", "chart-title")),
          "the chart's title names the line")
    keys = [k.all_text().strip() for k in doc.find("span", "key")
            if "capacity" in k.classes() or "load" in k.classes() or "over" in k.classes()]
    check(keys[:3] == ["Capacity", "Load", "Overloaded"], f"the chart's legend: {keys}")
    days = {g.attrs.get("data-date"): g for g in svg.find("g", "day")}
    check(set(days) == set(figures), "one hover group per date")
    for date, (capacity, load) in figures.items():
        g = days.get(date)
        if g is None:
            continue
        tip = g.find("title")[0].all_text() if g.find("title") else ""
        check(f"{capacity:.2f}" in tip and f"{load:.2f}" in tip, f"{date}: the hover title {tip}")
        check(bool(g.find("rect", "over")) == (load > capacity), f"{date}: the part over capacity")
        if load > 0 and capacity > 0:
            check(bool(g.find("rect", "load")), f"{date}: a load bar")
    check(len(doc.find("line", "today")) == 1, "the host's date is marked")
    check(bool(svg.find("rect", "range")), "the selected row's dates are shaded")
    view = [float(v) for v in svg.attrs.get("viewbox", svg.attrs.get("viewBox", "")).split()]
    return days, view


def measure(page, work, name, width, height):
    """The page's layout at a window size, measured by a script in a copy of the page."""
    with open(page, encoding="utf-8") as f:
        text = f.read()
    copy = os.path.join(work, f"measure-{name}.html")
    with open(copy, "w", encoding="utf-8") as f:
        f.write(text.replace("</body>", MEASURE + "</body>"))
    dom = chromium([f"--window-size={width},{height}", "--dump-dom", "file://" + copy], work,
                   "measure-" + name)
    tree = Tree()
    tree.feed(dom)
    pre = [n for n in tree.root.find("pre") if n.attrs.get("id") == "measured"]
    if not check(len(pre) == 1, f"{name}: the layout was measured"):
        return {}
    return json.loads(pre[0].all_text())


def screenshot(page, work, name, width, height):
    png = os.path.join(work, f"{name}.png")
    chromium([f"--window-size={width},{height}", "--screenshot=" + png, "file://" + page], work,
             name)
    if not os.path.isfile(png) or os.path.getsize(png) == 0:
        sys.exit(f"chromium wrote no screenshot {png}")
    return png


def heat_cell_box(m, d, date):
    """(left, top, right, bottom) of the selected line's cell of a date, on the page."""
    left, top, width, _ = m["heat"]
    label, rh, n = m["heatLabel"], m["heatRow"], d["count"]
    k = (datetime.date.fromisoformat(date) - datetime.date.fromisoformat(d["first"])).days
    x0 = label + (k * (int(width) - label)) // n
    x1 = label + ((k + 1) * (int(width) - label)) // n
    y0 = d["sel"] * rh - m["heatScroll"]
    return left + x0, top + y0, left + x1, top + y0 + rh - 1


def check_heat_pixels(pixels, m, d, picked):
    for u, (date, colour) in picked.items():
        x0, y0, x1, y1 = (int(round(v)) for v in heat_cell_box(m, d, date))
        inside = [pixels[y][x] for y in range(y0 + 3, y1 - 2) for x in range(x0 + 1, x1 - 1)
                  if 0 <= y < len(pixels) and 0 <= x < len(pixels[y])]
        if not check(inside, f"{date}: the cell is on the screenshot"):
            continue
        rgb = tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5)) if colour else (-99, -99, -99)
        if u == PAST:
            check(any(near(p, HATCH_COLOUR, 20) for p in inside)
                  and any(near(p, rgb, 6) for p in inside)
                  and not any(near(p, OVER_COLOUR, 40) for p in inside),
                  f"{date}: the past cell is hatched, not red: {sorted(set(inside))[:6]}")
        else:
            centre = pixels[(y0 + y1) // 2][(x0 + x1) // 2]
            check(near(centre, rgb, 10), f"{date}: the {CLASS_NAMES[u]} cell is {colour}, not {centre}")


def check_chart_pixels(pixels, m, days, view, figures):
    over = sorted((d for d, (c, l) in figures.items() if l > c > 0),
                  key=lambda d: figures[d][0] - figures[d][1])
    if not check(over and m.get("chart") and len(view) == 4, "an overloaded date in the chart"):
        return
    left, top, width, height = m["chart"]
    dates = sorted(figures)

    def at(date, units):
        i = dates.index(date)
        x = left + (i + 0.5) / len(dates) * width
        y = top + (units - view[1]) / view[3] * height
        return pixels[int(y)][int(x)]

    g = days[over[0]]
    above, within = g.find("rect", "over")[0], g.find("rect", "load")[0]
    y_above = float(above.attrs["y"]) + float(above.attrs["height"]) / 2
    y_within = float(within.attrs["y"]) + float(within.attrs["height"]) / 2
    got = at(over[0], y_above)
    check(near(got, OVER_COLOUR), f"{over[0]}: the load above capacity is red on screen, not {got}")
    got = at(over[0], y_within)
    check(near(got, LOAD_COLOUR), f"{over[0]}: the load within capacity is orange, not {got}")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: snapshot_chromium.py QXHOST WORK_DIR")
    qxhost, work = sys.argv[1], os.path.abspath(sys.argv[2])
    if shutil.which("chromium") is None:
        sys.exit("chromium is not installed: scripts/setup-debian installs it")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    page, past = os.path.join(work, "schedule.html"), os.path.join(work, "schedule-past.html")
    env = dict(os.environ, QX_HOST_DATE=HOST_DATE)
    env.pop("QX_DATABASE", None)
    run = subprocess.run([qxhost, "--home", os.path.join(work, "home"), "-"],
                         input=SCRIPT.format(file=page, past=past, quoted=QUOTED).encode(),
                         env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    if run.returncode != 0 or not os.path.isfile(page) or not os.path.isfile(past):
        sys.exit("qxhost failed to write the snapshots:\n" + run.stdout.decode(errors="replace"))

    dom = chromium(["--dump-dom", "file://" + page], work, "dom")
    if not dom.strip():
        sys.exit("chromium printed no DOM")
    tree = Tree()
    tree.feed(dom)
    doc = tree.root
    check(doc.find("title") and "broken" not in doc.find("title")[0].all_text(),
          "no script of the host's texts ran")
    scripts = doc.find("script")
    check(len(scripts) == 3 and not any(HOSTILE_TEXT in s.all_text() for s in scripts),
          "the page's own scripts only, none made of the host's text")
    cells = [td.all_text() for td in doc.find("table", "grid")[0].find("td")] \
        if doc.find("table", "grid") else []
    check(HOSTILE_TEXT in cells, "the host's text shows as text in the grid")
    check(any(d.attrs.get("id") == "splitter" for d in doc.find("div")), "the splitter bar")
    captions = [dt.all_text() for dt in doc.find("dt")]
    check("Work order" in captions and "txtNo" not in captions,
          f"the header fields have captions: {captions}")
    figures = check_ledger(doc)
    data, picked = check_heat(doc, figures, past=False)
    chart = check_chart(doc, figures)

    wide = measure(page, work, "1600", 1600, 1200)
    narrow = measure(page, work, "800", 800, 1000)
    if wide:
        row = wide.get("ledgerRow") or [0, 1e9, 0, 0]
        check(row[1] >= 0 and row[1] + row[3] <= 1200,
              f"the ledger's first row is in the first screen at 1600 x 1200: {row}")
        check(wide.get("heatView") == "days", "47 dates show as days")
    if narrow:
        check(narrow.get("scrollWidth", 1e9) <= 800,
              f"no sideways page scroll at 800 px: {narrow.get('scrollWidth')}")
        section = narrow.get("chartSection") or [0, 0, 1e9, 0]
        check(section[0] >= 0 and section[0] + section[2] <= 800,
              f"the chart fits an 800 px window: {section}")

    png = screenshot(page, work, "schedule-1600x1200", 1600, 1200)
    screenshot(page, work, "schedule-800x1000", 800, 1000)
    if wide and data and picked:
        deepest = max(heat_cell_box(wide, data, date)[3] for date, _ in picked.values())
        deepest = max(deepest, (wide.get("chart") or [0, 0, 0, 0])[1] + 220)
        _, _, pixels = read_png(png, int(deepest) + 2)
        check_heat_pixels(pixels, wide, data, picked)
        if chart:
            check_chart_pixels(pixels, wide, chart[0], chart[1], figures)

    # Under "CalcRemainAbility" the days before the host's date are past, hatched, not red.
    tree = Tree()
    tree.feed(chromium(["--dump-dom", "file://" + past], work, "dom-past"))
    past_figures = check_ledger(tree.root, HOST_DATE)
    groups = {g.attrs.get("data-date"): g for g in tree.root.find("g", "day")}
    for date in ("2026-12-07", HOST_DATE):
        g = groups.get(date)
        if check(g is not None, f"{date}: in the chart under the option"):
            gone = date < HOST_DATE
            check(bool(g.find("rect", "past-load")) == gone and bool(g.find("rect", "over")) != gone,
                  f"{date}: the chart shows the past load grey, a later overload red")
    past_data, past_picked = check_heat(tree.root, past_figures, past=True)
    past_wide = measure(past, work, "past-1600", 1600, 1200)
    png = screenshot(past, work, "schedule-past-1600x1200", 1600, 1200)
    if past_wide and past_data and past_picked:
        deepest = max(heat_cell_box(past_wide, past_data, d)[3] for d, _ in past_picked.values())
        _, _, pixels = read_png(png, int(deepest) + 2)
        check_heat_pixels(pixels, past_wide, past_data, past_picked)

    if failures:
        print("FAILED:\n  " + "\n  ".join(failures))
        return 1
    print("the snapshot's heat map, chart and ledger are drawn")
    return 0


if __name__ == "__main__":
    sys.exit(main())
