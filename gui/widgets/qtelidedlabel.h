#pragma once
// A label that shortens its text with an ellipsis to the width it has; the
// pages' path captions cut on the left so that the current page stays readable.
// Inside a layout it may be given less than its whole text: it then shows what
// fits, and shows more again when it is given more room.
#include <QLabel>

class QtElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit QtElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

    virtual void setElidedText(const QString& text);

    // As narrow as an ellipsis: the layout decides how much of the text shows.
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The text to cut: the last one given, unless the label's text was set
    // otherwise since.
    QString wholeText() const;

    Qt::TextElideMode mMode;
    QString mWholeText;
    QString mShownText;
};
