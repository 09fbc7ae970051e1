"""Screens for looking at the skin without the program: the pictures composed as the main window
paints them at rest (defaults of a fresh configuration, one element hovered), with the texts of
one language in stand-ins for the program's fonts, cut to the window's outline."""

import os
import subprocess

from layout import MAIN, ADVANCED, COLOUR, FUNCTIONS, WARNING, WARNING_SIZE, STEP_POSITION

FONTS = {True: ("DejaVu-Sans-Mono", 11.5), False: ("WenQuanYi-Micro-Hei", 12)}
DEFAULT_K = [1, 2, 3, 5, 4, 18, 17]
DEFAULT_STEPS = [1, 2, 4, 0]


def _size(text, english):
    if english:
        return 7 * len(text), 15
    wide = sum(1 for ch in text if ord(ch) >= 0x2E80)
    return 12 * wide + 6 * (len(text) - wide), 12


def _rect(table, key):
    return table[key][1:5]


def _copy(args, picture, rect):
    x, y, w, h = rect
    if w > 0 and h > 0:
        args += ["(", picture, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", ")",
                 "-geometry", "+%d+%d" % (x, y), "-composite"]


def _text(draws, x, y, text, colour, english):
    font, size = FONTS[english]
    baseline = y + (12 if english else 11)
    safe = text.replace("\\", "\\\\").replace("'", "\\'")
    draws.append("font '%s' font-size %s fill '%s' text %d,%d '%s'" % (font, size, colour, x, baseline, safe))


def _centred(draws, rect, text, colour, english):
    if not text:
        return
    x, y, w, h = rect
    tw, th = _size(text, english)
    _text(draws, x + int((w - tw) / 2), y + int((h - th) / 2), text, colour, english)


def screen(skins, page, english, out):
    pics = {"main": ("main_normal", "main_over", "main_down"),
            "advanced": ("advanced_normal", "advanced_over", "advanced_down"),
            "colour": ("color_normal_pink", "color_over_red", "color_down_purple")}[page]
    normal, over, down = (os.path.join(skins, p + ".jpg") for p in pics)
    lang = 5 if english else 6
    args = ["convert", normal]
    draws = []
    white, yellow = "#ffffff", "#ffff00"
    tab = {"main": 9, "advanced": 10, "colour": 11}[page]
    for key in (4, tab, 18 if english else 17):
        _copy(args, down, _rect(MAIN, key))
    if page == "main":
        _copy(args, down, _rect(MAIN, 80))
        for s, v in enumerate(DEFAULT_STEPS):
            x, y, w, h = _rect(MAIN, 60 + 5 * s + v)
            args += ["(", os.path.join(skins, "dpi_slider.jpg"), "-crop", "%dx%d+0+0" % (w, h), "+repage", ")",
                     "-geometry", "+%d+%d" % (x, y), "-composite"]
            _copy(args, down, _rect(MAIN, 46 + s))
        _copy(args, down, _rect(MAIN, 41))
        _copy(args, over, _rect(MAIN, 27))
        _copy(args, over, _rect(MAIN, 92))
        for k in range(7):
            x, y, w, h = _rect(MAIN, 25 + k)
            name = FUNCTIONS[DEFAULT_K[k]][0 if english else 1]
            _text(draws, x + 5, y + int((h - _size(name, english)[1]) / 2), name, "#00ff00" if k == 2 else white, english)
        for key, entry in MAIN.items():
            if key < 54 and not 25 <= key <= 31 and key != 1:
                colour = "#ff0000" if 50 <= key <= 53 else white
                _centred(draws, _rect(MAIN, key), entry[lang], colour, english)
    else:
        for key, entry in MAIN.items():
            if key <= 19 and key != 1:
                _centred(draws, _rect(MAIN, key), entry[lang], white, english)
    if page == "advanced":
        for key in (12, 20):  # pointer speed 4, wheel speed 2
            _copy(args, down, _rect(ADVANCED, key))
        x, y, w, h = _rect(ADVANCED, 30)
        _copy(args, down, (x, y, 50 * w // 300, h))
        _copy(args, over, _rect(ADVANCED, 2))
        for key, entry in ADVANCED.items():
            text = {4: "Record" if english else "录制", 33: "50ms", 38: "[↓]0", 39: "[↑]0"}.get(key, entry[lang])
            _centred(draws, _rect(ADVANCED, key), text, "#ff0000" if key == 2 else white, english)
    if page == "colour":
        _copy(args, down, _rect(COLOUR, 0))
        _copy(args, over, _rect(COLOUR, 2))
        for key, entry in COLOUR.items():
            _centred(draws, _rect(COLOUR, key), "1200" if key == 9 else entry[lang], white, english)
    status = "OK,driver is working..." if english else "驱动运行中..."
    _centred(draws, _rect(MAIN, 1), status, yellow, english)
    args += ["-draw", "\n".join(draws)]
    args += ["(", os.path.join(skins, "main_mask.jpg"), "-threshold", "39%", "-negate", ")",
             "-alpha", "off", "-compose", "CopyOpacity", "-composite", out]
    subprocess.run(args, check=True)


def warning_screen(skins, english, out):
    lang = 5 if english else 6
    draws = []
    for key, entry in WARNING.items():
        _centred(draws, _rect(WARNING, key), entry[lang], "#ff0000", english)
    args = ["convert", os.path.join(skins, "warning_normal.jpg")]
    _copy(args, os.path.join(skins, "warning_over.jpg"), _rect(WARNING, 0))
    args += ["-draw", "\n".join(draws), out]
    subprocess.run(args, check=True)


def menu_screen(skins, english, out):
    draws = []
    for r in range(10):
        text = FUNCTIONS[r + 1][0 if english else 1]
        tw, th = _size(text, english)
        _centred(draws, (0, r * 26, 160, 26), text, "#ff0000" if r == 2 else "#ffffff", english)
    args = ["convert", os.path.join(skins, "menu_normal.jpg")]
    _copy(args, os.path.join(skins, "menu_over.jpg"), (0, 52, 160, 26))
    args += ["-draw", "\n".join(draws), out]
    subprocess.run(args, check=True)


def all_screens(skins, out):
    os.makedirs(out, exist_ok=True)
    for english, tag in ((True, "en"), (False, "cn")):
        for page in ("main", "advanced", "colour"):
            screen(skins, page, english, os.path.join(out, "screen_%s_%s.png" % (page, tag)))
        warning_screen(skins, english, os.path.join(out, "screen_warning_%s.png" % tag))
        menu_screen(skins, english, os.path.join(out, "screen_menu_%s.png" % tag))
