// Tests of the viewer window on Qt's offscreen platform: the chooser's items,
// the candles, the indicator line, zooming and scrolling with the mouse, a
// missing quote file and the screenshot option.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts/QCandlestickSeries>
#include <QtCharts/QCandlestickSet>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "ChartView.h"
#include "Form1.h"
#include "IndicatorList.h"
#include "zentrik/zentrik.h"

namespace {

// The library's own answer for catalogue number `number` over the sample.
std::vector<double> LibraryResult(int number, const Bar* bars) {
    std::vector<double> result(TForm1::kComputeCount, -1.0);
    Indikator(number, result.data(), TForm1::kComputeCount, bars);
    return result;
}

// Viewport position of a point given as a fraction of the chart's plot area.
QPoint PlotPoint(const TForm1& form, double fx, double fy) {
    const QRectF plot = form.chart()->plotArea();
    const QPointF inChart(plot.left() + fx * plot.width(), plot.top() + fy * plot.height());
    return form.chartView()->mapFromScene(form.chart()->mapToScene(inChart));
}

void Drag(TForm1& form, Qt::MouseButton button, QPoint from, QPoint to) {
    QWidget* viewport = form.chartView()->viewport();
    const auto send = [&](QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(pos), QPointF(viewport->mapToGlobal(pos)), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    send(QEvent::MouseButtonPress, from, button);
    send(QEvent::MouseMove, (from + to) / 2, button);
    send(QEvent::MouseMove, to, button);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chooserHoldsTheCaptionsInOrder();
    void activationDrawsTheCandlesOnce();
    void firstItemDrawsTheLibraryResult();
    void itemPassesItsIndexAsNumber();
    void secondChoiceReplacesTheLineAndKeepsTheCandles();
    void typedTextIsNumberMinusOneAndAFlatLine();
    void zoomThenChoiceShowsTheFullRange();
    void dragUpwardsOrLeftwardsRestoresTheFullView();
    void rightDragMovesAlongTheChart();
    void missingQuoteFileGivesFlatCandles();
    void screenshotOptionWritesThePng();

private:
    void Open();
    void Choose(int index);

    std::unique_ptr<TForm1> form_;
    Bar bars_[TForm1::kCapacity] = {};
};

void Form1Test::init() {
    QVERIFY(QDir::setCurrent(CHARTDEMO_SAMPLE_DIR));
    std::fill(std::begin(bars_), std::end(bars_), Bar{});
    QVERIFY(HistoryKotCSV(TForm1::kQuoteFile, TForm1::kDigits, bars_) != 0);
}

void Form1Test::cleanup() {
    form_.reset();
    QDir::setCurrent(CHARTDEMO_SAMPLE_DIR);
}

void Form1Test::Open() {
    form_ = std::make_unique<TForm1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form_.get(), &activate);
    QVERIFY(form_->historyLoaded());
}

void Form1Test::Choose(int index) { form_->chooser()->setCurrentIndex(index); }

void Form1Test::chooserHoldsTheCaptionsInOrder() {
    Open();
    QComboBox* chooser = form_->chooser();
    QCOMPARE(chooser->count(), 461);
    QVERIFY(chooser->isEditable());
    QCOMPARE(chooser->itemText(0), QString::fromUtf8("0 - Простая средняя с периодом 3 "));
    QCOMPARE(chooser->itemText(460), QString::fromUtf8("460 - Разница взвешенных средних с периодами 8 и 46"));
    QCOMPARE(chooser->itemText(19), QString::fromUtf8("19- Взвешенная средняя с периодом 5"));
    QCOMPARE(chooser->itemText(449), QString::fromUtf8("449- Разница экспоненциальных средних с периодами 8 и 39"));
    QCOMPARE(chooser->itemText(220), QString::fromUtf8("220 - Час "));
    QCOMPARE(chooser->itemText(27), QString::fromUtf8("27 - Среднее направленное движение с периодом  3"));
    for (int k = 0; k < 461; ++k) {
        QCOMPARE(chooser->itemText(k), QString::fromUtf8(zentrik::viewer::IndicatorCaption(k)));
        QVERIFY(chooser->itemText(k).startsWith(QString::number(k)));
    }
    QCOMPARE(chooser->lineEdit()->placeholderText(), QString::fromUtf8("Выберите индикатор для отображения"));
    QCOMPARE(chooser->currentIndex(), -1);
    QVERIFY(zentrik::viewer::IndicatorCaption(461) == nullptr);
    QVERIFY(zentrik::viewer::IndicatorCaption(-1) == nullptr);
    QCOMPARE(zentrik::viewer::IndicatorNumberOf("361 - no such caption"), -1);
    QCOMPARE(zentrik::viewer::IndicatorNumberOf(zentrik::viewer::IndicatorCaption(288)), 288);
}

void Form1Test::activationDrawsTheCandlesOnce() {
    Open();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form_.get(), &activate);  // a second activation
    form_->FormActivate();
    const QList<QCandlestickSet*> sets = form_->candleSeries()->sets();
    QCOMPARE(sets.size(), 601);
    for (int k = 0; k < 601; ++k) {
        const Bar& bar = bars_[300 + k];
        QCOMPARE(sets[k]->timestamp(), double(k));
        QCOMPARE(sets[k]->open(), bar.open);
        QCOMPARE(sets[k]->high(), bar.high);
        QCOMPARE(sets[k]->low(), bar.low);
        QCOMPARE(sets[k]->close(), bar.close);
    }
    QVERIFY(bars_[900].close > 50.0);  // the sample holds at least 901 real bars
    QCOMPARE(form_->axisX()->min(), 0.0);
    QCOMPARE(form_->axisX()->max(), 600.0);
}

