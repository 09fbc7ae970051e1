"""The skin's pictures as ImageMagick drawings (MVG), one function per picture family.

Every page is drawn three times, once per state: "normal" (at rest), "over" (every element as it
looks under the pointer) and "down" (every element pressed or selected). The program copies the
rectangle of one element from the over or down picture onto the normal one, so an element must
look right on its own inside its rectangle, and anything that is not an element must be the same
in all three pictures. Texts are drawn by the program from the description files; the pictures
only carry language-neutral marks (digits, DPI values, glyphs).
"""

from layout import (W, H, MAIN, ADVANCED, COLOUR, EDITOR, WARNING, WARNING_SIZE, BUTTON_RECTS, MOUSE,
                    STAGE_ROW, STEP_DPI, STEP_POSITION, SLIDER_X, SLIDER_STEP, CELL_W, CELL_H,
                    BOX_X, BOX_Y, BOX_STEP, BOX_W, BOX_H, MENU_W, MENU_ROW, SUBMENU_W, SUBMENU_ROW)

# Palette: dark graphite with a teal accent.
OUTSIDE = "#0b0d10"
BODY_TOP, BODY_BOTTOM = "#272d36", "#14181d"
RIM = "#1fb8ad"
PANEL, PANEL_EDGE = "#171b21", "#2a313b"
CONTROL, CONTROL_EDGE = "#242b34", "#3a4450"
FIELD, FIELD_EDGE = "#11151a", "#323b46"
TEAL, TEAL_BRIGHT, TEAL_DIM, TEAL_DEEP = "#19d3c5", "#5ff5ea", "#0e7f78", "#0f3d3b"
HOVER_FILL, DOWN_FILL = "#173d40", "#0f7d76"
GLYPH, GLYPH_DIM = "#c9d3dc", "#7d8997"
STAGE_COLOURS = ["#2f7dff", "#ff5fa2", "#ff3030", "#9b4dff"]  # preview colours 0..3
SANS, SANS_BOLD = "DejaVu-Sans", "DejaVu-Sans-Bold"

# The outline of the main window: a mouse lying on its side, nose (with the split between its
# two buttons) to the left, palm to the right, with its cable leaving the nose.
OUTLINE = ("M 46,272 C 38,150 84,58 200,46 C 330,36 450,30 570,30 C 712,30 752,150 752,280 "
           "C 752,410 712,530 570,530 C 450,530 330,524 200,514 C 84,502 38,410 46,288 L 58,280 Z")
CABLE = "M 4,280 C 20,280 30,279 48,280"


class Mvg:
    def __init__(self):
        self.lines = []
        self.gradients = 0

    def add(self, text):
        self.lines.append(text)
        return self

    def text(self):
        return "\n".join(self.lines)

    def gradient(self, x1, y1, x2, y2, stops):
        self.gradients += 1
        gid = "g%d" % self.gradients
        self.add("push defs")
        self.add("push gradient '%s' linear %s,%s %s,%s" % (gid, x1, y1, x2, y2))
        for offset, colour in stops:
            self.add("stop-color '%s' %s" % (colour, offset))
        self.add("pop gradient")
        self.add("pop defs")
        return "url(#%s)" % gid

    def shape(self, primitive, fill="none", stroke="none", width=1, extra=""):
        self.add("push graphic-context")
        self.add("fill '%s' stroke '%s' stroke-width %s %s" % (fill, stroke, width, extra))
        self.add(primitive)
        self.add("pop graphic-context")

    def rrect(self, x, y, w, h, r, fill="none", stroke="none", width=1):
        # Strokes sit on the half pixel so one-pixel edges stay crisp.
        self.shape("roundrectangle %.1f,%.1f %.1f,%.1f %d,%d" % (x + 0.5, y + 0.5, x + w - 0.5, y + h - 0.5, r, r),
                   fill, stroke, width)

    def rect(self, x, y, w, h, fill):
        self.shape("rectangle %d,%d %d,%d" % (x, y, x + w - 1, y + h - 1), fill)

    def circle(self, cx, cy, r, fill="none", stroke="none", width=1):
        self.shape("circle %.1f,%.1f %.1f,%.1f" % (cx, cy, cx + r, cy), fill, stroke, width)

    def line(self, x1, y1, x2, y2, stroke, width=1):
        self.shape("line %.1f,%.1f %.1f,%.1f" % (x1, y1, x2, y2), "none", stroke, width, "stroke-linecap round")

    def path(self, d, fill="none", stroke="none", width=1):
        self.shape("path '%s'" % d, fill, stroke, width, "stroke-linecap round stroke-linejoin round")

    def label(self, x, y, text, size=10, colour=GLYPH_DIM, font=SANS_BOLD, anchor="middle"):
        self.add("push graphic-context")
        self.add("font '%s' font-size %s fill '%s' stroke none text-anchor %s" % (font, size, colour, anchor))
        self.add("text %.1f,%.1f '%s'" % (x, y, text))
        self.add("pop graphic-context")


