"""A configuration slot as the end-to-end tests write it, and the feature reports the mouse must
receive when that slot is applied, worked out from the slot's values.

A slot is a dict: K (the seven button codes), DPI_LEVEL, WHEEL_STATUS, LED_STATUS, FIRE_TIME,
DPI_SET and DPI_SET_EN (four each); DPI_SPEED and WHEEL_SPEED are optional.

    mouse_reports.py reports CONFIG.INI [SLOT]   the reports of a slot of a configuration file
                                                  (default its current one), one per line
"""
import re
import sys

HARDWARE_ID = [1, 2, 3, 5, 4, 6, 8]  # of buttons 1..7


def device_function(code):
    """The mouse's function byte of a button code; None for a code the mouse is not told of."""
    if 0 <= code <= 5:
        return code
    if 11 <= code <= 16:
        return code - 4
    if 21 <= code <= 25:
        return code - 8
    if code in (6, 17, 18, 19) or 26 <= code <= 52:
        return 0x1F
    return None


def hex_line(data):
    """A report as the virtual mouse lists it: nine bytes in hex."""
    return " ".join(f"{b:02X}" for b in (list(data) + [0] * 9)[:9])


def slot_reports(slot):
    out = []
    for i, code in enumerate(slot["K"]):
        function = device_function(code)
        if function is not None:
            out.append(hex_line([0x07, 0x10, HARDWARE_ID[i], function]))
    out.append(hex_line([0x07, 0x11, slot["WHEEL_STATUS"] & 0xFF, 0]))
    level = min(max(slot["DPI_LEVEL"], 0), 3)
    out.append(hex_line([0x07, 0x09, level & 0xFF, ((slot["DPI_SET"][level] + 8) * 16 + slot["LED_STATUS"]) & 0xFF]))
    out.append(hex_line([0x07, 0x12, int(slot["FIRE_TIME"] / 8) & 0xFF, 0, 0, 0, 0, 0]))
    return out


def slot_values(slot):
    """The slot's keys and values, in the order of a configuration section."""
    values = [(f"K{i + 1}", k) for i, k in enumerate(slot["K"])]
    values += [("DPI_LEVEL", slot["DPI_LEVEL"]), ("WHEEL_STATUS", slot["WHEEL_STATUS"]), ("MACRO_MODE2", 0)]
    for s in range(4):
        values += [(f"DPI_SET{s + 1}", slot["DPI_SET"][s]), (f"DPI_SET_EN{s + 1}", slot["DPI_SET_EN"][s])]
    values += [("LED_STATUS", slot["LED_STATUS"]), ("DPI_SPEED", slot.get("DPI_SPEED", 4)),
               ("WHEEL_SPEED", slot.get("WHEEL_SPEED", 2)), ("FIRE_TIME", slot["FIRE_TIME"])]
    return values


def section_lines(name, slot):
    return [f"[{name}]"] + [f"{key}={value}" for key, value in slot_values(slot)]


def ini_slot(path, number=None):
    """Slot NUMBER (default CurConfig) of a configuration file as the program reads it: keys in
    any case, a value's leading number, 0 where there is none."""
    raw = open(path, "rb").read()
    text = raw.decode("utf-16") if raw[:2] == b"\xff\xfe" else raw.decode("utf-8", "replace")
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].lower(), {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current.setdefault(key.strip().upper(), value.strip())

    def value(section, key):
        match = re.match(r"[+-]?\d+", section.get(key, ""))
        return int(match.group()) if match else 0

    if number is None:
        number = value(sections.get("init", {}), "CURCONFIG")
    section = sections.get(f"config{number}", {})
    return dict(K=[value(section, f"K{b}") for b in range(1, 8)], DPI_LEVEL=value(section, "DPI_LEVEL"),
                WHEEL_STATUS=value(section, "WHEEL_STATUS"), LED_STATUS=value(section, "LED_STATUS"),
                FIRE_TIME=value(section, "FIRE_TIME"), DPI_SET=[value(section, f"DPI_SET{s}") for s in range(1, 5)],
                DPI_SET_EN=[value(section, f"DPI_SET_EN{s}") for s in range(1, 5)])


if __name__ == "__main__":
    if len(sys.argv) in (3, 4) and sys.argv[1] == "reports":
        print("\n".join(slot_reports(ini_slot(sys.argv[2], int(sys.argv[3]) if len(sys.argv) == 4 else None))))
    else:
        sys.exit(__doc__)
