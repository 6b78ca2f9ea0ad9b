#include "Form1.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QLineEdit>
#include <QList>
#include <QPalette>
#include <QPointF>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QtCharts/QCandlestickSeries>
#include <QtCharts/QCandlestickSet>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "ChartView.h"
#include "IndicatorList.h"

const char* const TForm1::kQuoteFile = "USDJPY60.csv";

// HistoryKotCSV has no capacity argument; it stores at most this many bars.
static_assert(TForm1::kCapacity >= ZENTRIK_HISTORY_CAPACITY, "the window must hold every bar the import stores");
static_assert(TForm1::kComputeCount <= TForm1::kCapacity && TForm1::kLastShown < TForm1::kComputeCount);

namespace {

// The window's font: the classic 8-point dialog face, 11 pixels high, with
// metric-compatible stand-ins where it is not installed.
QFont DialogFont(bool bold) {
    QFont font;
    font.setFamilies(QStringList{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"});
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

// Hint shown under the chart, line by line (the first line is empty; the
// trailing blanks are part of the text).
const char* const kMemoLines[] = {
    "",
    "Выберите индикатор для отображения на графике. Мышкой можно",
    "укрупнять выделенные области (выделение левой клавишей) или",
    "перемещаться по графику (правая клавиша). Выделение мышкой ",
    "снизу-вверх и справо-налево возвращает первоначальный масштаб ",
    "графика.   ",
};

// A round step (1, 2 or 5 times a power of ten) that puts about six labels
// on a scale of the given span.
double TickStep(double span) {
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    const double raw = span / 6.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / magnitude;
    const double factor = norm < 1.5 ? 1.0 : norm < 3.0 ? 2.0 : norm < 7.0 ? 5.0 : 10.0;
    return factor * magnitude;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8("Пример использования библиотеки ZENTRIK"));
    // A fixed dialog-style window: title bar with close button, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(854, 519);
    move(249, 141);
    setFont(DialogFont(false));
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Button));  // button face
    setPalette(windowPalette);
    setAutoFillBackground(true);

    // Chart1: candles on the left scale, the indicator on the right scale.
    chart_ = new QChart();
    chart_->setObjectName("Chart1");
    chart_->setTitle(QString::fromUtf8("USD/JPY 60 мин"));
    chart_->setTitleFont(DialogFont(false));
    chart_->legend()->hide();
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setBackgroundRoundness(0);
    chart_->setDropShadowEnabled(false);
    chart_->setBackgroundBrush(windowPalette.color(QPalette::Window));
    chart_->setPlotAreaBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundVisible(true);
    chart_->setMargins(QMargins(4, 4, 4, 4));

    axisX_ = new QValueAxis();
    axisX_->setObjectName("BottomAxis");
    axisX_->setLabelFormat("%.0f");
    axisLeft_ = new QValueAxis();
    axisLeft_->setObjectName("LeftAxis");
    axisLeft_->setTitleText(QString::fromUtf8("Шкала котировок"));
    axisRight_ = new QValueAxis();
    axisRight_->setObjectName("RightAxis");
    axisRight_->setTitleText(QString::fromUtf8("Шкала индикатора"));
    for (QValueAxis* axis : {axisX_, axisLeft_, axisRight_}) {
        axis->setLabelsFont(DialogFont(false));
        axis->setTitleFont(DialogFont(false));
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0.0);
        axis->setMinorTickCount(0);
    }
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisLeft_, Qt::AlignLeft);
    chart_->addAxis(axisRight_, Qt::AlignRight);

    series1_ = new QCandlestickSeries();
    series1_->setObjectName("Series1");
    series1_->setName("Series1");
    series1_->setPen(QPen(Qt::red, 1));
    series1_->setIncreasingColor(Qt::white);  // rising candles hollow
    series1_->setDecreasingColor(Qt::red);    // falling candles filled
    series1_->setBodyOutlineVisible(true);
    series1_->setBodyWidth(0.8);
    series1_->setMinimumColumnWidth(1.0);
    chart_->addSeries(series1_);
    series1_->attachAxis(axisX_);
    series1_->attachAxis(axisLeft_);

    series2_ = new QLineSeries();
    series2_->setObjectName("Series2");
    series2_->setName("Series2");
    series2_->setPen(QPen(QColor(0, 0, 128), 1));  // navy
    series2_->setPointsVisible(false);
    series2_->setPointLabelsVisible(false);
    chart_->addSeries(series2_);
    series2_->attachAxis(axisX_);
    series2_->attachAxis(axisRight_);

    chartView_ = new ChartView(chart_, this);
    chartView_->setObjectName("Chart1View");
    chartView_->setGeometry(0, -8, 854, 385);
    chartView_->setFrameShape(QFrame::NoFrame);
    chartView_->setRenderHint(QPainter::Antialiasing, false);
    connect(chartView_, &ChartView::zoomRequested, this, &TForm1::ZoomInto);
    connect(chartView_, &ChartView::zoomResetRequested, this, &TForm1::ResetZoom);
    connect(chartView_, &ChartView::scrollRequested, this, &TForm1::ScrollBy);

    // Memo1: the disabled hint text, centred, in bold.
    memo1_ = new QTextEdit(this);
    memo1_->setObjectName("Memo1");
    memo1_->setGeometry(8, 384, 465, 129);
    memo1_->setFont(DialogFont(true));
    memo1_->setReadOnly(true);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        QStringList lines;
        for (const char* line : kMemoLines) lines << QString::fromUtf8(line);
        memo1_->setPlainText(lines.join('\n'));
        QTextCursor cursor(memo1_->document());
        cursor.select(QTextCursor::Document);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        cursor.mergeBlockFormat(centred);
    }
    QPalette memoPalette = memo1_->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        memoPalette.setColor(group, QPalette::Base, windowPalette.color(QPalette::Window));
    }
    memo1_->setPalette(memoPalette);
    memo1_->setEnabled(false);

    // ComboBox1: editable chooser of the catalogue entries.
    comboBox1_ = new QComboBox(this);
    comboBox1_->setObjectName("ComboBox1");
    comboBox1_->setGeometry(480, 432, 361, 21);
    comboBox1_->setEditable(true);
    comboBox1_->setInsertPolicy(QComboBox::NoInsert);
    comboBox1_->setMaxVisibleItems(16);
    {
        QStringList captions;
        captions.reserve(zentrik::viewer::kIndicatorCount);
        for (int k = 0; k < zentrik::viewer::kIndicatorCount; ++k) {
            captions << QString::fromUtf8(zentrik::viewer::IndicatorCaption(k));
        }
        comboBox1_->addItems(captions);
    }
    comboBox1_->setCurrentIndex(-1);
    comboBox1_->lineEdit()->setPlaceholderText(QString::fromUtf8("Выберите индикатор для отображения"));
    comboBox1_->lineEdit()->clear();
    connect(comboBox1_, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });

    ResetZoom();
}

