// A small layout of the three pages for the main window's tests: the frame across the top,
// main-page controls below it, and advanced and colour entries that share their places with
// main-page ones (as the real pages do, drawn on the same window), so a test can tell which table
// a press went by.
#pragma once

#include "skin/skin_description.h"
#include "skin/skin_entries.h"

inline void Put(SkinPage& page, int key, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    *page.Find(key) = {x, y, w, h, u""};
}

inline SkinSet Layout() {
    SkinSet skin;
    using namespace MainEntry;
    SkinPage& main = skin.main;
    Put(main, kClose, 600, 10, 20, 20);
    Put(main, kApply, 500, 400, 80, 24);
    for (int slot = 1; slot <= kSlotCount; ++slot) Put(main, Slot(slot), 270 + 30 * slot, 40, 20, 20);
    Put(main, Tab(WindowPage::Main), 100, 40, 50, 20);
    Put(main, Tab(WindowPage::Advanced), 160, 40, 50, 20);
    Put(main, Tab(WindowPage::Colour), 220, 40, 50, 20);
    Put(main, kMinimise, 560, 10, 20, 20);
    Put(main, kTray, 580, 10, 20, 20);
    Put(main, kImportConfig, 100, 400, 60, 20);
    Put(main, kExportConfig, 170, 400, 60, 20);
    Put(main, kFactoryReset, 240, 400, 60, 20);
    Put(main, kChinese, 480, 10, 30, 20);
    Put(main, kEnglish, 520, 10, 30, 20);
    Put(main, kSlotLabel, 460, 40, 30, 20);
    Put(main, kButtonsHeading, 100, 80, 200, 16);  // painted only
    Put(main, FunctionBox(1), 100, 100, 150, 20);
    Put(main, FunctionBox(7), 100, 220, 150, 20);
    Put(main, kWheelNormal, 100, 300, 40, 20);
    Put(main, kWheelReverse, 150, 300, 40, 20);
    Put(main, StageEnable(1), 400, 100, 20, 20);
    Put(main, StageSelect(2), 430, 100, 20, 20);
    Put(main, StageStep(1, 2), 460, 130, 20, 20);
    Put(main, StageStep(3, 4), 490, 130, 20, 20);
    Put(main, ButtonHighlight(1), 20, 100, 30, 40);  // the last entry the main page tests
    Put(main, ButtonHighlight(2), 20, 150, 30, 40);  // not hit-tested
    Put(main, FunctionBox(6), 0, 0, 0, 0);           // zero size: never hit

    SkinPage& advanced = skin.advanced;
    Put(advanced, AdvancedEntry::kRecord, 100, 100, 150, 20);  // where the main page has function box 1
    Put(advanced, AdvancedEntry::kMacroMode2, 100, 220, 20, 20);
    Put(advanced, AdvancedEntry::PointerSpeed(4), 300, 150, 20, 20);
    Put(advanced, AdvancedEntry::WheelSpeed(5), 300, 180, 20, 20);
    Put(advanced, AdvancedEntry::kFireBar, 400, 200, 200, 10);
    Put(advanced, AdvancedEntry::kFireUp, 610, 200, 20, 10);
    Put(advanced, AdvancedEntry::kFireDown, 370, 200, 20, 10);
    Put(advanced, AdvancedEntry::kFireValue, 400, 220, 200, 10);    // hot, no action
    Put(advanced, AdvancedEntry::kMacrosHeading, 20, 300, 40, 20);  // past the hit-tested ones

    SkinPage& colour = skin.colour;
    Put(colour, ColourEntry::LedModeButton(kLedSteady), 100, 300, 40, 20);  // where the main page has kWheelNormal
    Put(colour, ColourEntry::kLedHeading, 300, 300, 60, 20);                 // hot, no action
    Put(colour, ColourEntry::kPreviewHeading, 20, 330, 40, 20);              // past the hit-tested ones
    return skin;
}

