#pragma once
// The content of every pop-up: a header (icons and title), a body (icons and
// text) and, only while there are any, a grid of answer buttons. A title too
// wide for the form ends in an ellipsis; a text too long for it scrolls, by
// dragging it with a finger.
#include <QList>
#include <QWidget>

#include "qtelidedlabel.h"

class KestromPushButton;
class QGridLayout;
class QHBoxLayout;
class QIcon;
class QLabel;
class QScrollArea;
class QSpacerItem;
class QVBoxLayout;

class CFormWidget : public QWidget {
    Q_OBJECT
public:
    explicit CFormWidget(QWidget* parent);
    ~CFormWidget() override;

    // An empty text removes the label.
    void setTitle(const QString& text);
    void setText(const QString& text, bool textLeftAligned);
    // Four places: header left/right (inHeader) or body leading/trailing. A
    // null pixmap removes the icon of that place.
    void setIcon(const QPixmap& pixmap, bool leading, bool inHeader);
    void setButtonGrid(int rows, int columns);
    KestromPushButton* button(int index) const;
    void setButtonText(int index, const QString& text);
    void setButtonIcon(int index, const QIcon& icon);
    void setButtonSpacing(int pixels);
    int buttonCount() const { return mButtonCount; }
    void setPaintBackground(bool on) { mPaintBackground = on; }

    QLabel* titleLabel() const { return mTitle; }
    QLabel* textLabel() const { return mText; }
    // The scrolled area that holds the text label; null without a text.
    QScrollArea* textArea() const { return mTextArea; }
    QLabel* iconLabel(bool leading, bool inHeader) const;
    // The button row is in the layout exactly while buttons exist.
    bool hasButtonRow() const;

signals:
    void ButtonPressed(CFormWidget* form, int id);
    void ButtonReleased(CFormWidget* form, int id);
    void ButtonToggleChanged(CFormWidget* form, int id, bool on);
    void Resized();

public slots:
    void vButtonPressed(int id);
    void vButtonReleased(int id);
    void vButtonToggleChanged(int id, bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel*& iconPlace(bool leading, bool inHeader);
    void placeIcon(QLabel* label, bool leading, bool inHeader);

    QtElidedLabel* mTitle = nullptr;
    QLabel* mText = nullptr;
    QScrollArea* mTextArea = nullptr;
    QLabel* mBodyLeadingIcon = nullptr;
    QLabel* mBodyTrailingIcon = nullptr;
    QLabel* mHeaderLeftIcon = nullptr;
    QLabel* mHeaderRightIcon = nullptr;
    QList<KestromPushButton*> mButtons;
    QVBoxLayout* mMainLayout;
    QHBoxLayout* mBodyLayout;
    QGridLayout* mHeaderLayout;
    QGridLayout* mButtonLayout;
    QSpacerItem* mSpacer;
    int mButtonRows = 0;
    int mButtonColumns = 0;
    int mButtonCount = 0;
    bool mPaintBackground = true;
    bool mButtonRowShown = false;
};
