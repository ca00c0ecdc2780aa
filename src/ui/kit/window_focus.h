#pragma once

class QWidget;

namespace ui {

// Qt 6.4 connects a window's focusObjectChanged to the application whenever the window becomes
// the focus window, and a window hidden and shown again can become it again without the earlier
// connection having been undone: each showing of the same window then leaves one more (88 bytes,
// and one more call at every change of focus inside it). Called as a window is shown: drops the
// connections earlier showings left; Qt makes the one the window needs when it takes the focus.
void DropStaleFocusConnections(QWidget& window);

}  // namespace ui