def rect_of(table, key):
    _, x, y, w, h, _, _ = table[key]
    return x, y, w, h


# ---- elements ---------------------------------------------------------------------------------

def button(m, x, y, w, h, state, r=5):
    if state == "normal":
        fill = m.gradient(0, y, 0, y + h, [(0, "#2b333d"), (1, "#20262e")])
        m.rrect(x, y, w, h, r, fill, CONTROL_EDGE)
    elif state == "over":
        fill = m.gradient(0, y, 0, y + h, [(0, "#183a3e"), (1, "#10282c")])
        m.rrect(x, y, w, h, r, fill, TEAL)
    else:
        fill = m.gradient(0, y, 0, y + h, [(0, "#12968d"), (1, "#0b625d")])
        m.rrect(x, y, w, h, r, fill, TEAL_BRIGHT)


def accent_button(m, x, y, w, h, state):
    """The apply button: teal even at rest, so it reads as the main action."""
    tops = {"normal": ("#13877f", "#0b5853"), "over": ("#1bb3a8", "#0f7770"), "down": ("#0a4f4b", "#083a37")}
    top, bottom = tops[state]
    m.rrect(x, y, w, h, 6, m.gradient(0, y, 0, y + h, [(0, top), (1, bottom)]),
            TEAL_BRIGHT if state != "down" else TEAL)
    if state != "down":
        m.line(x + 6, y + 2, x + w - 6, y + 2, "#6ff7ec", 1)


def tab(m, x, y, w, h, state):
    if state == "over":
        m.rrect(x, y, w, h, 4, "#1f2730")
        m.line(x + 10, y + h - 2, x + w - 10, y + h - 2, TEAL_DIM, 2)
    elif state == "down":
        m.rrect(x, y, w, h, 4, m.gradient(0, y, 0, y + h, [(0, "#17292d"), (1, "#173d40")]))
        m.line(x + 4, y + h - 2, x + w - 4, y + h - 2, TEAL, 3)


def window_control(m, x, y, w, h, kind, state):
    colour = GLYPH_DIM
    if state == "over":
        m.rrect(x, y, w, h, 4, "#5a1c24" if kind == "close" else "#23303a")
        colour = "#ffffff" if kind == "close" else TEAL
    elif state == "down":
        m.rrect(x, y, w, h, 4, "#8e1b28" if kind == "close" else TEAL_DEEP)
        colour = "#ffffff"
    cx, cy = x + w / 2, y + h / 2
    if kind == "minimise":
        m.line(cx - 5, cy + 4, cx + 5, cy + 4, colour, 2)
    elif kind == "tray":
        m.path("M %.1f,%.1f L %.1f,%.1f L %.1f,%.1f" % (cx - 5, cy - 3, cx, cy + 2, cx + 5, cy - 3), "none", colour, 2)
        m.line(cx - 6, cy + 6, cx + 6, cy + 6, colour, 1.5)
    else:
        m.line(cx - 5, cy - 5, cx + 5, cy + 5, colour, 2)
        m.line(cx - 5, cy + 5, cx + 5, cy - 5, colour, 2)


