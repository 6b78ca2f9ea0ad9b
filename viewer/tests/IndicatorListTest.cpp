// Tests of the caption table shared by the viewer and the command-line tool,
// and of `zentrik list`, which prints it.
#include <cstring>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

#include "IndicatorList.h"

using zentrik::viewer::IndicatorCaption;
using zentrik::viewer::IndicatorNumberOf;
using zentrik::viewer::kIndicatorCount;

class IndicatorListTest : public QObject {
    Q_OBJECT

private slots:
    void captionsAreExact_data();
    void captionsAreExact();
    void everyCaptionStartsWithItsNumber();
    void lookupIsByExactText();
    void listCommandPrintsEveryCaption();
};

void IndicatorListTest::captionsAreExact_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    const auto row = [](int number, const char* caption) {
        QTest::addRow("%d", number) << number << QString::fromUtf8(caption);
    };
    row(0, "0 - Простая средняя с периодом 3 ");           // closing blank
    row(1, "1 - Простая средняя с периодом 5");
    row(19, "19- Взвешенная средняя с периодом 5");         // no blank before the hyphen
    row(27, "27 - Среднее направленное движение с периодом  3");  // two blanks
    row(36, "36 - Среднее направленное движение с периодом  343");
    row(100, "100 - Линия тренда за период 13 ");
    row(124, "124 -  CCI с периодами 3 и 8");               // two blanks after the hyphen
    row(136, "136 -  CCI с периодами 8 и 127");
    row(201, "201 - WILL");
    row(206, "206 - Разница линий тренда ");
    row(220, "220 - Час ");
    row(230, "230 - TSF");
    row(287, "287 - Разница TrendDin  и цены закрытия");
    row(288, "288 - WILL");
    row(395, "395 - TSF");
    row(449, "449- Разница экспоненциальных средних с периодами 8 и 39");
    row(460, "460 - Разница взвешенных средних с периодами 8 и 46");
}

void IndicatorListTest::captionsAreExact() {
    QFETCH(int, number);
    QFETCH(QString, caption);
    QCOMPARE(QString::fromUtf8(IndicatorCaption(number)), caption);
}

void IndicatorListTest::everyCaptionStartsWithItsNumber() {
    QCOMPARE(kIndicatorCount, 461);
    for (int k = 0; k < kIndicatorCount; ++k) {
        const QString caption = QString::fromUtf8(IndicatorCaption(k));
        const QString number = QString::number(k);
        QVERIFY2(caption.startsWith(number + " - ") || caption.startsWith(number + "- "), qPrintable(caption));
        QVERIFY(caption.size() > number.size() + 3);
        QVERIFY(QString::fromUtf8(IndicatorCaption(k)).toUtf8() == QByteArray(IndicatorCaption(k)));  // valid UTF-8
    }
    QVERIFY(IndicatorCaption(-1) == nullptr);
    QVERIFY(IndicatorCaption(kIndicatorCount) == nullptr);
}

void IndicatorListTest::lookupIsByExactText() {
    for (int k = 0; k < kIndicatorCount; ++k) QCOMPARE(IndicatorNumberOf(IndicatorCaption(k)), k);
    QCOMPARE(IndicatorNumberOf("0 - Простая средняя с периодом 3"), -1);  // closing blank missing
    QCOMPARE(IndicatorNumberOf("361"), -1);
    QCOMPARE(IndicatorNumberOf(""), -1);
    QCOMPARE(IndicatorNumberOf(nullptr), -1);
}

void IndicatorListTest::listCommandPrintsEveryCaption() {
#ifndef ZENTRIK_CLI_PROGRAM
    QSKIP("the command-line tool is not built");
#else
    QProcess program;
    program.start(ZENTRIK_CLI_PROGRAM, {"list"});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    const QByteArray output = program.readAllStandardOutput();
    QVERIFY(output.endsWith('\n'));
    const QList<QByteArray> lines = output.left(output.size() - 1).split('\n');
    QCOMPARE(lines.size(), kIndicatorCount);
    for (int k = 0; k < kIndicatorCount; ++k) {
        QCOMPARE(lines[k], QByteArray::number(k) + '\t' + QByteArray(IndicatorCaption(k)));
    }

    program.start(ZENTRIK_CLI_PROGRAM, {"list", "extra"});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 2);
#endif
}

QTEST_GUILESS_MAIN(IndicatorListTest)
#include "IndicatorListTest.moc"
