// chartdemo: the demo viewer of the zentrik library.
//
//   chartdemo                         open the window (reads USDJPY60.csv from
//                                     the current directory)
//   chartdemo --indicator N           ... with catalogue entry N chosen
//   chartdemo --screenshot FILE [--indicator N]
//                                     draw the window without showing it and
//                                     save it as a PNG image, then exit
#include <cstdio>

#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QString>

#include "Form1.h"
#include "IndicatorList.h"

namespace {

// Prints the usage to `out`, after `message` when there is one, and returns
// the exit code of a bad command line.
int Usage(std::FILE* out, const QString& message) {
    if (!message.isEmpty()) std::fprintf(stderr, "chartdemo: %s\n", qPrintable(message));
    std::fprintf(out,
                 "usage: chartdemo [--indicator N] [--screenshot FILE]\n"
                 "  --indicator N      choose catalogue entry N (0 .. %d)\n"
                 "  --screenshot FILE  save the window as a PNG image instead of showing it\n"
                 "The quote file USDJPY60.csv is read from the current directory.\n",
                 zentrik::viewer::kIndicatorCount - 1);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is read before Qt starts, so that --help and mistakes
    // are answered without a display.
    QString screenshot;
    int indicator = -1;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == "--help" || arg == "-h") {
            Usage(stdout, QString());
            return 0;
        } else if (arg == "--screenshot") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage(stderr, "--screenshot needs a file name");
            screenshot = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == "--indicator") {
            bool ok = false;
            indicator = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]).toInt(&ok) : -1;
            if (!ok || indicator < 0 || indicator >= zentrik::viewer::kIndicatorCount) {
                return Usage(stderr, QString("--indicator needs a number from 0 to %1").arg(zentrik::viewer::kIndicatorCount - 1));
            }
            ++i;
        } else {
            return Usage(stderr, QString("unknown argument '%1'").arg(arg));
        }
    }

    // A screenshot needs no screen: without a display, draw offscreen.
    if (!screenshot.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("chartdemo");

    TForm1 form;
    if (!screenshot.isEmpty()) {
        // Lay the window out and draw it without putting it on a screen.
        form.setAttribute(Qt::WA_DontShowOnScreen);
        form.show();
        form.FormActivate();
        if (indicator >= 0) form.chooser()->setCurrentIndex(indicator);
        QApplication::processEvents();
        const QPixmap image = form.grab();
        if (image.isNull() || !image.save(screenshot, "PNG")) {
            std::fprintf(stderr, "chartdemo: cannot write %s\n", qPrintable(screenshot));
            return 5;
        }
        std::printf("chartdemo: wrote %s (%dx%d)\n", qPrintable(screenshot), image.width(), image.height());
        return 0;
    }

    form.show();
    if (indicator >= 0) {
        form.FormActivate();  // load the history before computing on it
        form.chooser()->setCurrentIndex(indicator);
    }
    return QApplication::exec();
}
