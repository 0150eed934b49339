#pragma once

// The windows' way to the children's history: one store per process, opened by the first window
// that needs it (never at start-up), and 今日练习 started from any window.

#include "core/SheetSpec.h"
#include "history/HistoryStore.h"

#include <optional>

class QWidget;

namespace sumvarl {

// The store at Hooks().historyPath(), opened on the first call. How the file was found (damaged
// and moved aside, newer, read-only, unusable) is told once, through Hooks().messageBox. A store
// that could not be opened reads as empty and refuses every write.
history::Store& SharedHistory();
// Whether SharedHistory has opened the file in this process.
bool SharedHistoryOpened();
// Closes the store; the next SharedHistory opens the file again. At the program's end, and in
// tests between files.
void CloseSharedHistory();

// Puts a backup in place of the history, the history as it was kept aside first; the shared
// store reads the restored file from then on. Rounds recorded until then stop recording: their
// rounds are not in the restored file.
history::RestoreResult RestoreSharedHistory(const QString& backup);
// Goes up with every restore, so that a round can tell it was started before one.
int SharedHistoryGeneration();

// The child of that id, or, where there is none, the one the user picks from the children (a
// message when there are none yet).
std::optional<history::Child> ChildOrAsk(std::optional<qint64> child, const QString& title);

// 今日练习 for the child in a new practice window; lesson where the child has no round yet. A
// message instead where there is nothing to practise.
void StartTodaysRound(const history::Child& child, const PartSpec& lesson);

} // namespace sumvarl
