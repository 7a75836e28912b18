#pragma once
// A label that shortens its text with an ellipsis to the width it has; the
// pages' path captions cut on the left so that the current page stays readable.
// It keeps no copy of the full text: once cut, the cut text is what it has.
#include <QLabel>

class QtElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit QtElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

    virtual void setElidedText(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    Qt::TextElideMode mMode;
};
