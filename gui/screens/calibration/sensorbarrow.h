#pragma once
// The live sensor bar of the calibration pages: a progress bar without text
// between a right-aligned low-end label and a left-aligned high-end label,
// widths 1 : 3 : 1. The page sets the labels' texts (its own tr()).
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QWidget;

namespace ToolsViewWidgets {

struct SensorBarRow {
    QLabel* low;
    QProgressBar* bar;
    QLabel* high;
    QHBoxLayout* layout;

    // The bar runs 0..maximum from 0; objectName names the bar.
    static SensorBarRow create(QWidget* parent, int maximum, const char* objectName);
};

}  // namespace ToolsViewWidgets
