#!/usr/bin/env python3
"""Writes the shipped paper catalogue from the gLabels template database.

    python3 scripts/make_paper_catalogue.py [template folder] [data folder]

Defaults: /usr/share/libglabels-3.0/templates (Debian's glabels-data) and
data/. Writes <data>/paper.cfg and <data>/<maker>/<model>.bv2 for every
sheet product, replacing the catalogue that was there (user papers in
category 14 are kept). Run it again when the database changes and commit
the result; builds never run it.

Left out are roll labels (Brother DK, Dymo: the database gives a roll the
size of its label for a sheet), cards that hold a clipped disc, and the few
products whose labels the database lays beyond the sheet or over each
other. <data>/COPYING-templates.txt is the database's licence notice as the
gLabels sources give it (COPYING-TEMPLATES; Debian does not install it).
"""

import glob
import math
import os
import re
import shutil
import sys
import xml.etree.ElementTree as ET
from collections import Counter, namedtuple

MAX_MAKERS = 14  # the chooser adds category 14 for user papers
OTHERS = "その他"
USER_CATEGORY = "14"
# Makers whose own name Japanese users write in katakana.
JAPANESE_NAMES = {"Hisago": "ヒサゴ"}
# Japanese makers' B sizes are the JIS ones, larger than the ISO sizes the
# database names.
JIS_SIZES = {"B4": (257.0, 364.0), "B5": (182.0, 257.0)}
# The categories as shipped before: design files and the shipped templates
# keep a paper's category, so a maker keeps its number. Makers beyond these
# are named by their number of products while places are free.
SHIPPED_MAKERS = ("Hisago", "Avery", "Online Labels", "Rayfilm", "Herma", "Endisch", "Begalabel", "JAC",
                  "SheetLabels", "Geha", "Hama", "Ascom", "Igepa")
TOLERANCE = 0.01  # mm: cells that touch after rounding do not overlap
# The database rounds some pitches below the label size, or lets a label
# hang over the sheet's edge by a hair; such labels are trimmed by that
# much. Larger errors leave the product out.
MENDABLE_OVERLAP = 0.5
MENDABLE_OVERHANG = 1.5

Cell = namedtuple("Cell", "kind left top width height inner")
Product = namedtuple("Product", "brand part kind_text kind size_label width height cells")

UNITS = {"pt": 25.4 / 72, "in": 25.4, "mm": 1.0, "cm": 10.0, "pc": 25.4 / 6}


def to_mm(text):
    match = re.fullmatch(r"\s*([-+0-9.eE]+)\s*([a-z]*)\s*", text or "0")
    if not match:
        raise ValueError(f"length {text!r}")
    return float(match.group(1)) * UNITS[match.group(2) or "pt"]


def number(value):
    """Shortest decimal form, rounded to a thousandth of a millimetre."""
    text = f"{round(value, 3):.3f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def dimension(value):
    return f"{round(value, 1):.1f}".rstrip("0").rstrip(".")


def parse(path):
    """The file's elements with their namespace, if any, dropped."""
    root = ET.parse(path).getroot()
    for element in root.iter():
        element.tag = element.tag.rsplit("}", 1)[-1]
    return root


def read_paper_sizes(folder):
    sizes = {}
    for paper in parse(os.path.join(folder, "paper-sizes.xml")).iter("Paper-size"):
        sizes[paper.get("id")] = (to_mm(paper.get("width")), to_mm(paper.get("height")))
    return sizes


def sheet_kind(size_id, width, height):
    """Kind number, kind text for the catalogue and the sheet's name."""
    def near(w, h):
        return abs(width - w) < 0.6 and abs(height - h) < 0.6

    if size_id == "A4" or near(210, 297):
        return 0, "A4", "A4"
    if near(100, 148):
        return 1, "Hagaki", "ハガキ"
    if near(182, 257):
        return 2, "B5", "B5"
    if size_id == "US-Letter":
        return 3, "Letter", "Letter"
    if size_id not in (None, "Other"):
        return 3, size_id, size_id.replace("US-", "")
    label = f"{dimension(width)}×{dimension(height)}mm"
    return 3, "Other", label


