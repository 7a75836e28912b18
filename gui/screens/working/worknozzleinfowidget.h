#pragma once
// The nozzle information of the working screen: the name and picture of the
// active preset's tip. A touch on the picture opens the grid of the five tip
// presets, and the one chosen becomes active at once; not while spraying.
#include "backgroundwidget.h"

#include <QSize>
#include <QString>

class ButtonGridWidget;
class KestromPushButton;
class QLabel;

class WorkNozzleInfoWidget : public BackgroundWidget {
    Q_OBJECT
public:
    enum : int { PresetCount = 5 };

    explicit WorkNozzleInfoWidget(QWidget* parent);
    // The preset grid is a window of its own and goes with the widget.
    ~WorkNozzleInfoWidget() override;

    void timedUpdate() override;

    // The tip text of preset i: series prefix and size name without separator.
    static QString getNozzleString(int preset);

    QLabel* nameLabel() const { return mNameLabel; }
    KestromPushButton* imageButton() const { return mImageButton; }
    ButtonGridWidget* presetGrid() const { return mGrid; }
    KestromPushButton* presetButton(int preset) const { return mPresets[preset].button; }
    QLabel* presetNameLabel(int preset) const { return mPresets[preset].name; }
    QLabel* presetImageLabel(int preset) const { return mPresets[preset].image; }
    int shownSeries() const { return mSeries; }
    int shownSize() const { return mSize; }

public slots:
    void workStatusChanged(bool spraying);
    void editNozzleType(int);
    void commitNozzleType(int preset);
    void initNozzleSelectButton(int preset);

private:
    struct PresetButton {
        KestromPushButton* button = nullptr;
        int series = 0;
        int size = 0;
        QLabel* name = nullptr;
        QLabel* image = nullptr;
    };

    void updateNozzleSelectButtons();

    QLabel* mNameLabel;
    KestromPushButton* mImageButton;
    ButtonGridWidget* mGrid;
    PresetButton mPresets[PresetCount];
    QSize mPresetImageSize;
    // 36: no tip shown yet.
    int mSeries = 36;
    int mSize = 0;
    bool mSpraying = false;
};