TForm1::~TForm1() = default;

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(event);
}

void TForm1::FormActivate() {
    // The history is loaded and drawn once; activating the window again (after
    // switching to another program) must not add the candles a second time.
    if (loaded_) return;
    loaded_ = true;

    // A missing file leaves the bars at zero: the chart then shows flat candles
    // at 0, as the history it was given.
    HistoryKotCSV(kQuoteFile, kDigits, bars_);

    QList<QCandlestickSet*> sets;
    sets.reserve(kShownCount);
    double low = bars_[kFirstShown].low;
    double high = bars_[kFirstShown].high;
    for (int i = kFirstShown; i <= kLastShown; ++i) {
        const Bar& bar = bars_[i];
        sets << new QCandlestickSet(bar.open, bar.high, bar.low, bar.close, i - kFirstShown);
        for (double value : {bar.open, bar.high, bar.low, bar.close}) {
            if (!std::isfinite(value)) continue;
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    series1_->append(sets);
    fullLeft_ = Fitted(low, high);
    ResetZoom();
}

void TForm1::ComboBox1Change() {
    // The item whose caption is the combo box's text; typed text that is no
    // caption names no catalogue entry.
    const QString text = comboBox1_->currentText();
    const int number = comboBox1_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);

    series2_->clear();
    std::vector<double> result(kComputeCount, 0.0);
    lastNumber_ = number;
    lastStatus_ = Indikator(number, result.data(), kComputeCount, bars_);

    // A failed computation may leave infinities or not-a-number values; those
    // bars are left out of the line rather than drawn at a made-up value.
    QList<QPointF> points;
    points.reserve(kShownCount);
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    for (int i = kFirstShown; i <= kLastShown; ++i) {
        const double y = result[static_cast<size_t>(i)];
        if (!std::isfinite(y)) continue;
        points << QPointF(i - kFirstShown, y);
        low = any ? std::min(low, y) : y;
        high = any ? std::max(high, y) : y;
        any = true;
    }
    series2_->replace(points);
    fullRight_ = Fitted(low, high);
    ResetZoom();
}

TForm1::Range TForm1::Fitted(double low, double high) {
    if (!std::isfinite(low) || !std::isfinite(high) || low > high) return {-1.0, 1.0};
    if (low == high) {
        // A flat series sits in the middle of the scale.
        const double pad = low == 0.0 ? 1.0 : std::abs(low) * 0.01;
        return {low - pad, high + pad};
    }
    return {low, high};
}

void TForm1::SetRange(QValueAxis* axis, Range range) {
    if (!(range.max > range.min) || !std::isfinite(range.min) || !std::isfinite(range.max)) return;
    const double step = TickStep(range.max - range.min);
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step))), 0, 10);
    axis->setTickInterval(step);
    axis->setLabelFormat(QString("%.%1f").arg(decimals));
    axis->setRange(range.min, range.max);
}

