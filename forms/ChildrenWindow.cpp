#include "forms/ChildrenWindow.h"

#include "forms/ChildMemory.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "forms/PaperMarkingWindow.h"
#include "forms/ParentWindows.h"
#include "forms/PrintJobWatch.h"
#include "wording/HistoryMessages.h"
#include "wording/Messages.h"
#include "wording/ParentReports.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

namespace sumvarl {

namespace {

const QString Title = QStringLiteral("孩子");

QString LimitText(int ms)
{
    return QStringLiteral("%1 秒").arg(ms / 1000);
}

} // namespace

ChildrenWindow::ChildrenWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChildrenWindow"));
    setWindowTitle(Title);
    setFont(FormFont());

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("Name"));
    name_->setMaxLength(MaxChildNameLength + 10); // longer is refused with a word, not cut
    grade_ = new QComboBox(this);
    grade_->setObjectName(QStringLiteral("Grade"));
    for (int g = 1; g <= 6; ++g) {
        grade_->addItem(GradeText(g), g);
    }
    // 0 stands for the grade's own limit, which the box then names.
    limit_ = new QSpinBox(this);
    limit_->setObjectName(QStringLiteral("Limit"));
    limit_->setRange(0, 60);
    limit_->setSuffix(QStringLiteral(" 秒"));

    const auto button = [this](const QString& name, const QString& text) {
        auto* b = new PushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* add = button(QStringLiteral("Add"), QStringLiteral("添加"));
    save_ = button(QStringLiteral("Save"), QStringLiteral("保存修改"));
    remove_ = button(QStringLiteral("Remove"), QStringLiteral("删除…"));
    QPushButton* close = button(QStringLiteral("Close"), QStringLiteral("关闭"));
    grid_ = button(QStringLiteral("Grid"), QStringLiteral("掌握情况…"));
    progress_ = button(QStringLiteral("Progress"), QStringLiteral("进步…"));
    export_ = button(QStringLiteral("Export"), QStringLiteral("导出答案…"));
    report_ = button(QStringLiteral("Report"), QStringLiteral("本周报告…"));
    printReport_ = button(QStringLiteral("PrintReport"), QStringLiteral("打印本周报告"));
    reportPrinting_ = new PrintJobWatch(*this, *printReport_);
    QPushButton* backup = button(QStringLiteral("Backup"), QStringLiteral("备份全部记录…"));
    QPushButton* restore = button(QStringLiteral("Restore"), QStringLiteral("恢复备份…"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    status_->setWordWrap(true);
    QPushButton* markPaper = button(QStringLiteral("MarkPaper"), QStringLiteral("批改纸质练习…"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("名字："), name_);
    form->addRow(QStringLiteral("年级："), grade_);
    form->addRow(QStringLiteral("每题限时："), limit_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, save_, remove_}) {
        buttons->addWidget(b);
    }
    auto* side = new QVBoxLayout;
    side->addLayout(form);
    side->addLayout(buttons);
    side->addWidget(new QLabel(QStringLiteral("限时内答对，才算熟练。"), this));
    auto* parentButtons = new QHBoxLayout;
    for (QPushButton* b : {grid_, progress_, report_, printReport_, export_}) {
        parentButtons->addWidget(b);
    }
    side->addLayout(parentButtons);
    side->addWidget(markPaper, 0, Qt::AlignLeft);
    side->addStretch();
    auto* backups = new QHBoxLayout;
    backups->addWidget(backup);
    backups->addWidget(restore);
    backups->addStretch();
    side->addLayout(backups);
    side->addWidget(status_);
    side->addWidget(close, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(side);

    connect(add, &QPushButton::clicked, this, &ChildrenWindow::addChild);
    connect(save_, &QPushButton::clicked, this, &ChildrenWindow::saveChild);
    connect(remove_, &QPushButton::clicked, this, &ChildrenWindow::removeChild);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(grid_, &QPushButton::clicked, this, [this] {
        FactGridWindow window(chosen(), this);
        window.exec();
    });
    connect(progress_, &QPushButton::clicked, this, [this] {
        ProgressWindow window(chosen(), this);
        window.exec();
    });
    connect(export_, &QPushButton::clicked, this, &ChildrenWindow::exportAnswers);
    connect(report_, &QPushButton::clicked, this, &ChildrenWindow::saveWeeklyReport);
    connect(printReport_, &QPushButton::clicked, this, &ChildrenWindow::printWeeklyReport);
    connect(backup, &QPushButton::clicked, this, &ChildrenWindow::backUp);
    connect(restore, &QPushButton::clicked, this, &ChildrenWindow::restoreBackup);
    connect(markPaper, &QPushButton::clicked, this, [this] {
        const qint64 who = chosen();
        PaperMarkingWindow window(who != 0 ? std::optional(who) : std::nullopt, this);
        window.exec();
        showChosen();
    });
    connect(list_, &QListWidget::currentRowChanged, this, &ChildrenWindow::showChosen);
    connect(grade_, &QComboBox::currentIndexChanged, this, &ChildrenWindow::showGradeLimit);

    const std::optional<qint64> last = SharedHistory().LastChild();
    fill(last.value_or(0));
    resize(sizeHint().expandedTo(QSize(620, 360)));
}

void ChildrenWindow::fill(qint64 select)
{
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const history::Child& c : SharedHistory().Children()) {
        auto* item = new QListWidgetItem(c.name, list_);
        item->setData(Qt::UserRole, c.id);
        if (c.id == select) {
            list_->setCurrentItem(item);
        }
    }
    if (list_->currentRow() < 0 && list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    showChosen();
}

qint64 ChildrenWindow::chosen() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toLongLong() : 0;
}

// The chosen child's name, grade and limit in the boxes.
void ChildrenWindow::showChosen()
{
    const std::optional<history::Child> child = SharedHistory().ChildById(chosen());
    save_->setEnabled(child.has_value());
    for (QPushButton* b : {grid_, progress_, report_, export_}) {
        b->setEnabled(child.has_value());
    }
    printReport_->setEnabled(child.has_value() && !reportPrinting_->Busy());
    remove_->setEnabled(child.has_value());
    if (child) {
        name_->setText(child->name);
        grade_->setCurrentIndex(child->grade - 1);
        limit_->setValue(child->limitMs ? *child->limitMs / 1000 : 0);
    }
    showGradeLimit();
}

void ChildrenWindow::showGradeLimit()
{
    const int grade = grade_->currentData().toInt();
    limit_->setSpecialValueText(
        QStringLiteral("按年级（%1）").arg(LimitText(history::DefaultLimitMs(grade))));
}

std::optional<int> ChildrenWindow::limitMs() const
{
    return limit_->value() > 0 ? std::optional(limit_->value() * 1000) : std::nullopt;
}

QString ChildrenWindow::checkedName(qint64 renaming)
{
    QString name = name_->text().trimmed();
    QString refusal;
    if (name.isEmpty()) {
        refusal = QStringLiteral("请先在“名字”里写上孩子的名字。");
    } else if (name.size() > MaxChildNameLength) {
        refusal = QStringLiteral("名字最多 %1 个字。").arg(MaxChildNameLength);
    } else {
        for (const history::Child& c : SharedHistory().Children()) {
            if (c.name == name && c.id != renaming) {
                refusal = QStringLiteral("已经有一个叫“%1”的孩子了，请换一个名字。").arg(name);
            }
        }
    }
    if (!refusal.isEmpty()) {
        Hooks().messageBox(refusal, Title);
        name_->setFocus();
        return {};
    }
    return name;
}

void ChildrenWindow::addChild()
{
    const QString name = checkedName(0);
    if (name.isEmpty()) {
        return;
    }
    history::Store& store = SharedHistory();
    const history::WriteResult added =
        store.AddChild(name, grade_->currentData().toInt(), Hooks().now());
    const history::WriteResult limited =
        added.Ok() && limitMs() ? store.SetLimit(added.id, limitMs()) : added;
    if (!limited.Ok()) {
        Hooks().messageBox(ChildWriteText(limited, name), Title);
    }
    fill(added.id);
}

void ChildrenWindow::saveChild()
{
    const qint64 id = chosen();
    const QString name = checkedName(id);
    if (id == 0 || name.isEmpty()) {
        return;
    }
    history::Store& store = SharedHistory();
    for (const history::WriteResult& saved :
         {store.RenameChild(id, name), store.SetGrade(id, grade_->currentData().toInt()),
          store.SetLimit(id, limitMs())}) {
        if (!saved.Ok()) {
            Hooks().messageBox(ChildWriteText(saved, name), Title);
            break;
        }
    }
    fill(id);
}

void ChildrenWindow::removeChild()
{
    history::Store& store = SharedHistory();
    const std::optional<history::Child> child = store.ChildById(chosen());
    if (!child) {
        return;
    }
    const history::ChildHistorySize size = store.SizeOf(child->id);
    const QString question =
        QStringLiteral("删除“%1”会同时删除 %2 轮练习、%3 个答案，不能恢复。确定删除吗？")
            .arg(child->name)
            .arg(size.rounds)
            .arg(size.answers);
    if (!Hooks().confirm(question, Title, QStringLiteral("删除"), QStringLiteral("不删除"))) {
        return;
    }
    const history::WriteResult removed = store.RemoveChild(child->id);
    if (!removed.Ok()) {
        Hooks().messageBox(ChildWriteText(removed, child->name), Title);
    }
    fill(0);
}

} // namespace sumvarl

namespace sumvarl {

void ChildrenWindow::exportAnswers()
{
    const std::optional<history::Child> child = SharedHistory().ChildById(chosen());
    if (!child) {
        return;
    }
    const QString caption = QStringLiteral("导出答案");
    QString suggested =
        SuggestedPdfPath(QStringLiteral("答案-") + child->name, Hooks().now().date());
    suggested.replace(QStringLiteral(".pdf"), QStringLiteral(".csv"));
    const QString path = Hooks().saveFileName(caption, suggested);
    if (path.isEmpty()) {
        return;
    }
    const SaveOutcome saved = ExportAnswersCsv(child->id, path);
    if (!saved.Ok()) {
        Hooks().messageBox(SaveFailureMessage(saved.result, path, saved.reason), caption);
    }
}

void ChildrenWindow::saveWeeklyReport()
{
    const std::optional<history::Child> child = SharedHistory().ChildById(chosen());
    if (!child) {
        return;
    }
    const QString caption = QStringLiteral("本周报告");
    const QDate today = Hooks().now().date();
    const QString path = Hooks().saveFileName(
        caption, SuggestedPdfPath(QStringLiteral("本周报告-") + child->name, today));
    if (path.isEmpty()) {
        return;
    }
    const SaveOutcome saved = SaveWeeklyReportPdf(SharedHistory(), child->id, today, path);
    if (!saved.Ok()) {
        Hooks().messageBox(SaveFailureMessage(saved.result, path, saved.reason), caption);
    }
}

void ChildrenWindow::printWeeklyReport()
{
    const std::optional<history::Child> child = SharedHistory().ChildById(chosen());
    if (!child || reportPrinting_->Busy()) {
        return;
    }
    reportPrinting_->Follow(
        Hooks().printPages(WeeklyReportPages(SharedHistory(), child->id, Hooks().now().date())),
        QStringLiteral("打印本周报告"));
}

void ChildrenWindow::restoreBackup()
{
    const QString caption = QStringLiteral("恢复备份");
    const QString folder =
        QFileInfo(SuggestedPdfPath(QStringLiteral("Sumvarl-备份"), Hooks().now().date())).path();
    const QString path = Hooks().backupFileName(caption, folder);
    if (path.isEmpty()) {
        return;
    }
    const QString question =
        QStringLiteral("用“%1”里的记录换掉现在的全部记录吗？现在的记录会先另存在它旁边，不会丢。")
            .arg(QFileInfo(path).fileName());
    if (!Hooks().confirm(question, caption, QStringLiteral("恢复"), QStringLiteral("不恢复"))) {
        return;
    }
    const history::RestoreResult done = RestoreSharedHistory(path);
    if (!done.restored) {
        Hooks().messageBox(RestoreFailureText(done), caption);
        return;
    }
    status_->setText(done.keptAside.isEmpty()
                         ? QStringLiteral("已恢复备份。")
                         : QStringLiteral("已恢复备份。原来的记录另存为：%1").arg(done.keptAside));
    fill(SharedHistory().LastChild().value_or(0));
}

void ChildrenWindow::backUp()
{
    const QString caption = QStringLiteral("备份全部记录");
    QString suggested = SuggestedPdfPath(QStringLiteral("Sumvarl-备份"), Hooks().now().date());
    suggested.replace(QStringLiteral(".pdf"), QStringLiteral(".sqlite3"));
    const QString path = Hooks().saveFileName(caption, suggested);
    if (path.isEmpty()) {
        return;
    }
    const history::WriteResult made = SharedHistory().Backup(path);
    if (!made.Ok()) {
        Hooks().messageBox(QStringLiteral("备份没有做成：%1").arg(made.reason), caption);
    }
}

} // namespace sumvarl
