// The viewer's one window: a chart of 601 hourly USD/JPY candles with the
// indicator chosen in the combo box drawn as a line on a second scale at the
// right, and a short hint text. The window reaches the library through two
// entries only, HistoryKotCSV and Indikator.
#pragma once

#include <QWidget>

#include "zentrik/zentrik.h"

class ChartView;
class QChart;
class QCandlestickSeries;
class QComboBox;
class QLineSeries;
class QTextEdit;
class QValueAxis;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCapacity = 1101;      // bars the window holds
    static constexpr int kComputeCount = 1001;  // bars handed to Indikator
    static constexpr int kFirstShown = 300;     // first bar drawn
    static constexpr int kLastShown = 900;      // last bar drawn
    static constexpr int kShownCount = kLastShown - kFirstShown + 1;
    static constexpr int kDigits = 2;           // decimals of a yen pair
    static const char* const kQuoteFile;        // "USDJPY60.csv", current directory

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Runs when the window becomes active: the first time it loads the quote
    // file and draws its bars 300 to 900 as candles; later activations keep
    // what is drawn.
    void FormActivate();

    // Runs when the combo box's text changes: computes the catalogue number of
    // the chosen item (-1 for text that is no item), replaces the line and
    // shows the full range again.
    void ComboBox1Change();

    // Shows the whole range: x 0 to 600, both value scales fitted to their data.
    void ResetZoom();

    // Access for tests and for the screenshot option.
    QChart* chart() const { return chart_; }
    ChartView* chartView() const { return chartView_; }
    QCandlestickSeries* candleSeries() const { return series1_; }
    QLineSeries* lineSeries() const { return series2_; }
    QComboBox* chooser() const { return comboBox1_; }
    QTextEdit* memo() const { return memo1_; }
    QValueAxis* axisX() const { return axisX_; }
    QValueAxis* axisLeft() const { return axisLeft_; }
    QValueAxis* axisRight() const { return axisRight_; }
    const Bar* bars() const { return bars_; }
    bool historyLoaded() const { return loaded_; }
    int lastNumber() const { return lastNumber_; }  // catalogue number of the latest choice
    int lastStatus() const { return lastStatus_; }  // status Indikator returned for it

protected:
    bool event(QEvent* event) override;

private:
    struct Range {
        double min;
        double max;
    };

    void ZoomInto(const QRectF& area);
    void ScrollBy(const QPointF& pixels);
    static void SetRange(QValueAxis* axis, Range range);
    static Range Fitted(double low, double high);

    Bar bars_[kCapacity] = {};
    bool loaded_ = false;
    int lastNumber_ = -1;
    int lastStatus_ = 0;

    QChart* chart_ = nullptr;
    ChartView* chartView_ = nullptr;
    QCandlestickSeries* series1_ = nullptr;
    QLineSeries* series2_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisLeft_ = nullptr;
    QValueAxis* axisRight_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QTextEdit* memo1_ = nullptr;

    Range fullLeft_{-1.0, 1.0};
    Range fullRight_{-1.0, 1.0};
};