void Form1Test::firstItemDrawsTheLibraryResult() {
    Open();
    Choose(0);
    QCOMPARE(form_->lastNumber(), 0);
    QCOMPARE(form_->lastStatus(), 0);
    const std::vector<double> expected = LibraryResult(0, bars_);
    const QList<QPointF> points = form_->lineSeries()->points();
    QCOMPARE(points.size(), 601);
    for (int k = 0; k < 601; ++k) {
        QCOMPARE(points[k].x(), double(k));
        QCOMPARE(points[k].y(), expected[static_cast<size_t>(300 + k)]);
    }
    // The 3-bar average of the closes, on the right-hand scale.
    QVERIFY(std::abs(points[0].y() - (bars_[298].close + bars_[299].close + bars_[300].close) / 3.0) < 1e-9);
    const QList<QAbstractAxis*> axes = form_->lineSeries()->attachedAxes();
    QVERIFY(axes.contains(form_->axisRight()));
    QVERIFY(!axes.contains(form_->axisLeft()));
}

void Form1Test::itemPassesItsIndexAsNumber() {
    Open();
    const int index = form_->chooser()->findText(QString::fromUtf8(zentrik::viewer::IndicatorCaption(361)));
    QCOMPARE(index, 361);
    QVERIFY(form_->chooser()->itemText(index).startsWith("361"));
    Choose(index);
    QCOMPARE(form_->lastNumber(), 361);
    const std::vector<double> expected = LibraryResult(361, bars_);
    const QList<QPointF> points = form_->lineSeries()->points();
    QCOMPARE(points.size(), 601);
    for (int k = 0; k < 601; ++k) QCOMPARE(points[k].y(), expected[static_cast<size_t>(300 + k)]);
}

void Form1Test::secondChoiceReplacesTheLineAndKeepsTheCandles() {
    Open();
    Choose(0);
    Choose(5);
    QCOMPARE(form_->lastNumber(), 5);
    const std::vector<double> expected = LibraryResult(5, bars_);
    const std::vector<double> first = LibraryResult(0, bars_);
    const QList<QPointF> points = form_->lineSeries()->points();
    QCOMPARE(points.size(), 601);
    bool differs = false;
    for (int k = 0; k < 601; ++k) {
        QCOMPARE(points[k].y(), expected[static_cast<size_t>(300 + k)]);
        differs = differs || expected[static_cast<size_t>(300 + k)] != first[static_cast<size_t>(300 + k)];
    }
    QVERIFY(differs);
    QCOMPARE(form_->candleSeries()->count(), 601);
    QCOMPARE(form_->candleSeries()->sets().at(600)->close(), bars_[900].close);
}

void Form1Test::typedTextIsNumberMinusOneAndAFlatLine() {
    Open();
    Choose(3);
    form_->chooser()->setEditText("Индикатор, которого нет");
    QCOMPARE(form_->lastNumber(), -1);
    QCOMPARE(form_->lastStatus(), 0);
    QList<QPointF> points = form_->lineSeries()->points();
    QCOMPARE(points.size(), 601);
    for (const QPointF& point : points) QCOMPARE(point.y(), 0.0);
    // A caption without its closing blank is not the item either.
    form_->chooser()->setEditText(QString::fromUtf8("0 - Простая средняя с периодом 3"));
    QCOMPARE(form_->lastNumber(), -1);
    // Typing an item's caption exactly chooses it.
    form_->chooser()->setEditText(QString::fromUtf8(zentrik::viewer::IndicatorCaption(7)));
    QCOMPARE(form_->lastNumber(), 7);
}

void Form1Test::zoomThenChoiceShowsTheFullRange() {
    Open();
    Choose(0);
    const double fullLeftMin = form_->axisLeft()->min();
    const double fullLeftMax = form_->axisLeft()->max();
    Drag(*form_, Qt::LeftButton, PlotPoint(*form_, 0.2, 0.2), PlotPoint(*form_, 0.6, 0.7));
    QVERIFY(form_->axisX()->min() > 100.0);
    QVERIFY(form_->axisX()->max() < 400.0);
    QVERIFY(form_->axisLeft()->max() - form_->axisLeft()->min() < fullLeftMax - fullLeftMin);

    Choose(9);
    QCOMPARE(form_->axisX()->min(), 0.0);
    QCOMPARE(form_->axisX()->max(), 600.0);
    double low = bars_[300].low;
    double high = bars_[300].high;
    for (int i = 300; i <= 900; ++i) {
        low = std::min(low, bars_[i].low);
        high = std::max(high, bars_[i].high);
    }
    QCOMPARE(form_->axisLeft()->min(), low);
    QCOMPARE(form_->axisLeft()->max(), high);
    for (const QPointF& point : form_->lineSeries()->points()) {
        QVERIFY(point.y() >= form_->axisRight()->min());
        QVERIFY(point.y() <= form_->axisRight()->max());
    }
}