def label_cells(label):
    """Every cell of one Label-* element, over all its layouts."""
    tag = label.tag
    inner = []
    if tag == "Label-rectangle":
        kind, width, height = "lxLineNomal", to_mm(label.get("width")), to_mm(label.get("height"))
    elif tag == "Label-round":
        kind = "lxLineCircle"
        width = height = 2 * to_mm(label.get("radius"))
    elif tag == "Label-ellipse":
        kind, width, height = "lxLineCircle", to_mm(label.get("width")), to_mm(label.get("height"))
    elif tag == "Label-cd":
        if label.get("width") or label.get("height"):
            return None  # a disc clipped to a card: not a cell we can draw
        kind = "lxLineCircle"
        width = height = 2 * to_mm(label.get("radius"))
        hole = to_mm(label.get("hole"))
        inner = [(width / 2 - hole, height / 2 - hole, 2 * hole, 2 * hole)]
    else:
        return None
    cells, layouts = [], set()
    for layout in label.iter("Layout"):
        # The database repeats some layouts line for line: one sheet, not two.
        key = tuple(sorted(layout.attrib.items()))
        if key in layouts:
            continue
        layouts.add(key)
        nx, ny = int(layout.get("nx", "1")), int(layout.get("ny", "1"))
        x0, y0 = to_mm(layout.get("x0")), to_mm(layout.get("y0"))
        dx, dy = to_mm(layout.get("dx")), to_mm(layout.get("dy"))
        cell_width = trimmed_to_pitch(width, dx, nx, kind)
        cell_height = trimmed_to_pitch(height, dy, ny, kind)
        for row in range(ny):
            for column in range(nx):
                left, top = x0 + column * dx, y0 + row * dy
                shapes = [("lxLineCircle", left + x, top + y, w, h) for x, y, w, h in inner]
                cells.append(Cell(kind, left, top, cell_width, cell_height, shapes))
    return cells


def trimmed_to_pitch(size, pitch, count, kind):
    if kind == "lxLineNomal" and count > 1 and 0 < size - pitch <= MENDABLE_OVERLAP:
        return pitch
    return size


def trimmed_to_sheet(cells, width, height):
    """Labels hanging over the sheet's edge by a hair, all made that much
    smaller so that they stay one size."""
    over_x = max(c.left + c.width for c in cells) - width if cells else 0
    over_y = max(c.top + c.height for c in cells) - height if cells else 0
    if not 0 < max(over_x, over_y) <= MENDABLE_OVERHANG:
        return cells
    if any(c.inner or c.kind != "lxLineNomal" for c in cells):
        return cells
    return [c._replace(width=c.width - max(over_x, 0), height=c.height - max(over_y, 0)) for c in cells]


def is_roll(cells, size_id, width, height):
    """A single label as large as a 'sheet' of no paper size is a roll label:
    the database gives a roll its label's size. A full-sheet label on A4,
    Letter or a ハガキ is a sheet."""
    if size_id not in (None, "Other") or sheet_kind(size_id, width, height)[0] != 3:
        return False
    return len(cells) == 1 and abs(cells[0].width - width) < 1 and abs(cells[0].height - height) < 1


def is_circle(cell):
    return cell.kind == "lxLineCircle" and abs(cell.width - cell.height) < TOLERANCE


def overlaps(a, b):
    if is_circle(a) and is_circle(b):
        distance = math.hypot(a.left + a.width / 2 - b.left - b.width / 2,
                              a.top + a.height / 2 - b.top - b.height / 2)
        return distance < (a.width + b.width) / 2 - TOLERANCE
    return (min(a.left + a.width, b.left + b.width) - max(a.left, b.left) > TOLERANCE
            and min(a.top + a.height, b.top + b.height) - max(a.top, b.top) > TOLERANCE)


