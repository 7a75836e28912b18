#pragma once
// The kit's modal pop-up windows (numeric keypad, button grid): frameless,
// application-modal windows of their own whatever their parent, so that a page
// that owns one never gets it drawn inside itself. An alarm must be seen at
// once, and a modal window would hold it back: cancelAll closes every one that
// is open, as its own cancel does, without committing anything. GUI thread only.
class QWidget;

namespace ModalPopups {

// Makes the widget such a window; a parent then only owns it.
void makeWindow(QWidget* widget);
// Closes every open modal pop-up window; returns how many were open.
int cancelAll();

}  // namespace ModalPopups
