#pragma once
// Tip preset set-up, the first page of the pair "Tip Preset Setup (1)/(2)": which
// of the five presets is active, the series and capacity (size) of its tip, and
// the restore of every tip's reference data to the catalogue. Everything it shows
// of a tip comes from the core's catalogue and presets. A live page: every 100 ms
// it follows the active preset, without rebuilding any widget.
//
// tipSeriesName is shared by every page that names a tip.
#include "widgettimedfocusupdateqt.h"

#include <QList>
#include <QMap>
#include <QSize>
#include <QString>

#include <array>

class ButtonGridWidget;
class CPopupQuery;
class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineImplParamNozSetup : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    enum : int { PresetCount = 5, SeriesCount = 34, CapacityCodes = 62 };

    explicit ConfigMachineImplParamNozSetup(QWidget* parent = nullptr);
    ~ConfigMachineImplParamNozSetup() override;

    // The series name of the tip catalogue. Form 1 is the plain name, as on the
    // series buttons; form 0 is the name as the prefix of a size name: the
    // initials of its words and "-" ("Standard Flat Fan" gives "SFF-", to which
    // the size "02" is appended). The user tip (series 18) and every series
    // beyond the catalogue are "User Tip" in both forms.
    static QString tipSeriesName(int series, int form);
    // A size's capacity text: its name and, in brackets, the colour of its
    // capacity code (empty for codes without a colour), as a grid button
    // (smallButton) or the value button says it.
    static QString capacityString(const QString& sizeName, int code, bool smallButton);
    // The series on the series grid, in order (the user tip last).
    static const std::array<int, SeriesCount>& seriesOrder();

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editNozzlePreset();
    void commitNozzlePreset(int id);
    void editNozzleType();
    void commitNozzleType(int series);
    void editNozzleSize();
    void commitNozzleSize(int code);
    void restoreFactorySettings();
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void updateColorConversion(bool force = false);
    void ResponseYesNoClicked(CPopupQuery* query, int code);
    void initNozzleSelectButton(int preset);
    void updateNozzleSelectButtons();
    QString getNozzleString(int preset);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // A grid button: a name above a tip picture.
    struct TipButton {
        KestromPushButton* button = nullptr;
        QLabel* name = nullptr;
        QLabel* image = nullptr;
        int series = -1;  // the tip it shows
        int size = -1;
    };

    TipButton makeTipButton(int id, QSize minimum);
    void initNozzleTypeButton(int series);
    void retranslateNozzleTypeButtons();
    void updateNozzlePresetValue();
    void updateNozzleTypeValue();
    void updateNozzleSizeValue();
    QPixmap tipImage(int series, int size, QSize pixels) const;

    SettingPageKit* mKit;
    KestromPushButton* mLabels[4];
    KestromPushButton* mPresetValue;
    KestromPushButton* mSeriesValue;
    KestromPushButton* mCapacityValue;
    KestromPushButton* mRestoreButton;
    ButtonGridWidget* mPresetGrid;
    ButtonGridWidget* mSeriesGrid;
    ButtonGridWidget* mCapacityGrid;
    std::array<TipButton, PresetCount> mPresets;
    QMap<int, QLabel*> mSeriesNames;
    // Indexed by capacity code; out of the grid they have no parent, so the page deletes them.
    std::array<TipButton, CapacityCodes> mCapacities;
    // Capacity code -> size index in the series the grid was built for; -1 none.
    std::array<int, CapacityCodes> mCapacityTable;
    QList<KestromPushButton*> mPlacedCapacities;
    int mShownSeries = -1;
    int mGridSeries = -1;
    int mImagesSize = -1;
    bool mRedrawImages = true;
    QSize mTipImageSize;
};

}  // namespace ToolsViewWidgets