def sound_sheet(cells, width, height):
    for cell in cells:
        if cell.width <= 0 or cell.height <= 0:
            return False
        if cell.left < -TOLERANCE or cell.top < -TOLERANCE:
            return False
        if cell.left + cell.width > width + TOLERANCE or cell.top + cell.height > height + TOLERANCE:
            return False
    ordered = sorted(cells, key=lambda c: c.left)
    for i, a in enumerate(ordered):
        for b in ordered[i + 1:]:
            if b.left >= a.left + a.width - TOLERANCE:
                break
            if overlaps(a, b):
                return False
    return True


ROW_TOLERANCE = 0.5  # mm: labels whose tops differ by less stand in one row


def reading_order(cells):
    rows = []
    for cell in sorted(cells, key=lambda c: c.top):
        if rows and cell.top - rows[-1][0].top < ROW_TOLERANCE:
            rows[-1].append(cell)
        else:
            rows.append([cell])
    return [cell for row in rows for cell in sorted(row, key=lambda c: c.left)]


def size_name(sheet, cells):
    count = f"{len(cells)}面"
    first = cells[0]
    same = all(abs(c.width - first.width) < 0.05 and abs(c.height - first.height) < 0.05
               and c.kind == first.kind for c in cells)
    if not same:
        return f"{sheet} {count} 混在"
    w, h = dimension(first.width), dimension(first.height)
    if first.inner:
        return f"{sheet} {count} CD/DVD φ{w}mm"
    if first.kind == "lxLineCircle":
        return f"{sheet} {count} 丸型 φ{w}mm" if w == h else f"{sheet} {count} 楕円 {w}×{h}mm"
    return f"{sheet} {count} {w}×{h}mm"


def read_products(folder, sizes):
    products, aliases, left_out = {}, [], Counter()
    for path in sorted(glob.glob(os.path.join(folder, "*-templates.xml"))):
        for template in parse(path).iter("Template"):
            brand, part = template.get("brand"), template.get("part")
            if template.get("equiv"):
                aliases.append((brand, part, template.get("equiv")))
                continue
            size_id = template.get("size")
            if brand in JAPANESE_NAMES and size_id in JIS_SIZES:
                width, height = JIS_SIZES[size_id]
            elif size_id in sizes:
                width, height = sizes[size_id]
            else:
                width, height = to_mm(template.get("width")), to_mm(template.get("height"))
            cells = []
            for label in template:
                if label.tag.startswith("Label-"):
                    found = label_cells(label)
                    if found is None:
                        cells = None
                        break
                    cells += found
            if not cells:
                left_out["not a sheet of cells"] += 1
                continue
            cells = trimmed_to_sheet(cells, width, height)
            if is_roll(cells, size_id, width, height):
                left_out["roll label"] += 1
                continue
            if not sound_sheet(cells, width, height):
                left_out["cells off the sheet or overlapping"] += 1
                continue
            kind, kind_text, sheet = sheet_kind(size_id, width, height)
            products[(brand, part)] = Product(brand, part, kind_text, kind, sheet, width, height,
                                              reading_order(cells))
    for brand, part, equiv in aliases:
        source = products.get((brand, equiv))
        if source is None:
            left_out["alias of a product left out"] += 1
            continue
        if (brand, part) not in products:
            products[(brand, part)] = source._replace(part=part)
    return list(products.values()), left_out


def choose_makers(products):
    counts = Counter(p.brand for p in products)
    named = [b for b in SHIPPED_MAKERS if b in counts]
    named += [b for b, _ in counts.most_common() if b not in named][:MAX_MAKERS - 1 - len(named)]
    category = {brand: i for i, brand in enumerate(named)}
    names = [JAPANESE_NAMES.get(b, b) for b in named] + [OTHERS]
    return names, lambda brand: category.get(brand, MAX_MAKERS - 1)


