#include "textfit.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>

namespace ToolsViewWidgets {

namespace {

// The width a text takes, as the button draws it (the widest of its lines).
int textWidth(const QFontMetrics& metrics, const QString& text)
{
    return metrics.size(Qt::TextShowMnemonic, text).width();
}

// Follows the button's text, font and size; the page keeps setting whole texts.
class TextFitter : public QObject {
public:
    explicit TextFitter(QAbstractButton* button) : QObject(button), mButton(button)
    {
        setObjectName(QStringLiteral("textFitter"));
        button->installEventFilter(this);
        fit();
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Resize:
        case QEvent::FontChange:
        case QEvent::StyleChange:
        // The page sets its texts directly; the paint that follows shows the fitted one.
        case QEvent::Paint:
            fit();
            break;
        default:
            break;
        }
        return false;
    }

private:
    int room() const
    {
        QStyleOptionButton option;
        option.initFrom(mButton);
        option.text = mButton->text();
        option.icon = mButton->icon();
        option.iconSize = mButton->iconSize();
        int width = mButton->style()->subElementRect(QStyle::SE_PushButtonContents, &option, mButton).width();
        if (!mButton->icon().isNull())
            width -= mButton->iconSize().width() + 4;
        return width;
    }

    void fit()
    {
        if (mFitting)
            return;
        const QString current = mButton->text();
        if (current != mShown)
            mWhole = current;
        // Until it is laid out a button's width says nothing.
        if (!mButton->isVisible())
            return;
        const QString shown =
            mWhole.contains(QLatin1Char('\n')) ? mWhole : twoLineText(mButton->fontMetrics(), mWhole, room());
        mShown = shown;
        if (shown != current) {
            mFitting = true;
            mButton->setText(shown);
            mFitting = false;
        }
    }

    QAbstractButton* mButton;
    QString mWhole;
    QString mShown;
    bool mFitting = false;
};

}  // namespace

QString twoLineText(const QFontMetrics& metrics, const QString& text, int room)
{
    if (textWidth(metrics, text) <= room)
        return text;
    QString best = text;
    int bestWidth = -1;
    for (int at = text.indexOf(QLatin1Char(' ')); at >= 0; at = text.indexOf(QLatin1Char(' '), at + 1)) {
        const QString broken = text.left(at) + QLatin1Char('\n') + text.mid(at + 1);
        const int width = textWidth(metrics, broken);
        if (bestWidth < 0 || width < bestWidth) {
            best = broken;
            bestWidth = width;
        }
    }
    return best;
}

void keepTextFitted(QAbstractButton* button)
{
    if (button->findChild<QObject*>(QStringLiteral("textFitter"), Qt::FindDirectChildrenOnly) == nullptr)
        new TextFitter(button);
}

}  // namespace ToolsViewWidgets
