#pragma once
// The on-screen pocket calculator: four operations with multiplication and
// division before addition and subtraction, square root, square, reciprocal,
// sign change and one memory, in a frameless modal window of its own (an alarm
// closes it like its cancel key). Built once and only hidden when closed, so
// display, pending operations and memory survive until the next opening. With
// the Done key shown it hands its result to commitValue(double).
//
// An undefined operation (division by zero, root of a negative number,
// reciprocal of zero) or a result too large for a number clears everything but
// the memory and shows "####"; the next digit starts a new number.
#include "backgroundwidget.h"

#include <QString>

class KestromPushButton;
class QLineEdit;
class QtElidedLabel;

class CalculatorWidget : public BackgroundWidget {
    Q_OBJECT
public:
    CalculatorWidget(const QString& title, bool showDone, QWidget* parent = nullptr);

    void timedUpdate() override;
    QLineEdit* display() const { return mDisplay; }

signals:
    void commitValue(double value);

public slots:
    void retranslate();
    void digitClicked();
    void unaryOperatorClicked();
    void additiveOperatorClicked();
    void multiplicativeOperatorClicked();
    void equalClicked();
    void pointClicked();
    void changeSignClicked();
    void backspaceClicked();
    void clear();
    void clearAll();
    void clearMemory();
    void readMemory();
    void setMemory();
    void addToMemory();
    void donePressed();

protected:
    void changeEvent(QEvent* event) override;

private:
    // A pending operation is kept as what it does, not as its key's text, so
    // that a language change while one is pending does not lose it.
    enum class Operation { None, Add, Subtract, Multiply, Divide };

    KestromPushButton* addKey(const QString& text, void (CalculatorWidget::*slot)());
    double operand() const;
    void showNumber(double value);
    bool apply(Operation operation, double value);
    bool applyPendingMultiplicative();
    void abortOperation();
    bool performEqual();

    QtElidedLabel* mTitle = nullptr;
    QLineEdit* mDisplay;
    KestromPushButton* mCancel;
    KestromPushButton* mDone;
    KestromPushButton* mDigits[10];
    KestromPushButton* mBackspace;
    KestromPushButton* mClear;
    KestromPushButton* mClearAll;
    KestromPushButton* mMemoryClear;
    KestromPushButton* mMemoryRead;
    KestromPushButton* mMemorySet;
    KestromPushButton* mMemoryAdd;
    KestromPushButton* mPoint;
    KestromPushButton* mSign;
    KestromPushButton* mDivide;
    KestromPushButton* mMultiply;
    KestromPushButton* mSubtract;
    KestromPushButton* mAdd;
    KestromPushButton* mRoot;
    KestromPushButton* mSquare;
    KestromPushButton* mReciprocal;
    KestromPushButton* mEqual;

    double mMemory = 0.0;
    double mSum = 0.0;
    double mFactor = 0.0;
    Operation mPendingAdditive = Operation::None;
    Operation mPendingMultiplicative = Operation::None;
    bool mWaitingForOperand = true;
};
