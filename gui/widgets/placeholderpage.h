#pragma once
// The content of a page whose screen is not built yet: its title in the middle
// and a row of navigation buttons below, the first at the left and the others
// at the right. Each button keeps the object name its callers and tests find it
// by; its id is its place in the row. Texts are given as the page's tr() calls
// and are set again on every language change and every show.
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

using PlaceholderText = std::function<QString()>;

struct PlaceholderButton {
    const char* objectName;
    const char* icon;  // a picture path, or null for a text button
    PlaceholderText text;
    std::function<void()> action;
};

void layOutPlaceholderPage(QWidget* page, const PlaceholderText& title, const std::vector<PlaceholderButton>& buttons);