def checkbox(m, x, y, w, h, state):
    if state == "normal":
        m.rrect(x + 2, y + 2, w - 4, h - 4, 3, FIELD, "#56616e")
    elif state == "over":
        m.rrect(x + 2, y + 2, w - 4, h - 4, 3, "#15292c", TEAL)
    else:
        m.rrect(x + 2, y + 2, w - 4, h - 4, 3, TEAL_DIM, TEAL_BRIGHT)
        m.path("M %d,%d L %d,%d L %d,%d" % (x + 6, y + 10, x + 9, y + 14, x + 15, y + 6), "none", "#ffffff", 2)


def radio(m, x, y, w, h, state, dot):
    cx, cy = x + w / 2, y + h / 2
    if state == "normal":
        m.circle(cx, cy, 7, FIELD, "#56616e", 1.5)
    elif state == "over":
        m.circle(cx, cy, 7, "#15292c", TEAL, 1.5)
    else:
        m.circle(cx, cy, 7, FIELD, TEAL_BRIGHT, 1.5)
        m.circle(cx, cy, 4, dot)


def field(m, x, y, w, h, state, chevron=False):
    if state == "normal":
        m.rrect(x, y, w, h, 4, FIELD, FIELD_EDGE)
        arrow = GLYPH_DIM
    elif state == "over":
        m.rrect(x, y, w, h, 4, "#12272a", TEAL)
        arrow = TEAL
    else:
        m.rrect(x, y, w, h, 4, TEAL_DEEP, TEAL_BRIGHT)
        arrow = TEAL_BRIGHT
    if chevron:
        cx, cy = x + w - 12, y + h / 2
        m.path("M %.1f,%.1f L %.1f,%.1f L %.1f,%.1f" % (cx - 4, cy - 2, cx, cy + 2, cx + 4, cy - 2), "none", arrow, 1.5)


def step_cell(m, x, y, w, h, state):
    """One step of a ten-step speed setting."""
    if state == "normal":
        m.rrect(x, y, w, h, 3, "#1b2129", "#2e3640")
    elif state == "over":
        m.rrect(x, y, w, h, 3, "#15292c", TEAL)
    else:
        m.rrect(x, y, w, h, 3, m.gradient(0, y, 0, y + h, [(0, "#17b5aa"), (1, "#0c6d67")]), TEAL_BRIGHT)


def slider_track(m, y0):
    """The DPI slider of one stage: track, step ticks and the DPI of each step below it."""
    cy = y0 + 26 + CELL_H / 2
    m.line(SLIDER_X + 6, cy, SLIDER_X + SLIDER_STEP * 4 + CELL_W - 6, cy, "#2f3844", 4)
    for v, pos in STEP_POSITION.items():
        x = SLIDER_X + SLIDER_STEP * pos + CELL_W / 2
        m.circle(x, cy, 2.5, "#4a5563")
        m.label(x, y0 + 26 + CELL_H + 11, str(STEP_DPI[v]), 9, "#8a96a3", SANS)


def slider_step(m, x, y, state):
    cx, cy = x + CELL_W / 2, y + CELL_H / 2
    if state == "over":
        m.circle(cx, cy, 7, "none", TEAL, 2)
    elif state == "down":
        m.circle(cx, cy, 7, TEAL_DEEP, TEAL_BRIGHT, 2)


def knob(m):
    """dpi_slider.jpg: the knob on the track, exactly one step cell in size."""
    m.rect(0, 0, CELL_W + 8, CELL_H + 8, PANEL)
    cy = CELL_H / 2
    m.line(0, cy, CELL_W, cy, "#2f3844", 4)
    m.line(0, cy, CELL_W, cy, TEAL_DIM, 4)
    fill = m.gradient(0, 3, 0, CELL_H - 3, [(0, "#6ff7ec"), (1, "#109b92")])
    m.rrect(CELL_W / 2 - 11, 3, 22, CELL_H - 6, 7, fill, "#d8fffb")
    m.line(CELL_W / 2 - 4, cy - 3, CELL_W / 2 - 4, cy + 3, "#0b4f4b", 1.5)
    m.line(CELL_W / 2, cy - 3, CELL_W / 2, cy + 3, "#0b4f4b", 1.5)
    m.line(CELL_W / 2 + 4, cy - 3, CELL_W / 2 + 4, cy + 3, "#0b4f4b", 1.5)


