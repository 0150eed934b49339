#pragma once

// 帮助: a short help in Chinese, opened with F1 from every window: what each window does, where
// the menus are (the right-click menus cannot be seen until opened), the keys, where files go.

class QWidget;

namespace sumvarl {

// F1 in this window (and its controls) opens the help as a dialog of it.
void InstallHelpKey(QWidget& window);

// Opens the help, or brings it forward, as a dialog of `owner`'s window.
void ShowHelp(QWidget& owner);

} // namespace sumvarl
