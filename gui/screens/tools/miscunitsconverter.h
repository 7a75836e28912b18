#pragma once
// The units converter (page 1 of the tools menu): a number converted between
// units of area, length or volume. The operator picks the kind, the unit on
// each side and types a value on either side; the other side follows at once.
// Each conversion uses the one stored factor from the from unit to the to unit
// (its reciprocal for the way back), never the reverse entry of the table.
// Choosing a kind (the same one too) and a language change start again at
// 1 = 1 in the kind's default unit on both sides. Nothing is stored.
#include <QWidget>

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class MiscUnitsConverter : public QWidget {
    Q_OBJECT
public:
    enum Type { Area = 0, Length = 1, Volume = 2 };

    explicit MiscUnitsConverter(QWidget* parent = nullptr);

    // F[from][to] of the kind; 1.0 for an unknown kind.
    static double factor(int type, int from, int to);
    static int unitCount(int type);
    static int defaultUnit(int type);

    int type() const { return mType; }
    int fromUnit() const { return mFromUnit; }
    int toUnit() const { return mToUnit; }
    double fromValue() const { return mFromValue; }
    double toValue() const { return mToValue; }

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void populateTypeCombo();
    void editConvType();
    void commitConvType(int type);
    void populateFromUnitsCombo(int type);
    void editFromUnit();
    void commitFromUnit(int unit);
    void populateToUnitsCombo(int type);
    void editToUnit();
    void commitToUnit(int unit);
    void editFromValue();
    void editToValue();
    void commitFromValue(double value);
    void commitToValue(double value);
    void updateFromValueDisplay();
    void updateToValueDisplay();
    void calculateToValue();
    void calculateFromValue();
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    struct Side {
        QLabel* label;
        KestromPushButton* keyboard;
        QLabel* display;
        KestromPushButton* unitButton;
        ButtonGridWidget* grid;
        KestromPushButton* options[5];
    };

    void buildSide(Side& side, const char* name);
    void populateUnits(Side& side, int type, int& unit, double& value);
    QString typeName(int type) const;
    QString unitName(int type, int unit) const;
    QString unitOptionName(int type, int unit) const;
    void openKeypad(double value, void (MiscUnitsConverter::*commit)(double));
    void openUnitGrid(Side& side, int current, void (MiscUnitsConverter::*commit)(int));

    SettingPageKit* mKit;
    KestromPushButton* mTypeButton;
    ButtonGridWidget* mTypeGrid;
    Side mFrom;
    Side mTo;
    NumericKeypadWidget* mKeypad;

    int mType = Area;
    int mFromUnit = 0;
    int mToUnit = 0;
    double mFromValue = 1.0;
    double mToValue = 1.0;
};

}  // namespace ToolsViewWidgets
