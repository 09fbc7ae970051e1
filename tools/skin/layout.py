"""Where everything of the skin lies, and what it says in both languages.

One table per description file: key -> (tag, x, y, width, height, English text, Chinese text).
The tag is written as field 0 of the entry, which the program does not read; it tells a reader of
the description file what the entry is, and a unit test holds it against the program's names of
the entry numbers. Members of a numbered family carry their number as the program counts it:
slots and buttons from 1, DPI stages, steps and speed steps from 0. The drawings in draw.py take their positions
from here too, so the pictures and the descriptions cannot drift apart.
"""

W, H = 760, 560  # the main window's mask, and with it every page picture


def E(tag, x, y, w, h, en="", cn=""):
    return (tag, x, y, w, h, en, cn)


# DPI stages: row tops, and the left-to-right order of the five steps (the step the mouse calls 0
# is its highest, 3200, so it goes to the right end of the slider).
STAGE_ROW = [158 + 66 * s for s in range(4)]
STEP_DPI = {0: 3200, 1: 1200, 2: 1600, 3: 2000, 4: 2400}
STEP_POSITION = {1: 0, 2: 1, 3: 2, 4: 3, 0: 4}
SLIDER_X, SLIDER_STEP, CELL_W, CELL_H = 480, 42, 40, 22

BOX_X, BOX_Y, BOX_STEP, BOX_W, BOX_H = 292, 156, 36, 150, 26

MAIN = {
    0: E("title", 170, 58, 170, 22, "GAMING MOUSE", "游戏鼠标"),
    1: E("status", 160, 478, 400, 20),
    2: E("close", 626, 58, 26, 22),
    3: E("apply", 560, 436, 120, 32, "APPLY", "应用"),
    9: E("tab-main", 120, 92, 120, 30, "BUTTONS", "按键设置"),
    10: E("tab-advanced", 244, 92, 120, 30, "ADVANCED", "高级设置"),
    11: E("tab-colour", 368, 92, 120, 30, "LIGHTING", "灯光设置"),
    12: E("minimise", 566, 58, 26, 22),
    13: E("tray", 596, 58, 26, 22),
    14: E("import", 120, 440, 84, 26, "Import", "导入配置"),
    15: E("export", 210, 440, 84, 26, "Export", "导出配置"),
    16: E("reset", 300, 440, 96, 26, "Reset", "恢复出厂"),
    # The language buttons name their language in the picture itself, in that language's script.
    17: E("chinese", 452, 58, 40, 22),
    18: E("english", 496, 58, 40, 22),
    19: E("slot-label", 492, 96, 52, 22, "PROFILE", "配置"),
    20: E("heading-buttons", 270, 134, 172, 18, "BUTTON FUNCTIONS", "按键功能"),
    21: E("heading-dpi", 462, 134, 130, 18, "DPI STAGES", "DPI档位"),
    22: E("wheel-label", 266, 404, 54, 22, "WHEEL", "滚轮"),
    41: E("wheel-normal", 322, 404, 58, 22, "Normal", "正常"),
    42: E("wheel-reverse", 384, 404, 58, 22, "Reverse", "反向"),
    43: E("heading-on", 648, 134, 44, 18, "ON", "启用"),
}
for k in range(5):
    MAIN[4 + k] = E("slot-%d" % (k + 1), 546 + 28 * k, 96, 24, 22, str(k + 1), str(k + 1))
for k in range(7):
    MAIN[25 + k] = E("function-box-%d" % (k + 1), BOX_X, BOX_Y + BOX_STEP * k, BOX_W, BOX_H)
