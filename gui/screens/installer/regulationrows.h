#pragma once
// What the three regulation details pages share: the row frame (a label
// button without icon, a value button with a keypad of its own) and the
// number conversions of their rows without a unit quantity.
#include <cstdint>

#include <QVBoxLayout>

#include "settingpagekit.h"

namespace ToolsViewWidgets {

namespace RegulationRows {

// A stored tenths item as shown: item / 10.
double tenths(uint32_t item);
// A keypad entry of a tenths row as stored: entry x 10 cut toward zero, at least 0.
uint32_t tenthsFromEntry(double entry);
// The same for the rows that round: entry x 10 + 0.5 cut toward zero, at least 0.
uint32_t tenthsFromEntryRounded(double entry);
// A whole-number entry as stored: cut toward zero, at least 0.
uint32_t wholeFromEntry(double entry);

void removeIcon(KestromPushButton* label);

// Lays out rows 0..count-1 of a regulation details page: label buttons (help
// id = row, text only) and value buttons, one keypad per row; the column ends
// with a stretch of the given factor.
template <class Page>
void build(SettingPageKit* kit, Page* page, int count, KestromPushButton** labels, KestromPushButton** values,
           NumericKeypadWidget** keypads, int endStretch)
{
    for (int row = 0; row < count; ++row) {
        keypads[row] = kit->addKeypad();
        labels[row] = kit->addLabelButton(row, page, &Page::showHelp);
        removeIcon(labels[row]);
        values[row] = kit->addValueButton(row);
    }
    kit->column()->insertStretch(1, 2);
    kit->column()->addStretch(endStretch);
}

}  // namespace RegulationRows
}  // namespace ToolsViewWidgets