def safe_model(text):
    text = re.sub(r"[/\\:*?\"<>|\t]", "-", text).strip()
    return re.sub(r"^\.+", "", text) or "-"


def natural_key(text):
    return [int(t) if t.isdigit() else t for t in re.split(r"(\d+)", text)]


def plain_model(product, category):
    return safe_model(product.part if category < MAX_MAKERS - 1 else f"{product.brand} {product.part}")


def assign_models(products, category_of, shipped):
    """Unique model numbers, in catalogue order. A paper shipped before
    keeps its model number (it names the layout file designs were made
    for); a newcomer whose number is taken is named with its maker."""
    ordered = sorted(products, key=lambda p: (category_of(p.brand), p.brand, natural_key(p.part)))
    kept_first = sorted(ordered, key=lambda p: (category_of(p.brand), plain_model(p, category_of(p.brand)))
                        not in shipped)
    models, seen = {}, set()
    for product in kept_first:
        category = category_of(product.brand)
        model = plain_model(product, category)
        if model in seen:
            model = safe_model(f"{product.brand} {product.part}")
        base, n = model, 2
        while model in seen:
            model, n = f"{base} ({n})", n + 1
        try:
            model.encode("cp932")
        except UnicodeEncodeError:
            continue
        seen.add(model)
        models[id(product)] = model
    return [(category_of(p.brand), models[id(p)], p) for p in ordered if id(p) in models]


def quoted_line(fields):
    return "".join(f'"{f}"\t' for f in fields) + "\r\n"


def layout_text(product):
    first = product.cells[0]
    single = all(abs(c.width - first.width) < 0.05 and abs(c.height - first.height) < 0.05
                 for c in product.cells)
    lines = ["LBLBASE", "1.00", str(len(product.cells)), "-1" if single else "0", "0", "0"]
    for cell in product.cells:
        groups = [(cell.kind, cell.left, cell.top, cell.width, cell.height)] + cell.inner
        lines.append("\t".join("\t".join([k] + [number(v) for v in values])
                               for k, *values in groups))
    return "".join(line + "\r\n" for line in lines)


def catalogue_lines(data):
    """The paper lines of the catalogue in the data folder."""
    path = os.path.join(data, "paper.cfg")
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        return f.read().decode("cp932").splitlines()[1:]


def fields_of(line):
    return [field.strip('"') for field in line.rstrip("\t").split("\t")]


def kept_user_papers(data):
    return [line + "\r\n" for line in catalogue_lines(data) if fields_of(line)[0] == USER_CATEGORY]


def shipped_models(data):
    return {(int(f[0]), f[1]) for f in map(fields_of, catalogue_lines(data)) if f[0] != USER_CATEGORY}


def write_catalogue(data, names, papers):
    user_lines = kept_user_papers(data)
    for category in range(MAX_MAKERS):
        shutil.rmtree(os.path.join(data, str(category)), ignore_errors=True)
        os.makedirs(os.path.join(data, str(category)))
    text = quoted_line(names)
    for category, model, product in papers:
        name = size_name(product.size_label, product.cells)
        text += quoted_line([str(category), model, product.kind_text, name,
                             number(product.width), number(product.height)])
        with open(os.path.join(data, str(category), model + ".bv2"), "wb") as f:
            f.write(layout_text(product).encode("cp932"))
    with open(os.path.join(data, "paper.cfg"), "wb") as f:
        f.write((text + "".join(user_lines)).encode("cp932"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/libglabels-3.0/templates"
    data = sys.argv[2] if len(sys.argv) > 2 else "data"
    products, left_out = read_products(folder, read_paper_sizes(folder))
    names, category_of = choose_makers(products)
    papers = assign_models(products, category_of, shipped_models(data))
    write_catalogue(data, names, papers)
    print(f"{len(papers)} papers of {len(names)} makers written to {data}")
    for reason, count in left_out.most_common():
        print(f"  left out, {reason}: {count}")


if __name__ == "__main__":
    main()