for s in range(4):
    y0 = STAGE_ROW[s]
    MAIN[46 + s] = E("stage-enable-%d" % s, 660, y0, 20, 20)
    MAIN[50 + s] = E("stage-label-%d" % s, 486, y0, 84, 20, "STAGE %d" % (s + 1), "档位%d" % (s + 1))
    MAIN[54 + s] = E("stage-select-%d" % s, 462, y0, 20, 20)
    MAIN[80 + s] = E("stage-current-%d" % s, 462, y0, 20, 20)
    for v in range(5):
        MAIN[60 + 5 * s + v] = E("stage-step-%d-%d" % (s, v), SLIDER_X + SLIDER_STEP * STEP_POSITION[v], y0 + 26, CELL_W, CELL_H)

# The mouse drawing on the main page and its seven buttons (highlights 90 to 96).
MOUSE = dict(left=100, top=142, right=252, bottom=420, cx=176)
BUTTON_RECTS = [
    (108, 150, 60, 96),   # 1 left button
    (184, 150, 60, 96),   # 2 right button
    (168, 150, 16, 64),   # 3 wheel
    (92, 262, 14, 40),    # 4 side, front
    (92, 306, 14, 40),    # 5 side, back
    (168, 220, 16, 22),   # 6 behind the wheel
    (168, 246, 16, 22),   # 7 behind that
]
for k, (x, y, w, h) in enumerate(BUTTON_RECTS):
    MAIN[90 + k] = E("button-highlight-%d" % (k + 1), x, y, w, h)

ADVANCED = {
    0: E("macro-import", 96, 408, 56, 22, "Import", "导入"),
    1: E("macro-export", 156, 408, 56, 22, "Export", "导出"),
    2: E("macro-add", 96, 348, 56, 24, "Add", "新建"),
    3: E("macro-delete", 156, 348, 56, 24, "Delete", "删除"),
    4: E("record", 96, 378, 116, 26, "Record", "录制"),
    5: E("repeat-apply", 364, 382, 32, 20, "Set", "确定"),
    6: E("repeat-mode", 220, 382, 20, 20),
    7: E("hold-mode", 220, 408, 20, 20),
    28: E("pointer-label", 424, 134, 200, 18, "POINTER SPEED", "指针速度"),
    29: E("wheel-lines-label", 424, 196, 200, 18, "WHEEL SCROLL LINES", "滚轮滚动行数"),
    30: E("fire-bar", 452, 286, 200, 18),
    31: E("fire-plus", 658, 284, 22, 22),
    32: E("fire-minus", 424, 284, 22, 22),
    33: E("fire-value", 452, 308, 200, 18),
    34: E("heading-macros", 96, 134, 116, 18, "MACROS", "宏列表"),
    35: E("heading-events", 220, 134, 176, 18, "EVENTS", "宏事件"),
    36: E("name-label", 96, 302, 116, 16, "NAME", "宏名称"),
    37: E("repeat-label", 242, 382, 74, 20, "Repeat", "循环次数"),
    38: E("press-count", 220, 358, 86, 18),
    39: E("release-count", 310, 358, 86, 18),
    40: E("hold-label", 242, 408, 154, 20, "Repeat while held", "按住时循环播放"),
    41: E("fire-label", 424, 262, 200, 18, "FIRE INTERVAL", "连发间隔"),
    42: E("fire-hint", 424, 336, 256, 18, "Fire key repeats at this rate", "连发键按此间隔连续点击"),
    43: E("macro-hint", 424, 392, 256, 18, "Bind macros under Macros", "在按键设置的宏分组中绑定"),
}
for i in range(10):
    ADVANCED[8 + i] = E("pointer-step-%d" % i, 424 + 26 * i, 156, 24, 22, str(i + 1), str(i + 1))
    ADVANCED[18 + i] = E("wheel-step-%d" % i, 424 + 26 * i, 218, 24, 22, str(i + 1), str(i + 1))

# Section and key -> rectangle of the macro editor's controls.
EDITOR = {
    ("EDIT", 3): E("repeat-count", 318, 382, 42, 20),
    ("EDIT", 4): E("macro-name", 96, 320, 116, 22),
    ("MACRODISPLAY", 1): E("macro-list", 96, 154, 116, 144),
    ("MACRODISPLAY", 2): E("event-list", 220, 154, 176, 200),
}

