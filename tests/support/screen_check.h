#pragma once
// The screenshot check of the screen tests. Header only.
//
//   CHECK_SCREEN(f.screen(), "top_bar_spraying");
//
// grabs the widget (normally the fixture's 480x272 screen, which holds the page
// and the overlay layer) together with every other visible top-level window
// over it (keypads and button grids, modal ones last), writes the picture to
// <build tree>/screenshots/<test program>/<name>.png, and fails with one line
// per problem, each naming the widget's object name (or class) and its text:
// - a visible label or button text that does not fit the contents rectangle its
//   style sheet leaves it (a QtElidedLabel elides, so it is left out);
// - two visible texts of one window or pop-up that overlap;
// - a text cut off by a parent widget (other than the viewport of a scroll area,
//   whose text scrolls);
// - a label showing a null pixmap, or a button with neither a text nor a picture
//   (a null icon) nor a label of its own, unless it is a borderless touch area
//   ("transparent") lying wholly over an earlier sibling that shows the picture;
// - a window reaching outside the screen with its contents rectangle or any
//   widget in it (the band of its contents margins alone may run past).
// Widgets that paint two lines themselves publish them as the properties
// "firstText"/"secondText" with their fonts "firstFont"/"secondFont".
// screenProblems() returns the lines, for tests of the check itself.
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QtMath>

#include <algorithm>

#include <doctest/doctest.h>

#include "gui_test.h"

namespace screencheck {

struct TextItem {
    QWidget* widget;
    QWidget* layer;
    QString text;
    QRect rect;  // where the text is drawn, in screen coordinates
};

inline QString describe(const QWidget* widget)
{
    QString name = widget->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(widget->metaObject()->className());
    for (const QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (!up->objectName().isEmpty()) {
            name += QStringLiteral(" in ") + up->objectName();
            break;
        }
    }
    return QStringLiteral("'") + name + QStringLiteral("'");
}

inline QString quoted(const QString& text)
{
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QStringLiteral("\"") + oneLine + QStringLiteral("\"");
}

// The part of the widget that its ancestors leave visible, in its own coordinates.
inline QRect visibleRect(const QWidget* widget)
{
    QRect visible = widget->rect();
    QPoint offset(0, 0);
    const QWidget* child = widget;
    for (const QWidget* up = widget->parentWidget(); up != nullptr && !child->isWindow(); up = up->parentWidget()) {
        offset += child->pos();
        visible &= up->rect().translated(-offset);
        child = up;
    }
    return visible;
}

// Whether the widget is the scrolled content of a scroll area.
inline bool isScrolled(const QWidget* widget)
{
    const QWidget* viewport = widget->parentWidget();
    const QWidget* area = viewport != nullptr ? viewport->parentWidget() : nullptr;
    const auto* scrollArea = qobject_cast<const QAbstractScrollArea*>(area);
    return scrollArea != nullptr && scrollArea->viewport() == viewport;
}

// The window or pop-up whose texts may not overlap each other.
inline QWidget* layerOf(QWidget* widget)
{
    for (QWidget* up = widget; up != nullptr; up = up->parentWidget()) {
        if (up->isWindow() || up->inherits("COverlayInterface"))
            return up;
    }
    return widget->window();
}

inline bool isTwoLine(const QWidget* widget)
{
    return widget->property("firstText").isValid() && widget->property("secondText").isValid();
}

inline QSize labelTextSize(const QLabel* label, const QRect& space)
{
    const QString text = label->text();
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (rich) {
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(label->font());
        document.setHtml(text);
        if (label->wordWrap())
            document.setTextWidth(space.width());
        return QSize(qCeil(document.idealWidth()), qCeil(document.size().height()));
    }
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect bounds = label->fontMetrics().boundingRect(label->wordWrap() ? space : QRect(0, 0, 100000, 100000),
                                                           flags, text);
    return bounds.size();
}

inline QRect buttonContents(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    option.features = QStyleOptionButton::None;
    if (const QPushButton* push = qobject_cast<const QPushButton*>(button)) {
        if (push->isFlat())
            option.features |= QStyleOptionButton::Flat;
        if (push->isDown())
            option.state |= QStyle::State_Sunken;
    }
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
}

// Where the glyphs of one line of text lie when its line box is box: a line
// box may be taller than the room while its glyphs are not.
inline QRect inkRect(const QFontMetrics& metrics, const QString& line, const QRect& box)
{
    const QRect tight = metrics.tightBoundingRect(line);
    const int baseline = box.top() + metrics.ascent();
    return QRect(box.left(), baseline + tight.top(), box.width(), tight.height());
}

class Checker {
public:
    explicit Checker(QWidget* root) : mRoot(root), mOrigin(root->mapToGlobal(QPoint(0, 0))) {}

