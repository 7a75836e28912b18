#pragma once
// A layout that places its items left to right at their size hints and wraps
// to a new row when the next item would pass the right edge.
#include <QLayout>
#include <QList>
#include <QStyle>

class FlowLayout : public QLayout {
public:
    FlowLayout(QWidget* parent, int margin = -1, int hSpacing = -1, int vSpacing = -1);
    explicit FlowLayout(int margin = -1, int hSpacing = -1, int vSpacing = -1);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int horizontalSpacing() const { return effectiveHSpacing(); }
    int verticalSpacing() const { return effectiveVSpacing(); }
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;

private:
    int effectiveHSpacing() const;
    int effectiveVSpacing() const;
    int placeItems(const QRect& rect, bool testOnly) const;
    int parentSpacing(QStyle::PixelMetric metric) const;

    QList<QLayoutItem*> mItems;
    int mHSpacing;
    int mVSpacing;
};