def panel(m, x, y, w, h):
    m.rrect(x, y, w, h, 8, PANEL, PANEL_EDGE)


# ---- the window body and the frame shared by all pages ----------------------------------------

def body(m):
    m.rect(0, 0, W, H, OUTSIDE)
    m.path(CABLE, "none", "#3a4450", 6)
    m.path(OUTLINE, m.gradient(0, 30, 0, 530, [(0, BODY_TOP), (1, BODY_BOTTOM)]), RIM, 2)
    # The seam between the two buttons at the nose.
    m.path("M 58,280 C 120,276 160,280 200,280", "none", "#2b343e", 1)
    m.line(110, 128, 690, 128, "#2a323c", 1)
    m.line(110, 432, 690, 432, "#2a323c", 1)


def frame(m, state):
    """Frame entries 0 to 19: drawn in the pictures of every page at the main table's places."""
    # Title mark: a small teal mouse glyph before the title text.
    m.rrect(156, 60, 14, 18, 7, "none", TEAL, 2)
    m.line(163, 63, 163, 68, TEAL, 2)
    for key, kind in ((12, "minimise"), (13, "tray"), (2, "close")):
        window_control(m, *rect_of(MAIN, key), kind, state)
    accent_button(m, *rect_of(MAIN, 3), state)
    for key in range(4, 9):
        button(m, *rect_of(MAIN, key), state, 4)
    for key in (9, 10, 11):
        tab(m, *rect_of(MAIN, key), state)
    for key in (14, 15, 16, 17, 18):
        button(m, *rect_of(MAIN, key), state, 4)
    colour = {"normal": GLYPH_DIM, "over": TEAL_BRIGHT, "down": "#ffffff"}[state]
    x, y, w, h = rect_of(MAIN, 17)
    m.label(x + w / 2, y + h / 2 + 5, "中文", 12, colour, "WenQuanYi-Micro-Hei")
    x, y, w, h = rect_of(MAIN, 18)
    m.label(x + w / 2, y + h / 2 + 4.5, "EN", 11, colour)
    # Status line: a quiet field with a status dot.
    x, y, w, h = rect_of(MAIN, 1)
    m.rrect(x, y, w, h, 10, "#101317", "#232a33")


# ---- main page ---------------------------------------------------------------------------------

