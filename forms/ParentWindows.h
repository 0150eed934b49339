#pragma once

// What a parent looks at for one child: 掌握情况, the state of each basic fact in a grid per
// operation with the answers behind a cell, and 进步, answers per minute and accuracy by day.

#include "history/Progress.h"
#include "print/PrintResult.h"
#include "print/ProgressChart.h"
#include "wording/ParentReports.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QTableWidget;

namespace sumvarl {

// 导出答案…: every answer of the child as CSV in UTF-8 with a byte-order mark, so that Excel opens
// it with the Chinese intact; written beside path, then put in its place.
SaveOutcome ExportAnswersCsv(qint64 child, const QString& path);

class FactGridWindow final : public QDialog
{
    Q_OBJECT
public:
    FactGridWindow(qint64 child, QWidget* parent = nullptr);

    // The answers behind one cell of the grid of that operation, in the list below the grids.
    void showCell(Operation operation, int row, int column);

private:
    qint64 child_;
    QListWidget* answers_ = nullptr;
    QLabel* cellTitle_ = nullptr;
};

class ProgressWindow final : public QDialog
{
    Q_OBJECT
public:
    ProgressWindow(qint64 child, QWidget* parent = nullptr);

    const ChartPicture& picture() const { return picture_; }
    // 保存为 PDF…: the chart on an A4 page.
    void savePdf();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    qint64 child_;
    QComboBox* period_ = nullptr;
    QComboBox* measure_ = nullptr;
    QWidget* chartArea_ = nullptr;
    ChartPicture picture_;
};

} // namespace sumvarl
