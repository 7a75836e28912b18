#include "placeholderpage.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {

// Sets the page's texts from its tr() calls again when the language changes
// and when the page is shown.
class PlaceholderTexts : public QObject {
public:
    PlaceholderTexts(QWidget* page, QLabel* title, PlaceholderText titleText)
        : QObject(page), mTitle(title), mTitleText(std::move(titleText))
    {
        page->installEventFilter(this);
    }

    void addButton(QAbstractButton* button, PlaceholderText text) { mButtons.push_back({button, std::move(text)}); }

    void apply()
    {
        if (!mTitle.isNull())
            mTitle->setText(mTitleText());
        for (const auto& b : mButtons)
            if (!b.first.isNull())
                b.first->setText(b.second());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && (event->type() == QEvent::LanguageChange || event->type() == QEvent::Show))
            apply();
        return false;
    }

private:
    QPointer<QLabel> mTitle;
    PlaceholderText mTitleText;
    std::vector<std::pair<QPointer<QAbstractButton>, PlaceholderText>> mButtons;
};

}  // namespace

void layOutPlaceholderPage(QWidget* page, const PlaceholderText& title, const std::vector<PlaceholderButton>& buttons)
{
    auto* label = new QLabel(page);
    label->setAlignment(Qt::AlignCenter);
    auto* texts = new PlaceholderTexts(page, label, title);
    auto* row = new QHBoxLayout;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const PlaceholderButton& b = buttons[i];
        auto* button = new KestromPushButton(static_cast<int>(i), page);
        button->setObjectName(QString::fromLatin1(b.objectName));
        if (b.icon != nullptr)
            button->setSvgIcon(b.icon, GuiGeometry::buttonBarIconSize());
        else
            texts->addButton(button, b.text);
        QObject::connect(button, &KestromPushButton::takeAction, page, b.action);
        row->addWidget(button);
        if (i == 0)
            row->addStretch(1);
    }
    texts->apply();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label, 1);
    layout->addLayout(row);
}