void TForm1::ResetZoom() {
    SetRange(axisX_, {0.0, static_cast<double>(kShownCount - 1)});
    SetRange(axisLeft_, fullLeft_);
    SetRange(axisRight_, fullRight_);
}

void TForm1::ZoomInto(const QRectF& area) {
    const QRectF plot = chart_->plotArea();
    const QRectF box = area.intersected(plot);
    if (box.width() < 1.0 || box.height() < 1.0) return;
    const auto along = [](QValueAxis* axis, double from, double to) {
        const double span = axis->max() - axis->min();
        return Range{axis->min() + from * span, axis->min() + to * span};
    };
    // Fractions of the plot area; y counts upwards from the bottom edge.
    const double x0 = (box.left() - plot.left()) / plot.width();
    const double x1 = (box.right() - plot.left()) / plot.width();
    const double y0 = (plot.bottom() - box.bottom()) / plot.height();
    const double y1 = (plot.bottom() - box.top()) / plot.height();
    SetRange(axisX_, along(axisX_, x0, x1));
    SetRange(axisLeft_, along(axisLeft_, y0, y1));
    SetRange(axisRight_, along(axisRight_, y0, y1));
}

void TForm1::ScrollBy(const QPointF& pixels) {
    const QRectF plot = chart_->plotArea();
    if (plot.width() < 1.0 || plot.height() < 1.0) return;
    // The contents follow the mouse: moving right shows earlier bars, moving
    // down shows higher values.
    const auto shifted = [](QValueAxis* axis, double fraction) {
        const double delta = fraction * (axis->max() - axis->min());
        return Range{axis->min() + delta, axis->max() + delta};
    };
    const double fx = -pixels.x() / plot.width();
    const double fy = pixels.y() / plot.height();
    SetRange(axisX_, shifted(axisX_, fx));
    SetRange(axisLeft_, shifted(axisLeft_, fy));
    SetRange(axisRight_, shifted(axisRight_, fy));
}