    void inspect(QWidget* top)
    {
        inspectWidget(top);
        for (QWidget* widget : top->findChildren<QWidget*>())
            inspectWidget(widget);
    }

    // A window may run past the screen with its edge alone, the band of its
    // contents margins (a bar whose border is kept off the screen); its
    // contents rectangle and every widget in it must be on the screen.
    void checkWindow(QWidget* window)
    {
        const QRect screen(0, 0, 480, 272);
        const QPoint topLeft = window->mapToGlobal(QPoint(0, 0)) - mOrigin;
        const QRect placed(topLeft, window->size());
        if (screen.contains(placed))
            return;
        bool contentsOnScreen = screen.contains(window->contentsRect().translated(topLeft));
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisible())
                continue;
            if (!screen.contains(QRect(widget->mapToGlobal(QPoint(0, 0)) - mOrigin, widget->size()))) {
                contentsOnScreen = false;
                break;
            }
        }
        if (!contentsOnScreen)
            problem(QStringLiteral("window %1 at %2,%3 %4x%5 reaches outside the 480x272 screen")
                        .arg(describe(window))
                        .arg(placed.x())
                        .arg(placed.y())
                        .arg(placed.width())
                        .arg(placed.height()));
    }

    void checkOverlaps()
    {
        for (int i = 0; i < mTexts.size(); ++i) {
            for (int j = i + 1; j < mTexts.size(); ++j) {
                const TextItem& a = mTexts.at(i);
                const TextItem& b = mTexts.at(j);
                if (a.layer != b.layer || a.widget == b.widget || a.widget->isAncestorOf(b.widget) ||
                    b.widget->isAncestorOf(a.widget))
                    continue;
                if (a.rect.intersects(b.rect))
                    problem(QStringLiteral("texts overlap: %1 %2 and %3 %4")
                                .arg(describe(a.widget), quoted(a.text), describe(b.widget), quoted(b.text)));
            }
        }
    }

    std::vector<std::string> problems() const { return mProblems; }

