#pragma once

namespace ui {

class CDemo;
class intro;

// Makes a window usable with a screen reader and the keyboard alone, without changing anything
// it draws: names and descriptions for its controls, the colours said in words, results
// announced, keys for what only the mouse reached, and a window role a screen reader presents.
// For the main window, call it each time its controls have been made.
void MakeAccessible(CDemo& window);
void MakeAccessible(intro& window);

}  // namespace ui
