#pragma once
// A themed push button that shows two lines, a value above its unit, each in
// its own "fontsize" step and centred together as one block. Apart from its
// painting it is a KestromPushButton (key click, takeAction(id), cancel margin).
#include "kestrompushbutton.h"

#include <QFont>
#include <QRect>
#include <QString>

class TwoStringPushButton : public KestromPushButton {
    Q_OBJECT
    // Published for the screenshot check of the tests: what is drawn, and how.
    Q_PROPERTY(QString firstText READ firstText)
    Q_PROPERTY(QString secondText READ secondText)
    Q_PROPERTY(QFont firstFont READ firstFont)
    Q_PROPERTY(QFont secondFont READ secondFont)
    Q_PROPERTY(QRect firstTextRect READ firstTextRect)
    Q_PROPERTY(QRect secondTextRect READ secondTextRect)
public:
    explicit TwoStringPushButton(QWidget* parent = nullptr);
    TwoStringPushButton(int id, QWidget* parent);
    TwoStringPushButton(const QString& firstStep, const QString& secondStep, QWidget* parent);
    TwoStringPushButton(int id, const QString& firstStep, const QString& secondStep, QWidget* parent);
    ~TwoStringPushButton() override;

    void setFirstText(const QString& text);
    void setFirstText(const QString& text, const QString& step);
    void setSecondText(const QString& text);
    void setSecondText(const QString& text, const QString& step);

    QString firstText() const { return mFirstText; }
    QString secondText() const { return mSecondText; }
    QString firstStep() const { return mFirstStep; }
    QString secondStep() const { return mSecondStep; }
    // The fonts the style sheet gives a push button of each line's step.
    QFont firstFont() const;
    QFont secondFont() const;
    // Where paintEvent draws each line, from the top of the box.
    QRect firstTextRect() const;
    QRect secondTextRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setUp();
    QRect contentsArea() const;
    // A hidden button whose only job is to carry the style sheet's font of a step.
    static KestromPushButton* makeCarrier(const QString& step);
    static void applyStep(KestromPushButton*& carrier, QString& current, const QString& step);

    QString mFirstText;
    QString mSecondText;
    QString mFirstStep;
    QString mSecondStep;
    KestromPushButton* mFirstCarrier = nullptr;
    KestromPushButton* mSecondCarrier = nullptr;
};
