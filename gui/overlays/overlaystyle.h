#pragma once
// The common look of the pop-ups: form metrics, label styles, answer buttons,
// the styled background and the three message icons.
#include <QPixmap>

class CFormWidget;
class KestromPushButton;
class QLabel;
class QWidget;

namespace OverlayStyle {

struct FormMetrics {
    int margin;
    int spacerSize;
};

// Margin 10 and spacer 10; sets the form's minimum and maximum size.
FormMetrics formMetrics(QWidget* form);
void styleForm(QWidget* form);
void styleTitleLabel(QLabel* label);
void styleTextLabel(QLabel* label);
KestromPushButton* createFormButton(CFormWidget* form, int id);
void paintStyledBackground(QWidget* widget);

QPixmap errorIcon();
QPixmap warningIcon();
QPixmap informationIcon();

}  // namespace OverlayStyle