COLOUR = {
    0: E("led-cycle", 100, 168, 220, 34, "Colour cycle", "循环变色"),
    1: E("led-fast", 100, 212, 220, 34, "Fast cycle", "快速变色"),
    2: E("led-steady", 100, 256, 220, 34, "Steady (DPI colour)", "常亮（DPI颜色）"),
    3: E("led-off", 100, 300, 220, 34, "Off", "关闭"),
    4: E("heading-led", 100, 140, 220, 20, "LIGHTING MODE", "灯光模式"),
    5: E("heading-preview", 380, 140, 260, 20, "PREVIEW", "灯效预览"),
    6: E("led-hint", 100, 404, 220, 18, "Colour follows DPI stage", "颜色随DPI档位变化"),
    9: E("dpi-value", 100, 372, 220, 26),
    10: E("dpi-label", 100, 352, 220, 18, "CURRENT DPI", "当前DPI"),
    11: E("preview", 400, 166, 220, 250),
}

WARNING_SIZE = (380, 160)
WARNING = {
    0: E("confirm", 70, 108, 110, 30, "Continue", "继续"),
    1: E("cancel", 200, 108, 110, 30, "Cancel", "取消"),
    2: E("message", 20, 58, 340, 24, "Left click moves to another key. Continue?",
         "左键功能将移到其他按键，是否继续？"),
}

# Function popups: the first level has 10 rows, the second 12; only the masks' sizes count.
MENU_W, MENU_ROW = 160, 26
SUBMENU_W, SUBMENU_ROW = 176, 26

# Names of ButtonFunctionCode 1..54. Codes 7 to 10 title the popup's four groups; 20, 27 to 30,
# 53 and 54 are never offered; 41 to 52 show the macro's own name.
FUNCTIONS = {
    1: ("Left click", "左键"),
    2: ("Right click", "右键"),
    3: ("Middle click", "中键"),
    4: ("Forward", "前进"),
    5: ("Back", "后退"),
    6: ("DPI cycle", "DPI循环"),
    7: ("Mouse keys", "鼠标功能"),
    8: ("Multimedia", "多媒体"),
    9: ("Macros", "宏"),
    10: ("Shortcuts", "快捷功能"),
    11: ("Fire key", "连发键"),
    12: ("Double click", "双击"),
    13: ("Triple click", "三连击"),
    14: ("Scroll up", "滚轮向上"),
    15: ("Scroll down", "滚轮向下"),
    16: ("Disable", "禁用"),
    17: ("DPI +", "DPI+"),
    18: ("DPI -", "DPI-"),
    19: ("LED on/off", "灯光开关"),
    20: ("Reserved", "保留"),
    21: ("Play/Pause", "播放/暂停"),
    22: ("Next track", "下一曲"),
    23: ("Previous track", "上一曲"),
    24: ("Volume up", "音量+"),
    25: ("Volume down", "音量-"),
    26: ("Mute", "静音"),
    27: ("Reserved", "保留"),
    28: ("Reserved", "保留"),
    29: ("Reserved", "保留"),
    30: ("Reserved", "保留"),
    31: ("Copy", "复制"),
    32: ("Paste", "粘贴"),
    33: ("Select all", "全选"),
    34: ("Undo", "撤销"),
    35: ("Close window", "关闭窗口"),
    36: ("Computer", "我的电脑"),
    37: ("Lock PC", "锁定电脑"),
    38: ("Calculator", "计算器"),
    39: ("Command prompt", "命令提示符"),
    40: ("Next profile", "切换配置"),
    53: ("Reserved", "保留"),
    54: ("Reserved", "保留"),
}
for m in range(12):
    FUNCTIONS[41 + m] = ("Macro %d" % (m + 1), "宏%d" % (m + 1))
