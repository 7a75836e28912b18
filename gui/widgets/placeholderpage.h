#pragma once
// The content of a page whose screen is not built yet: its title in the middle
// and a row of navigation buttons below, the first at the left and the others
// at the right. Each button keeps the object name its callers and tests find it
// by; its id is its place in the row.
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

struct PlaceholderButton {
    const char* objectName;
    const char* icon;  // a picture path, or null for a text button
    QString text;
    std::function<void()> action;
};

void layOutPlaceholderPage(QWidget* page, const QString& title, const std::vector<PlaceholderButton>& buttons);
