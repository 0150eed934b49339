// The settings window and sumvarl-batch refuse the same settings in the same Chinese words: the
// window's message is the batch's Chinese line followed by what to do in the window.

#include "batch/BatchOptions.h"
#include "forms/frmMain.h"
#include "forms/tests/FormsTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using sumvarl::frmMain;
using sumvarl::test::Control;

class SameWordsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }

    void windowAndBatchRefuseInOneWording_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("weight") << "Text1_0"
                                << "40000" << QStringList{"--add", "40000"};
        QTest::newRow("fill percent") << "Text1_4"
                                      << "99999" << QStringList{"--fill", "99999"};
        QTest::newRow("range") << "Combo1"
                               << "-32768" << QStringList{"--range", "-32768"};
        QTest::newRow("count") << "Combo2"
                               << "201" << QStringList{"--count", "201"};
    }

    void windowAndBatchRefuseInOneWording()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QStringList, options);

        sumvarl::test::HookRecorder hooks;
        frmMain window;
        window.show();
        if (box == QLatin1String("Text1_4")) {
            QTest::mouseClick(Control<QCheckBox>(window, QStringLiteral("Check1_4")),
                              Qt::LeftButton);
        }
        QWidget* target = box.startsWith(QLatin1String("Combo"))
                              ? static_cast<QWidget*>(Control<QComboBox>(window, box))
                              : Control<QLineEdit>(window, box);
        sumvarl::test::TypeInto(*target, typed);
        QTest::mouseClick(Control<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
        QCOMPARE(hooks.messages.size(), std::size_t{1});

        const sumvarl::batch::ParseOutcome batch = sumvarl::batch::ParseArguments(
            QStringList{QStringLiteral("sumvarl-batch")} + options +
            QStringList{QStringLiteral("-o"), QStringLiteral("x.pdf")});
        QVERIFY(!batch.job.has_value());
        const QString chinese = batch.error.section(QLatin1Char('\n'), 0, 0)
                                    .section(QStringLiteral("sumvarl-batch: "), 1);
        QVERIFY(!chinese.isEmpty());
        QCOMPARE(hooks.messages[0].prompt, chinese + QStringLiteral("，请改正后再按“开始”。"));
    }
};

QTEST_MAIN(SameWordsTest)
#include "same_words_test.moc"