private:
    void problem(const QString& line) { mProblems.push_back(line.toStdString()); }

    QRect toScreen(const QWidget* widget, const QRect& rect) const
    {
        return rect.translated(widget->mapToGlobal(QPoint(0, 0)) - mOrigin);
    }

    void addText(QWidget* widget, const QString& text, const QRect& drawn)
    {
        const QRect visible = visibleRect(widget);
        if (!visible.contains(drawn) && !isScrolled(widget))
            problem(QStringLiteral("%1 %2 is cut off by its parent").arg(describe(widget), quoted(text)));
        mTexts.append({widget, layerOf(widget), text, toScreen(widget, drawn & visible)});
    }

    void fitText(QWidget* widget, const QString& text, const QSize& needed, const QRect& space,
                 Qt::Alignment alignment)
    {
        // One plain line whose box is a little taller than the room fits when its glyphs do.
        const QRect box = QStyle::alignedRect(widget->layoutDirection(), alignment, needed, space);
        if (needed.width() <= space.width() && needed.height() > space.height() && !text.contains(QLatin1Char('\n')) &&
            !Qt::mightBeRichText(text)) {
            const QRect ink = inkRect(widget->fontMetrics(), text, box);
            if (space.top() <= ink.top() && ink.bottom() <= space.bottom()) {
                addText(widget, text, ink);
                return;
            }
        }
        if (needed.width() > space.width() || needed.height() > space.height())
            problem(QStringLiteral("%1 %2 needs %3x%4 but has %5x%6")
                        .arg(describe(widget), quoted(text))
                        .arg(needed.width())
                        .arg(needed.height())
                        .arg(space.width())
                        .arg(space.height()));
        addText(widget, text, QStyle::alignedRect(widget->layoutDirection(), alignment, needed.boundedTo(space.size()), space));
    }

    void inspectLabel(QLabel* label)
    {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        const QPixmap* pixmap = label->pixmap();
#pragma GCC diagnostic pop
        if (pixmap != nullptr && pixmap->isNull())
            problem(QStringLiteral("%1 shows a null picture").arg(describe(label)));
        if (label->text().isEmpty() || label->inherits("QtElidedLabel"))
            return;
        const int margin = label->margin();
        const QRect space = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        fitText(label, label->text(), labelTextSize(label, space), space, label->alignment());
    }

    void inspectTwoLine(QAbstractButton* button, const QRect& space)
    {
        const QString lines[2] = {button->property("firstText").toString(), button->property("secondText").toString()};
        const QFont fonts[2] = {button->property("firstFont").value<QFont>(),
                                button->property("secondFont").value<QFont>()};
        const QFontMetrics metrics[2] = {QFontMetrics(fonts[0]), QFontMetrics(fonts[1])};
        // One block centred as a whole, each line centred on its own.
        // A widget that publishes its line boxes ("firstTextRect"/"secondTextRect",
        // each line drawn from the top of its box) is taken at its word.
        const QVariant published[2] = {button->property("firstTextRect"), button->property("secondTextRect")};
        const bool boxesPublished = published[0].isValid() && published[1].isValid();
        QRect inks[2];
        // A block taller than the room still fits when the glyphs of each line do.
        const int height = boxesPublished ? published[0].toRect().height() + published[1].toRect().height()
                                          : metrics[0].height() + metrics[1].height();
        int top = space.top() + (space.height() - height) / 2;
        for (int i = 0; i < 2; ++i) {
            const int lineHeight = boxesPublished ? published[i].toRect().height() : metrics[i].height();
            if (!lines[i].isEmpty()) {
                const QSize needed(metrics[i].horizontalAdvance(lines[i]), lineHeight);
                const QRect box = boxesPublished ? published[i].toRect() : QRect(space.left(), top, space.width(), lineHeight);
                const QRect ink = inkRect(metrics[i], lines[i], box);
                const bool inkInside = space.top() <= ink.top() && ink.bottom() <= space.bottom();
                const bool tallFits = (!boxesPublished && height <= space.height()) || inkInside;
                if (i == 1 && !lines[0].isEmpty() && inks[0].intersects(ink))
                    problem(QStringLiteral("%1 %2 runs into the line above").arg(describe(button), quoted(lines[i])));
                inks[i] = ink;
                if (needed.width() > space.width() || !tallFits)
                    problem(QStringLiteral("%1 %2 needs %3x%4 but has %5x%6")
                                .arg(describe(button), quoted(lines[i]))
                                .arg(needed.width())
                                .arg(height)
                                .arg(space.width())
                                .arg(space.height()));
                const QRect drawn = height <= space.height() ? box : ink;
                addText(button, lines[i],
                        QStyle::alignedRect(button->layoutDirection(), Qt::AlignCenter,
                                            QSize(needed.width(), drawn.height()).boundedTo(space.size()), drawn));
            }
            top += lineHeight;
        }
    }

    // A borderless button without text or picture lying wholly over an
    // earlier sibling: the touch area of what that sibling shows.
    static bool isTouchAreaOverPicture(const QAbstractButton* button)
    {
        const QWidget* parent = button->parentWidget();
        if (parent == nullptr || !button->property("transparent").toBool())
            return false;
        for (const QObject* object : parent->children()) {
            if (object == button)
                return false;
            const auto* sibling = qobject_cast<const QWidget*>(object);
            if (sibling != nullptr && sibling->isVisible() && sibling->geometry().contains(button->geometry()))
                return true;
        }
        return false;
    }

    void inspectButton(QAbstractButton* button)
    {
        const bool twoLine = isTwoLine(button);
        const bool hasText = !button->text().isEmpty() ||
                             (twoLine && !(button->property("firstText").toString().isEmpty() &&
                                           button->property("secondText").toString().isEmpty()));
        const bool hasIcon = !button->icon().isNull();
        // A button may show labels of its own instead; they are checked as labels.
        bool hasLabels = false;
        for (const QLabel* label : button->findChildren<QLabel*>())
            hasLabels = hasLabels || label->isVisible();
        if (!hasText && !hasIcon && !hasLabels && !isTouchAreaOverPicture(button)) {
            problem(QStringLiteral("%1 shows neither a text nor a picture (null icon?)").arg(describe(button)));
            return;
        }
        const QRect space = buttonContents(button);
        if (twoLine) {
            inspectTwoLine(button, space);
            return;
        }
        if (button->text().isEmpty())
            return;
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        QSize needed = text;
        if (hasIcon) {
            needed.rwidth() += button->iconSize().width() + 4;
            needed.setHeight(std::max(needed.height(), button->iconSize().height()));
        }
        // One line whose box is a little taller than the room fits when its glyphs do.
        bool glyphsFit = false;
        if (needed.width() <= space.width() && needed.height() > space.height() && text.height() == needed.height() &&
            !button->text().contains(QLatin1Char('\n'))) {
            const QRect box = QStyle::alignedRect(button->layoutDirection(), Qt::AlignCenter, needed, space);
            const QRect ink = inkRect(button->fontMetrics(), button->text(), box);
            glyphsFit = space.top() <= ink.top() && ink.bottom() <= space.bottom();
        }
        if (needed.width() > space.width() || (needed.height() > space.height() && !glyphsFit))
            problem(QStringLiteral("%1 %2 needs %3x%4 but has %5x%6")
                        .arg(describe(button), quoted(button->text()))
                        .arg(needed.width())
                        .arg(needed.height())
                        .arg(space.width())
                        .arg(space.height()));
        const QRect block = QStyle::alignedRect(button->layoutDirection(), Qt::AlignCenter, needed.boundedTo(space.size()), space);
        const QRect drawn(block.right() + 1 - std::min(text.width(), block.width()), block.top(),
                          std::min(text.width(), block.width()), block.height());
        addText(button, button->text(), drawn);
    }

    void inspectWidget(QWidget* widget)
    {
        if (!widget->isVisible() || visibleRect(widget).isEmpty())
            return;
        if (QLabel* label = qobject_cast<QLabel*>(widget))
            inspectLabel(label);
        else if (QAbstractButton* button = qobject_cast<QAbstractButton*>(widget))
            inspectButton(button);
    }

    QWidget* mRoot;
    QPoint mOrigin;
    QList<TextItem> mTexts;
    std::vector<std::string> mProblems;
};

