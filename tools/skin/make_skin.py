#!/usr/bin/env python3
"""Generates the program's skin: the description files of both languages, every picture and the
default macro files, into one output directory (the "skins" folder beside the exe).

    make_skin.py OUTDIR                      everything
    make_skin.py --descriptions-only OUTDIR  only the INI_EN and INI_CN description files
    make_skin.py --previews DIR OUTDIR       also PNG copies of every picture, for looking at

Pictures are drawn by ImageMagick's convert from the drawings in draw.py. Before anything is
written, the layout is checked: every text must fit its box in the program's fonts, and no two
clickable entries may overlap. After the mask is drawn, every entry must lie inside the window.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import draw  # noqa: E402
from layout import (W, H, MAIN, ADVANCED, COLOUR, EDITOR, WARNING, WARNING_SIZE, FUNCTIONS,  # noqa: E402
                    MENU_W, MENU_ROW, SUBMENU_W, SUBMENU_ROW, BOX_W)

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

DESCRIPTIONS = {
    # file stem: (English file, Chinese file)
    "main": ("skin_main_en.ini", "skin_main.ini"),
    "advanced": ("skin_advance_en.ini", "skin_advance.ini"),
    "colour": ("skin_color_en.ini", "skin_color.ini"),
    "warning": ("LBWarning_en.ini", "LBWarning.ini"),
}


# ---- text metrics of the program's fonts ------------------------------------------------------

def text_size(text, english):
    """Width and height as the program draws them: the English font is 7 x 15 pixels per
    character; the Chinese one 12 pixels high, 6 wide per narrow and 12 per wide character."""
    if english:
        return 7 * len(text), 15
    wide = sum(1 for ch in text if ord(ch) >= 0x2E80)
    return 12 * wide + 6 * (len(text) - wide), 12


def check_layout():
    problems = []

    def fits(where, key, entry, text, english, left_aligned=False):
        _, x, y, w, h, _, _ = entry
        tw, th = text_size(text, english)
        room = w - 7 if left_aligned else w - 2
        if tw > room or th > h + 1:
            problems.append("%s %s: %r (%dx%d) does not fit %dx%d" % (where, key, text, tw, th, w, h))

    for name, table in (("main", MAIN), ("advanced", ADVANCED), ("colour", COLOUR), ("warning", WARNING)):
        for key, entry in table.items():
            for english, text in ((True, entry[5]), (False, entry[6])):
                if text:
                    fits(name, key, entry, text, english)
    # Texts the program writes at run time, in their worst case.
    live = [(MAIN, 1, "Configuration done,click key [7] to start driver", "配置完成，请点击鼠标第[7]键运行驱动"),
            (ADVANCED, 4, "Record", "录制"), (ADVANCED, 4, "Stop", "停止"), (ADVANCED, 33, "300ms", "300ms"),
            (ADVANCED, 38, "[↓]254", "[↓]254"), (ADVANCED, 39, "[↑]254", "[↑]254"),
            (COLOUR, 9, "3200", "3200")]
    for table, key, en, cn in live:
        fits("live", key, table[key], en, True)
        fits("live", key, table[key], cn, False)
    for code, (en, cn) in FUNCTIONS.items():
        fits("function", code, ("", 0, 0, BOX_W, 26, "", ""), en, True, left_aligned=True)
        fits("function", code, ("", 0, 0, BOX_W, 26, "", ""), cn, False, left_aligned=True)
        menu_w = MENU_W if code <= 10 else draw.SUBMENU_W
        fits("menu row", code, ("", 0, 0, menu_w - 24, MENU_ROW, "", ""), en, True)
        fits("menu row", code, ("", 0, 0, menu_w - 24, MENU_ROW, "", ""), cn, False)

    def overlap(a, b):
        return a[1] < b[1] + b[3] and b[1] < a[1] + a[3] and a[2] < b[2] + b[4] and b[2] < a[2] + a[4]

    def disjoint(label, entries):
        for i, (ka, a) in enumerate(entries):
            for kb, b in entries[i + 1:]:
                if overlap(a, b):
                    problems.append("%s: %s overlaps %s" % (label, ka, kb))

    main_actions = [k for k in MAIN if k in range(2, 19) or k in range(25, 32) or k in (41, 42)
                    or k in range(46, 50) or k in range(54, 58) or k in range(60, 80)]
    disjoint("main page", [("main %d" % k, MAIN[k]) for k in main_actions])
    frame = [("main %d" % k, MAIN[k]) for k in MAIN if k <= 19]
    disjoint("advanced page", frame + [("advanced %d" % k, ADVANCED[k]) for k in ADVANCED if k <= 33]
             + [("%s %d" % k, e) for k, e in EDITOR.items()])
    disjoint("colour page", frame + [("colour %d" % k, COLOUR[k]) for k in COLOUR if k <= 4])
    disjoint("warning", [("warning %d" % k, WARNING[k]) for k in (0, 1)])

    # A tag names one entry: the program's test matches entries to its names by them.
    for name, table in (("main", MAIN), ("advanced", ADVANCED), ("colour", COLOUR), ("warning", WARNING),
                        ("editor", EDITOR)):
        seen = {}
        for key, entry in table.items():
            tag = entry[0]
            if not tag or "," in tag:
                problems.append("%s %s: tag %r is empty or holds a comma" % (name, key, tag))
            elif tag in seen:
                problems.append("%s %s: tag %r is also %s's" % (name, key, tag, seen[tag]))
            seen[tag] = key
    return problems


def check_inside_mask(mask_rgb, width, height):
    """Every entry shown on the main window lies on pixels the mask keeps."""
    def kept(x, y):
        i = (y * width + x) * 3
        return not (mask_rgb[i] > 100 and mask_rgb[i + 1] > 100 and mask_rgb[i + 2] > 100)

    problems = []
    tables = [("main", MAIN), ("advanced", ADVANCED), ("colour", COLOUR),
              ("editor", {"%s %d" % k: e for k, e in EDITOR.items()})]
    for name, table in tables:
        for key, (_, x, y, w, h, _, _) in table.items():
            border = [(px, py) for px in range(x, x + w) for py in (y, y + h - 1)]
            border += [(px, py) for py in range(y, y + h) for px in (x, x + w - 1)]
            if any(not (0 <= px < width and 0 <= py < height) or not kept(px, py) for px, py in border):
                problems.append("%s %s lies outside the window outline" % (name, key))
    return problems


# ---- description files --------------------------------------------------------------------------

def ini_entry(entry, english):
    tag, x, y, w, h, en, cn = entry
    return "%s,%d,%d,%d,%d,%s," % (tag, x, y, w, h, en if english else cn)


def description_texts(english):
    heading = "; Skin description of the %s page (%s). Entries: tag,x,y,width,height,text,\n"
    lang = "English" if english else "Chinese"
    files = {}

    def section(name, entries):
        lines = ["[%s]" % name]
        lines += ["%s=%s" % (k, v) for k, v in entries]
        return "\n".join(lines) + "\n"

    def positions(table):
        return [(k, ini_entry(table[k], english)) for k in sorted(table)]

    names = [(code, FUNCTIONS[code][0 if english else 1]) for code in sorted(FUNCTIONS)]
    files["main"] = heading % ("main", lang) + section("BUTTONPOS", positions(MAIN)) + "\n" + section("FUN_STRING", names)
    edit = [(k[1], ini_entry(e, english)) for k, e in sorted(EDITOR.items()) if k[0] == "EDIT"]
    lists = [(k[1], ini_entry(e, english)) for k, e in sorted(EDITOR.items()) if k[0] == "MACRODISPLAY"]
    files["advanced"] = (heading % ("advanced", lang) + section("BUTTONPOS", positions(ADVANCED)) + "\n"
                         + section("EDIT", edit) + "\n" + section("MACRODISPLAY", lists))
    files["colour"] = heading % ("colour", lang) + section("BUTTONPOS", positions(COLOUR))
    files["warning"] = heading % ("warning dialog", lang) + section("BUTTONPOS", positions(WARNING))
    return files


def write_descriptions(out):
    for english, folder in ((True, "INI_EN"), (False, "INI_CN")):
        os.makedirs(os.path.join(out, folder), exist_ok=True)
        for stem, text in description_texts(english).items():
            name = DESCRIPTIONS[stem][0 if english else 1]
            # UTF-16LE with a byte order mark and CRLF lines: what Windows' profile functions read
            # as Unicode.
            with open(os.path.join(out, folder, name), "wb") as f:
                f.write(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))


# ---- pictures -----------------------------------------------------------------------------------

def render(mvg, width, height, path, background="#0b0d10", quality=94):
    # The drawing goes inline: ImageMagick's usual policy forbids reading a drawing from a file.
    subprocess.run(["convert", "-size", "%dx%d" % (width, height), "xc:%s" % background, "-draw", mvg.text(),
                    "-quality", str(quality), "-sampling-factor", "1x1", path], check=True)


def render_mask(outline_mvg, width, height, path):
    subprocess.run(["convert", "-size", "%dx%d" % (width, height), "xc:white", "-draw", outline_mvg,
                    "-quality", "98", path], check=True)


def read_rgb(path):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout


def contrast(a, b):
    """Contrast ratio of two colours (1 to 21), from their relative luminance."""
    def luminance(rgb):
        linear = [v / 255 / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4 for v in rgb]
        return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def check_readable(work):
    """The record button stays down while recording, under its label: white at rest and red
    while the pointer is on it, the colours the program writes it in. Both must stay readable on
    the picture's mean colour there."""
    _, x, y, w, h, _, _ = ADVANCED[4]
    mean = subprocess.run(["convert", os.path.join(work, "advanced_down.jpg"), "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                           "-resize", "1x1!", "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout[:3]
    problems = []
    for name, colour in (("white", (255, 255, 255)), ("red", (255, 0, 0))):
        ratio = contrast(tuple(mean), colour)
        if ratio < 3:
            problems.append("advanced 4 while recording: %s text has contrast %.1f on %s" % (name, ratio, tuple(mean)))
    return problems


def pictures(out):
    made = []

    def page(name, mvg, width=W, height=H):
        render(mvg, width, height, os.path.join(out, name))
        made.append(name)

    for state in ("normal", "over", "down"):
        page("main_%s.jpg" % state, draw.main_page(state))
        page("advanced_%s.jpg" % state, draw.advanced_page(state))
    page("color_normal_pink.jpg", draw.colour_page("normal", draw.STAGE_COLOURS[1]))
    page("color_over_red.jpg", draw.colour_page("over", draw.STAGE_COLOURS[2]))
    page("color_down_purple.jpg", draw.colour_page("down", draw.STAGE_COLOURS[3]))
    page("color_over_blue.jpg", draw.colour_page("normal", draw.STAGE_COLOURS[0]))
    page("color_normal_gray.jpg", draw.colour_page("normal", None))
    page("dpi_slider.jpg", draw.knob_picture(), draw.CELL_W + 8, draw.CELL_H + 8)
    for state in ("normal", "over", "down"):
        page("menu_%s.jpg" % state, draw.menu(state), MENU_W, 10 * MENU_ROW + 4)
        page("advanced menu_%s.jpg" % state, draw.submenu(state), SUBMENU_W, 12 * SUBMENU_ROW + 4)
    ww, wh = WARNING_SIZE
    for state in ("normal", "over"):
        page("warning_%s.jpg" % state, draw.warning_page(state), ww, wh)

    outline = ("fill black stroke black stroke-width 2 path '%s'\n"
               "fill none stroke black stroke-width 6 stroke-linecap round path '%s'" % (draw.OUTLINE, draw.CABLE))
    render_mask(outline, W, H, os.path.join(out, "main_mask.jpg"))
    render_mask("fill black stroke black stroke-width 1 path '%s'" % draw.warning_outline(ww - 1, wh - 1), ww, wh,
                os.path.join(out, "warning_mask.jpg"))
    # The popups are rectangles; only their masks' sizes count (width, and ten or twelve rows).
    render_mask("fill black rectangle 0,0 %d,%d" % (MENU_W, 10 * MENU_ROW), MENU_W, 10 * MENU_ROW,
                os.path.join(out, "menu_mask.jpg"))
    render_mask("fill black rectangle 0,0 %d,%d" % (SUBMENU_W, 12 * SUBMENU_ROW), SUBMENU_W, 12 * SUBMENU_ROW,
                os.path.join(out, "advanced menu_mask.jpg"))
    made += ["main_mask.jpg", "warning_mask.jpg", "menu_mask.jpg", "advanced menu_mask.jpg"]
    return made


def default_macros(out):
    """The factory-reset macros of each language: the macro files delivered with the program."""
    for source, folder in (("Macro_EN.dat", "INI_EN"), ("Macro_CN.dat", "INI_CN")):
        path = os.path.join(ROOT, "data", source)
        if os.path.exists(path):
            shutil.copyfile(path, os.path.join(out, folder, "defMacro.dat"))
        else:
            print("make_skin: data/%s is missing; %s/defMacro.dat not written" % (source, folder), file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--descriptions-only", action="store_true")
    parser.add_argument("--previews", metavar="DIR")
    args = parser.parse_args()

    problems = check_layout()
    if problems:
        sys.exit("make_skin: layout problems:\n  " + "\n  ".join(problems))
    os.makedirs(args.out, exist_ok=True)
    write_descriptions(args.out)
    if args.descriptions_only:
        return

    with tempfile.TemporaryDirectory() as work:
        made = pictures(work)
        problems = check_inside_mask(read_rgb(os.path.join(work, "main_mask.jpg")), W, H) + check_readable(work)
        if problems:
            sys.exit("make_skin: layout problems:\n  " + "\n  ".join(problems))
        for name in made:
            shutil.copyfile(os.path.join(work, name), os.path.join(args.out, name))
            if args.previews:
                os.makedirs(args.previews, exist_ok=True)
                subprocess.run(["convert", os.path.join(work, name),
                                os.path.join(args.previews, name.replace(" ", "_").replace(".jpg", ".png"))], check=True)
    default_macros(args.out)
    if args.previews:
        import preview
        preview.all_screens(args.out, args.previews)


if __name__ == "__main__":
    main()
