#pragma once
// The on-screen keypad through which every number is entered. The opener sets
// title, value and range, connects commitValue and shows it; the keypad checks
// the range itself and explains a refusal in a pop-up, after which it opens
// again with the refused text. Keys act on touch-down. It is a modal window of
// its own whatever its parent, and opens at the pop-up size.
#include "backgroundwidget.h"

#include <QList>

class CPopupQuery;
class KestromPushButton;
class QLineEdit;
class QtElidedLabel;

class NumericKeypadWidget : public BackgroundWidget {
    Q_OBJECT
public:
    NumericKeypadWidget(const QString& title, QWidget* parent);

    void setTitle(const QString& title);
    // At most six significant digits, exponent form for large or small values.
    void setValue(double value);
    // Both limits included; the sign key is enabled only for a negative minimum.
    void setRange(double minimum, double maximum, int decimals, const QString& units);

    QLineEdit* entry() const { return mEntry; }

    void timedUpdate() override;

signals:
    void commitValue(double value);

public slots:
    void buttonClicked(int index);
    void acceptPressed();
    void handleOkayResponse();
    void clearEntry();
    void togglePlusMinus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    KestromPushButton* addKey(const char* accessibleKey);
    void retranslate();
    void fitTitle();

    QtElidedLabel* mTitle;
    QString mTitleText;
    QLineEdit* mEntry;
    KestromPushButton* mCancel;
    KestromPushButton* mAccept;
    KestromPushButton* mDigits[10];
    KestromPushButton* mBackspace;
    KestromPushButton* mPoint;
    KestromPushButton* mClear;
    KestromPushButton* mSign;
    QList<KestromPushButton*> mKeys;
    bool mRangeSet = false;
    double mMinimum = 0.0;
    double mMaximum = 0.0;
    int mDecimals = 0;
    QString mUnits;
    bool mClearOnFirstKey = true;
    bool mCommitted = false;
};
