#include "ChartView.h"

#include <cstdlib>

#include <QMouseEvent>
#include <QRubberBand>
#include <QtCharts/QChart>

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    // Qt's own rubber band and right-click zoom-out are replaced by ours.
    setRubberBand(QChartView::NoRubberBand);
    setDragMode(QGraphicsView::NoDrag);
    band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
    band_->hide();
}

QPointF ChartView::ToChart(const QPoint& viewPos) const {
    return chart()->mapFromScene(mapToScene(viewPos));
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (drag_ != Drag::None) {
        event->accept();
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        drag_ = Drag::Select;
        origin_ = pos;
        band_->setGeometry(QRect(origin_, QSize()));
        band_->show();
        event->accept();
    } else if (event->button() == Qt::RightButton) {
        drag_ = Drag::Move;
        origin_ = last_ = pos;
        setCursor(Qt::ClosedHandCursor);
        event->accept();
    } else {
        QChartView::mousePressEvent(event);
    }
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (drag_ == Drag::Select) {
        band_->setGeometry(QRect(origin_, pos).normalized());
        event->accept();
    } else if (drag_ == Drag::Move) {
        const QPoint delta = pos - last_;
        last_ = pos;
        if (!delta.isNull()) emit scrollRequested(QPointF(delta));
        event->accept();
    } else {
        QChartView::mouseMoveEvent(event);
    }
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (drag_ == Drag::Select && event->button() == Qt::LeftButton) {
        drag_ = Drag::None;
        band_->hide();
        const QPoint delta = pos - origin_;
        if (std::abs(delta.x()) < kMinimumDrag && std::abs(delta.y()) < kMinimumDrag) {
            event->accept();
            return;  // a click, not a selection
        }
        if (delta.x() < 0 || delta.y() < 0) {
            emit zoomResetRequested();  // dragged upwards or to the left
        } else {
            emit zoomRequested(QRectF(ToChart(origin_), ToChart(pos)).normalized());
        }
        event->accept();
    } else if (drag_ == Drag::Move && event->button() == Qt::RightButton) {
        drag_ = Drag::None;
        const QPoint delta = pos - last_;
        if (!delta.isNull()) emit scrollRequested(QPointF(delta));
        unsetCursor();
        event->accept();
    } else if (drag_ != Drag::None) {
        event->accept();  // another button let go during a drag
    } else {
        QChartView::mouseReleaseEvent(event);
    }
}