void Form1Test::dragUpwardsOrLeftwardsRestoresTheFullView() {
    Open();
    Choose(0);
    const double leftMin = form_->axisLeft()->min();
    const double leftMax = form_->axisLeft()->max();
    const double rightMin = form_->axisRight()->min();
    const double rightMax = form_->axisRight()->max();
    const auto full = [&] {
        return form_->axisX()->min() == 0.0 && form_->axisX()->max() == 600.0 && form_->axisLeft()->min() == leftMin &&
               form_->axisLeft()->max() == leftMax && form_->axisRight()->min() == rightMin &&
               form_->axisRight()->max() == rightMax;
    };

    Drag(*form_, Qt::LeftButton, PlotPoint(*form_, 0.1, 0.1), PlotPoint(*form_, 0.5, 0.5));
    QVERIFY(!full());
    Drag(*form_, Qt::LeftButton, PlotPoint(*form_, 0.6, 0.8), PlotPoint(*form_, 0.7, 0.2));  // bottom to top
    QVERIFY(full());

    Drag(*form_, Qt::LeftButton, PlotPoint(*form_, 0.1, 0.1), PlotPoint(*form_, 0.5, 0.5));
    QVERIFY(!full());
    Drag(*form_, Qt::LeftButton, PlotPoint(*form_, 0.8, 0.3), PlotPoint(*form_, 0.2, 0.6));  // right to left
    QVERIFY(full());

    // A click is no selection.
    Drag(*form_, Qt::LeftButton, PlotPoint(*form_, 0.5, 0.5), PlotPoint(*form_, 0.5, 0.5));
    QVERIFY(full());
}

void Form1Test::rightDragMovesAlongTheChart() {
    Open();
    Choose(0);
    const double leftMin = form_->axisLeft()->min();
    const double leftSpan = form_->axisLeft()->max() - leftMin;
    // Dragging the contents half a plot width to the right shows earlier bars.
    Drag(*form_, Qt::RightButton, PlotPoint(*form_, 0.5, 0.5), PlotPoint(*form_, 1.0, 0.5));
    QVERIFY(std::abs(form_->axisX()->min() - -300.0) < 3.0);
    QVERIFY(std::abs(form_->axisX()->max() - 300.0) < 3.0);
    QVERIFY(std::abs(form_->axisLeft()->min() - leftMin) < 1e-9);
    // Dragging down shows higher prices, the span stays.
    Drag(*form_, Qt::RightButton, PlotPoint(*form_, 0.5, 0.2), PlotPoint(*form_, 0.5, 0.45));
    QVERIFY(form_->axisLeft()->min() > leftMin + 0.2 * leftSpan);
    QVERIFY(std::abs(form_->axisLeft()->max() - form_->axisLeft()->min() - leftSpan) < 1e-9 * leftSpan + 1e-12);
    // Choosing an item brings the full view back.
    Choose(1);
    QCOMPARE(form_->axisX()->min(), 0.0);
    QCOMPARE(form_->axisLeft()->min(), leftMin);
}

void Form1Test::missingQuoteFileGivesFlatCandles() {
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    QVERIFY(QDir::setCurrent(empty.path()));
    Open();
    const QList<QCandlestickSet*> sets = form_->candleSeries()->sets();
    QCOMPARE(sets.size(), 601);
    for (const QCandlestickSet* set : sets) {
        QCOMPARE(set->open(), 0.0);
        QCOMPARE(set->high(), 0.0);
        QCOMPARE(set->low(), 0.0);
        QCOMPARE(set->close(), 0.0);
    }
    Choose(0);
    QCOMPARE(form_->lineSeries()->count(), 601);
    for (const QPointF& point : form_->lineSeries()->points()) QCOMPARE(point.y(), 0.0);
    Choose(460);
    QCOMPARE(form_->lastNumber(), 460);
    QVERIFY(form_->axisLeft()->max() > form_->axisLeft()->min());
    QVERIFY(!form_->grab().isNull());
}

void Form1Test::screenshotOptionWritesThePng() {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString file = out.filePath("chartdemo.png");
    QProcess program;
    program.setWorkingDirectory(CHARTDEMO_SAMPLE_DIR);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(CHARTDEMO_PROGRAM, {"--screenshot", file, "--indicator", "361"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(program.readAllStandardOutput()).contains(file));
    QVERIFY(QFileInfo(file).size() > 0);
    QImage image;
    QVERIFY(image.load(file, "PNG"));
    QCOMPARE(image.size(), QSize(854, 519));

    // A bad option is refused without writing anything.
    const QString other = out.filePath("other.png");
    program.start(CHARTDEMO_PROGRAM, {"--screenshot", other, "--indicator", "461"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 2);
    QVERIFY(!QFileInfo::exists(other));
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