// Visible top-level windows other than the root's own, modal ones last and the
// active modal window on top.
inline QList<QWidget*> windowsOver(QWidget* root)
{
    QList<QWidget*> plain;
    QList<QWidget*> modal;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == root->window() || !window->isVisible())
            continue;
        if (window == QApplication::activeModalWidget())
            continue;
        (window->isModal() ? modal : plain).append(window);
    }
    if (QWidget* active = QApplication::activeModalWidget())
        if (active != root->window() && active->isVisible())
            modal.append(active);
    return plain + modal;
}

inline QString screenshotPath(const QString& name)
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString dir = QStringLiteral(CONSOLE_SCREENSHOT_DIR "/") + program;
    QDir().mkpath(dir);
    return dir + QStringLiteral("/") + name + QStringLiteral(".png");
}

}  // namespace screencheck

// Grabs root and the windows over it, saves the picture and returns the problems found.
inline std::vector<std::string> screenProblems(QWidget* root, const QString& name)
{
    if (!root->isVisible())
        root->show();
    pumpEvents();
    std::vector<std::string> problems;
    if (root->size() != QSize(480, 272))
        problems.push_back(QStringLiteral("%1 is %2x%3, not 480x272")
                               .arg(screencheck::describe(root))
                               .arg(root->width())
                               .arg(root->height())
                               .toStdString());
    const QList<QWidget*> windows = screencheck::windowsOver(root);
    QImage picture(480, 272, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        painter.drawPixmap(0, 0, root->grab());
        const QPoint origin = root->mapToGlobal(QPoint(0, 0));
        for (QWidget* window : windows)
            painter.drawPixmap(window->mapToGlobal(QPoint(0, 0)) - origin, window->grab());
    }
    const QString path = screencheck::screenshotPath(name);
    if (!picture.save(path, "PNG"))
        problems.push_back(("the picture could not be written to " + path).toStdString());

    screencheck::Checker checker(root);
    checker.inspect(root);
    for (QWidget* window : windows) {
        checker.checkWindow(window);
        checker.inspect(window);
    }
    checker.checkOverlaps();
    for (const std::string& line : checker.problems())
        problems.push_back(line);
    return problems;
}

inline std::string joinProblems(const std::vector<std::string>& problems)
{
    std::string text;
    for (const std::string& line : problems)
        text += "\n  " + line;
    return text;
}

#define CHECK_SCREEN(root, name)                                                         \
    do {                                                                                 \
        const std::vector<std::string> screenProblems_ = screenProblems((root), (name)); \
        CHECK_MESSAGE(screenProblems_.empty(), joinProblems(screenProblems_));           \
    } while (0)
