#include "forms/ChildMemory.h"

#include "core/RandomSource.h"
#include "forms/FormHooks.h"
#include "forms/PracticeWindow.h"
#include "history/TodaysRound.h"
#include "wording/HistoryMessages.h"

#include <QCoreApplication>
#include <memory>

namespace sumvarl {

namespace {

std::unique_ptr<history::Store>& Opened()
{
    static std::unique_ptr<history::Store> store;
    return store;
}

const QString TodayTitle = QStringLiteral("今日练习");

int& Generation()
{
    static int generation = 0;
    return generation;
}

} // namespace

history::Store& SharedHistory()
{
    std::unique_ptr<history::Store>& store = Opened();
    if (!store) {
        store = history::Store::Open(Hooks().historyPath(), Hooks().now());
        // Qt SQL's driver must be let go while the application still stands.
        static const bool closedAtEnd = [] {
            qAddPostRoutine(CloseSharedHistory);
            return true;
        }();
        (void)closedAtEnd;
        const QString told = HistoryOpenText(store->Report());
        if (!told.isEmpty()) {
            Hooks().messageBox(told, QStringLiteral("历史记录"));
        }
    }
    return *store;
}

bool SharedHistoryOpened()
{
    return Opened() != nullptr;
}

void CloseSharedHistory()
{
    Opened().reset();
}

history::RestoreResult RestoreSharedHistory(const QString& backup)
{
    ++Generation();
    return SharedHistory().RestoreFrom(backup, Hooks().now());
}

int SharedHistoryGeneration()
{
    return Generation();
}

std::optional<history::Child> ChildOrAsk(std::optional<qint64> child, const QString& title)
{
    const history::Store& store = SharedHistory();
    if (child) {
        if (std::optional<history::Child> known = store.ChildById(*child)) {
            return known;
        }
    }
    const std::vector<history::Child> children = store.Children();
    if (children.empty()) {
        Hooks().messageBox(
            QStringLiteral("还没有记下任何孩子。请先在练习窗口里按“孩子…”添加孩子。"), title);
        return std::nullopt;
    }
    QStringList names;
    for (const history::Child& c : children) {
        names << c.name;
    }
    const int chosen = Hooks().askChild(names, title);
    if (chosen < 0 || chosen >= static_cast<int>(children.size())) {
        return std::nullopt;
    }
    return children.at(static_cast<std::size_t>(chosen));
}

void StartTodaysRound(const history::Child& child, const PartSpec& lesson)
{
    history::Store& store = SharedHistory();
    const Sheet sheet =
        history::MakeTodaysSheet(store, child.id, lesson, Hooks().now().date(), SharedRandom());
    if (sheet.problems.empty()) {
        Hooks().messageBox(QStringLiteral("今天没有给“%1”要练的题：错题本里没有到期的题，这一课"
                                          "也找不到新题。")
                               .arg(child.name),
                           TodayTitle);
        return;
    }
    store.SetLastChild(child.id);
    auto* window = new PracticeWindow(sheet, nullptr, history::RoundKind::Today, child.id);
    window->show();
    window->activateWindow();
}

} // namespace sumvarl
