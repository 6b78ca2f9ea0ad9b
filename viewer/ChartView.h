// The viewer's chart widget: a QChartView that turns mouse drags into
// requests, the way the window's hint text describes them:
//   - left button, dragged from top-left to bottom-right: zoom into the
//     rectangle (a rubber band shows it while dragging);
//   - left button, dragged upwards or to the left: back to the full view;
//   - right button: move the visible area along with the mouse.
// The view only reports pixel positions (in chart coordinates); the window
// owns the axis ranges and applies them.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QtCharts/QChartView>

class QRubberBand;

class ChartView : public QChartView {
    Q_OBJECT

public:
    explicit ChartView(QChart* chart, QWidget* parent = nullptr);

    // Drags shorter than this many pixels in both directions are clicks.
    static constexpr int kMinimumDrag = 4;

signals:
    // Zoom into this rectangle of the chart, in chart coordinates.
    void zoomRequested(const QRectF& area);
    // Show the whole range again.
    void zoomResetRequested();
    // Move the contents by this many pixels (right and down positive).
    void scrollRequested(const QPointF& pixels);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Drag { None, Select, Move };

    QPointF ToChart(const QPoint& viewPos) const;

    QRubberBand* band_ = nullptr;
    Drag drag_ = Drag::None;
    QPoint origin_;
    QPoint last_;
};