def mouse_drawing(m, state):
    left, top, right, bottom, cx = MOUSE["left"], MOUSE["top"], MOUSE["right"], MOUSE["bottom"], MOUSE["cx"]
    shell = ("M %d,%d C %d,%d %d,%d %d,%d C %d,%d %d,%d %d,%d C %d,%d %d,%d %d,%d C %d,%d %d,%d %d,%d Z" %
             (cx, top, cx + 56, top, right, top + 38, right, top + 108, right, top + 188, right - 6, bottom, cx, bottom,
              left + 6, bottom, left, top + 188, left, top + 108, left, top + 38, cx - 56, top, cx, top))
    m.path(shell, m.gradient(0, top, 0, bottom, [(0, "#303843"), (1, "#1a1f26")]), "#4a5563", 1.5)
    m.path("M %d,%d Q %d,%d %d,%d" % (left + 2, 248, cx, 262, right - 2, 248), "none", "#3a4450", 1.5)
    m.line(cx, top + 4, cx, 246, "#3a4450", 1.5)
    m.circle(cx, 360, 10, "none", "#3a4450", 1.5)  # the LED logo on the palm
    looks = {"normal": ("#262e38", "#3d4753", GLYPH_DIM),
             "over": ("#17605a", TEAL_BRIGHT, "#ffffff"),
             "down": ("#113b3a", TEAL_DIM, "#9fdcd6")}
    fill, edge, digit = looks[state]
    for k, (x, y, w, h) in enumerate(BUTTON_RECTS):
        if k == 0:
            d = "M %d,%d L %d,%d L %d,%d C %d,%d %d,%d %d,%d Z" % (x + w - 1, y + 1, x + w - 1, y + h - 4, x + 3, y + h - 10,
                                                                   x + 1, y + 40, x + 12, y + 2, x + w - 1, y + 1)
            m.path(d, fill, edge, 1.5)
        elif k == 1:
            d = "M %d,%d L %d,%d L %d,%d C %d,%d %d,%d %d,%d Z" % (x + 1, y + 1, x + 1, y + h - 4, x + w - 3, y + h - 10,
                                                                   x + w - 1, y + 40, x + w - 12, y + 2, x + 1, y + 1)
            m.path(d, fill, edge, 1.5)
        elif k == 2:
            m.rrect(x + 2, y + 4, w - 4, 40, 6, fill, edge, 1.5)
            for ry in range(y + 12, y + 40, 6):
                m.line(x + 5, ry, x + w - 5, ry, edge, 1)
        else:
            m.rrect(x + 1, y + 1, w - 2, h - 2, 4, fill, edge, 1.5)
        label_y = {0: y + 50, 1: y + 50, 2: y + 58, 3: y + 25, 4: y + 25, 5: y + 15, 6: y + 15}[k]
        m.label(x + w / 2, label_y, str(k + 1), 10 if k < 2 else 9, digit)


def main_page(state):
    m = Mvg()
    body(m)
    # Everything that is not an element is drawn alike in all three states.
    panel(m, 88, 136, 172, 290)
    panel(m, 450, 128 + 24, 246, 268)
    frame(m, state)
    # Number badges of the seven function boxes; the same digits mark the mouse's buttons.
    for k in range(7):
        cy = BOX_Y + BOX_STEP * k + BOX_H / 2
        m.circle(279, cy, 9, "#1e252d", "#3a4450", 1.5)
        m.label(279, cy + 4, str(k + 1), 11, GLYPH)
        m.line(288, cy, BOX_X, cy, "#3a4450", 1)
    for s in range(4):
        slider_track(m, STAGE_ROW[s])
    mouse_drawing(m, state)
    for k in range(7):
        field(m, *rect_of(MAIN, 25 + k), state, chevron=True)
    for key in (41, 42):
        button(m, *rect_of(MAIN, key), state, 4)
    for s in range(4):
        checkbox(m, *rect_of(MAIN, 46 + s), state)
        radio(m, *rect_of(MAIN, 54 + s), state, STAGE_COLOURS[s])
        for v in range(5):
            x, y, _, _ = rect_of(MAIN, 60 + 5 * s + v)
            slider_step(m, x, y, state)
    return m


# ---- advanced page -----------------------------------------------------------------------------

