#pragma once
// Helpers of the calibration page tests: the shown result or help pop-up read
// and closed, the stack page a menu shows. Header only.
#include <QStackedWidget>
#include <QStringList>

#include <doctest/doctest.h>

#include "cpopupmessage.h"
#include "screen_drive.h"

// The message pop-up on the screen: its texts (title first when it has one);
// it is closed.
inline QStringList takeShownMessage()
{
    auto* message = qobject_cast<CPopupMessage*>(currentPopup());
    REQUIRE(message != nullptr);
    const QStringList texts = popupTexts(message);
    message->dismiss();
    pumpEvents();
    return texts;
}

