#!/usr/bin/env python3
"""Writes the delivered macro files, data/Macro_EN.dat and data/Macro_CN.dat, from the macro
lists below. The output is byte-for-byte reproducible: run it again after changing a list and
commit the source and the files together.

Format: an INI file with section [Macros], key macroNum = the macro count, and key 0, 1, ... per
macro whose value is its 1064-byte record image with every byte as three decimal digits.
"""
import os
import sys

# Virtual keys used below.
VK = {
    "TAB": 0x09, "RETURN": 0x0D, "SPACE": 0x20, "LSHIFT": 0xA0, "LCONTROL": 0xA2, "LMENU": 0xA4,
    "LEFT": 0x25, "F5": 0x74,
}
for letter in "ABCDEFGHIJKLMNOPQRSTUVWXYZ":
    VK[letter] = ord(letter)
LEFT_BUTTON, RIGHT_BUTTON, MIDDLE_BUTTON = 240, 241, 242
PRESS, RELEASE = 1, 2
GAP = 30  # the delay the recorder gives the newest event


def tap(key, hold=GAP, after=GAP):
    return [(key, PRESS, hold), (key, RELEASE, after)]


def chord(modifier, key, hold=20, after=GAP):
    return [(modifier, PRESS, 10), (key, PRESS, hold), (key, RELEASE, 10), (modifier, RELEASE, after)]


# Each macro: (name, repeat mode, repeat count, events). Events: (key code, action, delay ms).
MACROS_EN = [
    ("Copy+Paste", 0, 1, chord(VK["LCONTROL"], VK["C"], after=80) + chord(VK["LCONTROL"], VK["V"])),
    ("Select all + copy", 0, 1, chord(VK["LCONTROL"], VK["A"], after=50) + chord(VK["LCONTROL"], VK["C"])),
    ("Reload (R)", 0, 1, tap(VK["R"], hold=40)),
    ("Jump+Crouch", 0, 1, [(VK["SPACE"], PRESS, 40), (VK["SPACE"], RELEASE, 120),
                           (VK["LCONTROL"], PRESS, 300), (VK["LCONTROL"], RELEASE, GAP)]),
    ("Double click", 0, 1, tap(LEFT_BUTTON, hold=20, after=60) + tap(LEFT_BUTTON, hold=20)),
    ("Triple shot", 1, 3, tap(LEFT_BUTTON, hold=25, after=90)),
    ("Switch window", 0, 1, chord(VK["LMENU"], VK["TAB"], hold=40)),
]

MACROS_CN = [
    ("复制粘贴", 0, 1, chord(VK["LCONTROL"], VK["C"], after=80) + chord(VK["LCONTROL"], VK["V"])),
    ("全选复制", 0, 1, chord(VK["LCONTROL"], VK["A"], after=50) + chord(VK["LCONTROL"], VK["C"])),
    ("换弹（R）", 0, 1, tap(VK["R"], hold=40)),
    ("跳跃下蹲", 0, 1, [(VK["SPACE"], PRESS, 40), (VK["SPACE"], RELEASE, 120),
                        (VK["LCONTROL"], PRESS, 300), (VK["LCONTROL"], RELEASE, GAP)]),
    ("鼠标双击", 0, 1, tap(LEFT_BUTTON, hold=20, after=60) + tap(LEFT_BUTTON, hold=20)),
    ("三连发", 1, 3, tap(LEFT_BUTTON, hold=25, after=90)),
    ("切换窗口", 0, 1, chord(VK["LMENU"], VK["TAB"], hold=40)),
]


def record_image(name, repeat_mode, repeat_count, events):
    units = name.encode("utf-16-le")
    if len(units) > 38:
        raise ValueError(f"name too long (19 characters at most): {name}")
    if len(events) > 254:
        raise ValueError(f"too many events: {name}")
    image = bytearray(1064)
    image[0:len(units)] = units
    image[40] = repeat_mode
    image[41:43] = repeat_count.to_bytes(2, "little")
    image[43] = len(events)
    for k, (key, action, delay) in enumerate(events):
        image[44 + 4 * k:48 + 4 * k] = bytes([key, action]) + delay.to_bytes(2, "little")
    return bytes(image)


def macro_file(macros):
    lines = ["[Macros]", f"macroNum={len(macros)}"]
    for m, macro in enumerate(macros):
        lines.append(f"{m}=" + "".join(f"{b:03d}" for b in record_image(*macro)))
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    for name, macros in (("Macro_EN.dat", MACROS_EN), ("Macro_CN.dat", MACROS_CN)):
        with open(os.path.join(out, name), "wb") as f:
            f.write(macro_file(macros))


if __name__ == "__main__":
    main()