def advanced_page(state):
    m = Mvg()
    body(m)
    # Static: the same in all three states.
    panel(m, 88, 128 + 2, 316, 298)
    panel(m, 416, 128 + 2, 280, 298)
    for (_, x, y, w, h, _, _) in EDITOR.values():
        m.rrect(x - 2, y - 2, w + 4, h + 4, 3, "#000000", "#2e3640")
    # Fire bar track ends: 0 and 300 ms marks.
    _, x, y, w, h, _, _ = ADVANCED[30]
    m.label(x, y + h + 12, "0", 8, "#6b7785", SANS)
    m.label(x + w, y + h + 12, "300", 8, "#6b7785", SANS)
    frame(m, state)
    for key in (0, 1, 2, 3, 5):
        button(m, *rect_of(ADVANCED, key), state, 4)
    x, y, w, h = rect_of(ADVANCED, 4)
    if state == "down":  # recording
        # Dark with a red rim: the label ("Stop") is white, and red while the pointer is on it.
        m.rrect(x, y, w, h, 5, m.gradient(0, y, 0, y + h, [(0, "#3a1519"), (1, "#220b0e")]), "#ff4b4b", 1.5)
        m.rrect(x + 10, y + h / 2 - 5, 10, 10, 2, "#ff4b4b")
    else:
        button(m, x, y, w, h, state)
        m.circle(x + 15, y + h / 2, 5, "#e0433a" if state == "normal" else "#ff5b52")
    for key in (6, 7):
        checkbox(m, *rect_of(ADVANCED, key), state)
    for i in range(20):
        step_cell(m, *rect_of(ADVANCED, 8 + i), state)
    x, y, w, h = rect_of(ADVANCED, 30)
    if state == "normal":
        m.rrect(x, y, w, h, 4, FIELD, "#2e3640")
        for t in range(1, 6):
            m.line(x + w * t / 6, y + 4, x + w * t / 6, y + h - 4, "#232a33", 1)
    elif state == "over":
        m.rrect(x, y, w, h, 4, "#12272a", TEAL_DIM)
    else:
        m.rrect(x, y, w, h, 4, m.gradient(x, 0, x + w, 0, [(0, "#0c6d67"), (1, "#5ff5ea")]), TEAL_BRIGHT)
    for key, glyph in ((31, "+"), (32, "-")):
        bx, by, bw, bh = rect_of(ADVANCED, key)
        button(m, bx, by, bw, bh, state, 4)
        colour = "#ffffff" if state != "normal" else GLYPH
        m.line(bx + 6, by + bh / 2, bx + bw - 6, by + bh / 2, colour, 2)
        if glyph == "+":
            m.line(bx + bw / 2, by + 6, bx + bw / 2, by + bh - 6, colour, 2)
    return m


# ---- colour page -------------------------------------------------------------------------------

def led_mouse(m, x, y, w, h, colour):
    """The LED preview: a large mouse seen from above with its lights in one colour (None: unlit)."""
    m.rect(x, y, w, h, PANEL)
    # The widest glow stroke reaches 13 pixels past the shell: keep it inside the entry, which is
    # all the preview copies.
    cx, top, bottom = x + w / 2, y + 14, y + h - 16
    left, right = x + 40, x + w - 40
    shell = ("M %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f "
             "C %.1f,%.1f %.1f,%.1f %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f Z" %
             (cx, top, cx + 58, top, right, top + 40, right, top + 100, right, top + 170, right - 8, bottom, cx, bottom,
              left + 8, bottom, left, top + 170, left, top + 100, left, top + 40, cx - 58, top, cx, top))
    if colour:
        for r, alpha in ((26, "22"), (16, "33"), (8, "55")):
            m.path(shell, "none", colour + alpha, r)
    m.path(shell, m.gradient(0, top, 0, bottom, [(0, "#2e3640"), (1, "#161a20")]), "#4a5563", 1.5)
    m.line(cx, top + 4, cx, top + 92, "#3a4450", 1.5)
    m.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (left + 2, top + 92, cx, top + 106, right - 2, top + 92), "none", "#3a4450", 1.5)
    light = colour or "#3a4048"
    # Wheel, palm logo and the two side strips carry the light.
    m.rrect(cx - 7, top + 22, 14, 40, 6, light, "#0b0d10", 1)
    m.circle(cx, top + 160, 16, "none", light, 4)
    m.path("M %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f" % (left + 6, top + 110, left + 2, top + 150, left + 8, top + 190,
                                                            left + 20, top + 212), "none", light, 4)
    m.path("M %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f" % (right - 6, top + 110, right - 2, top + 150, right - 8, top + 190,
                                                            right - 20, top + 212), "none", light, 4)
    if colour:
        m.circle(cx, top + 160, 5, colour + "88")


def led_mode_icon(m, x, y, kind, state):
    cx, cy = x + 20, y + 17
    if kind == 0:
        for i, c in enumerate(STAGE_COLOURS):
            m.shape("ellipse %.1f,%.1f 7,7 %d,%d" % (cx, cy, i * 90, i * 90 + 80), "none", c, 3)
    elif kind == 1:
        for i, c in enumerate(STAGE_COLOURS):
            m.shape("ellipse %.1f,%.1f 7,7 %d,%d" % (cx, cy, i * 90, i * 90 + 45), "none", c, 3)
    elif kind == 2:
        m.circle(cx, cy, 7, TEAL if state != "normal" else "#17a89c")
    else:
        m.circle(cx, cy, 7, "none", "#56616e", 2)
        m.line(cx - 4, cy + 4, cx + 4, cy - 4, "#56616e", 2)


def colour_page(state, preview):
    m = Mvg()
    body(m)
    # Static: the same in all three states.
    panel(m, 88, 132, 244, 296)
    panel(m, 344, 132, 352, 296)
    x, y, w, h = rect_of(COLOUR, 9)
    m.rrect(x, y, w, h, 4, FIELD, FIELD_EDGE)
    frame(m, state)
    for key in range(4):
        x, y, w, h = rect_of(COLOUR, key)
        button(m, x, y, w, h, state)
        led_mode_icon(m, x, y, key, state)
    led_mouse(m, *rect_of(COLOUR, 11), preview)
    return m


# ---- warning dialog and function popups -------------------------------------------------------

def warning_outline(w, h):
    c = 14
    return ("M %d,0 L %d,0 L %d,%d L %d,%d L %d,%d L %d,%d L 0,%d L 0,%d Z" %
            (c, w - c, w, c, w, h - c, w - c, h, c, h, h - c, c))


def warning_page(state):
    w, h = WARNING_SIZE
    m = Mvg()
    m.rect(0, 0, w, h, OUTSIDE)
    m.path(warning_outline(w, h), m.gradient(0, 0, 0, h, [(0, BODY_TOP), (1, BODY_BOTTOM)]), "#e0a526", 2)
    m.path("M 30,16 L 44,42 L 16,42 Z", "#e0a526", "#e0a526", 2)
    m.line(30, 24, 30, 33, "#1b1f26", 3)
    m.circle(30, 38, 1.6, "#1b1f26")
    m.line(56, 29, w - 24, 29, "#3a3420", 1)
    for key in (0, 1):
        x, y, bw, bh = rect_of(WARNING, key)
        if state == "over":
            m.rrect(x, y, bw, bh, 5, m.gradient(0, y, 0, y + bh, [(0, "#3a3426"), (1, "#2a261c")]), "#f2bf45")
        else:
            m.rrect(x, y, bw, bh, 5, m.gradient(0, y, 0, y + bh, [(0, "#2b333d"), (1, "#20262e")]), CONTROL_EDGE)
    return m


def menu_page(width, rows, row_h, state, group_rows):
    m = Mvg()
    height = rows * row_h + 4
    m.rect(0, 0, width, height, "#14181d")
    for r in range(rows):
        y = r * row_h
        # Hovered and pressed rows stay dark: the program writes the hovered row's text in red.
        if state == "over":
            m.rect(0, y, width, row_h, "#222a33")
            m.rect(0, y + 3, 3, row_h - 6, TEAL)
        elif state == "down":
            m.rect(0, y, width, row_h, "#1a2f33")
            m.rect(0, y + 1, 4, row_h - 2, TEAL_BRIGHT)
            m.line(4, y + row_h - 1.5, width - 4, y + row_h - 1.5, TEAL, 1)
        m.line(8, y + row_h - 0.5, width - 8, y + row_h - 0.5, "#262d36", 1)
        if r + 1 in group_rows:
            cx, cy = width - 14, y + row_h / 2
            m.path("M %.1f,%.1f L %.1f,%.1f L %.1f,%.1f" % (cx - 2, cy - 4, cx + 2, cy, cx - 2, cy + 4), "none",
                   TEAL if state == "normal" else "#ffffff", 1.5)
    m.rrect(0, 0, width, rows * row_h + 1, 0, "none", "#2f5f60")
    return m


def menu(state):
    return menu_page(MENU_W, 10, MENU_ROW, state, {7, 8, 9, 10})


def submenu(state):
    return menu_page(SUBMENU_W, 12, SUBMENU_ROW, state, set())


def knob_picture():
    m = Mvg()
    knob(m)
    return m
