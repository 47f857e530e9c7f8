// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Both windows at 144 DPI, reached in each way that Qt offers, against the
// same windows at 96 DPI: every control keeps its place and size in twips,
// so that each window scales as a whole, and no text is cut off that is
// whole at 96 DPI.
//
// Qt reads these settings once, at start, so each one needs a process of its
// own: the test runs itself with --measure under every setting and compares
// what the runs report.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"
#include "progress_window/progress_window.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <cstdio>

namespace {

constexpr const char *MeasureArgument = "--measure";

// How one control came out in one run. Places are in device pixels from
// the top-left corner of the window's client area.
struct Measurement
{
    QRectF rect;
    bool textFits = true;
    int wholeRows = 0; // list boxes: entries shown from top to bottom
};

struct Run
{
    double logicalDpi = 0;
    double devicePixelRatio = 0;
    QHash<QString, Measurement> controls; // "MainWindow/fontList", "MainWindow" for the window
    QStringList order;
    QString error;
};

// ---- The measuring run ----------------------------------------------------

bool fitsIn(const QFont &font, const QString &text, const QRectF &room)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
}

QRectF buttonContents(QAbstractButton *button, QStyle::SubElement element)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(element, &option, button);
}

Measurement measure(QWidget *control)
{
    Measurement m;
    if (auto *label = qobject_cast<QLabel *>(control)) {
        m.textFits = fitsIn(label->font(), label->text(), label->contentsRect());
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        m.textFits = fitsIn(button->font(), button->text(),
                            buttonContents(button, QStyle::SE_PushButtonContents));
    } else if (auto *option = qobject_cast<QRadioButton *>(control)) {
        m.textFits = fitsIn(option->font(), option->text(),
                            buttonContents(option, QStyle::SE_RadioButtonContents));
    } else if (auto *text = qobject_cast<QLineEdit *>(control)) {
        m.textFits = text->minimumSizeHint().height() <= text->height();
    } else if (auto *list = qobject_cast<ListBox *>(control)) {
        // An entry is cut off when its row is cut by the list's lower edge
        // or its text is wider than the row.
        const QFontMetricsF metrics(list->font());
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        const QRect viewport = list->viewport()->rect();
        for (int row = 0; row < list->count(); ++row) {
            const QRect rect = list->visualRect(list->model()->index(row, 0));
            if (!viewport.contains(rect))
                break;
            ++m.wholeRows;
            m.textFits = m.textFits
                && metrics.horizontalAdvance(list->text(row)) + 2 * margin <= rect.width();
        }
    }
    return m;
}

void report(QWidget *window, qreal dpr)
{
    const QRectF client(window->geometry());
    std::printf("control %s %g %g %g %g 1 0\n", qPrintable(window->objectName()),
                client.x() * dpr, client.y() * dpr, client.width() * dpr, client.height() * dpr);
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        // Qt's own parts of a control (a list's viewport, scroll bars).
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        const Measurement m = measure(control);
        const QRectF rect(QPointF(control->mapTo(window, QPoint(0, 0))), QSizeF(control->size()));
        std::printf("control %s/%s %g %g %g %g %d %d\n", qPrintable(window->objectName()),
                    qPrintable(name), rect.x() * dpr, rect.y() * dpr, rect.width() * dpr,
                    rect.height() * dpr, int(m.textFits), m.wholeRows);
    }
}

int measureWindows(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FakePrinter printer;
    printer.fontList = {"C059", "DejaVu Sans Mono", "Liberation Sans Narrow", "Nimbus Roman",
                        "Liberation Serif", "URW Bookman", "Z003", "DejaVu Serif Condensed"};
    FakeScreen screen;
    FakeRuntime runtime;
    ProcessFontState fontState;
    FontCatalogue fonts{fontState};
    MainWindow mainWindow(fonts, printer, screen, runtime);
    // Fills the lists, shows the window and selects the default sizes.
    mainWindow.load();
    ProgressWindow &progress = mainWindow.progressWindow();
    progress.open();
    control<QLabel>(progress, "countLine")->setText(ProgressWindow::countText(7, 19));
    control<QLabel>(progress, "nameLine")->setText(QStringLiteral("DejaVu Serif Condensed"));
    QApplication::processEvents();

    const QScreen *screenOfWindow = mainWindow.screen();
    std::printf("dpi %g %g\n", screenOfWindow->logicalDotsPerInch(),
                screenOfWindow->devicePixelRatio());
    report(&mainWindow, mainWindow.devicePixelRatioF());
    report(&progress, progress.devicePixelRatioF());
    return EXIT_SUCCESS;
}

// ---- The test ---------------------------------------------------------------

// The ways to 144 DPI. Qt 6 turns a font DPI into a scale factor unless its
// high-DPI scaling is off, when the logical DPI itself is 144; with the
// scale factor rounded, 144 DPI is 72 logical DPI at twice the pixels.
const QList<QPair<QString, QStringList>> &settings()
{
    static const QList<QPair<QString, QStringList>> all = {
        {QStringLiteral("scale factor 1.5"), {"QT_SCALE_FACTOR=1.5"}},
        {QStringLiteral("font DPI 144"), {"QT_FONT_DPI=144"}},
        {QStringLiteral("font DPI 144, logical DPI"),
         {"QT_FONT_DPI=144", "QT_ENABLE_HIGHDPI_SCALING=0"}},
        {QStringLiteral("font DPI 144, rounded scale factor"),
         {"QT_FONT_DPI=144", "QT_SCALE_FACTOR_ROUNDING_POLICY=Round"}},
    };
    return all;
}

Run runMeasurement(const QStringList &environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_SCALE_FACTOR", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING",
                             "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_SCREEN_SCALE_FACTORS"})
        env.remove(QString::fromLatin1(name));
    // The windows need no display to be measured.
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString &setting : environment)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));

    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(MeasureArgument)});
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        run.error = QStringLiteral("the measuring run failed: ")
            + QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        if (f.value(0) == QLatin1String("dpi") && f.size() == 3) {
            run.logicalDpi = f[1].toDouble();
            run.devicePixelRatio = f[2].toDouble();
        } else if (f.value(0) == QLatin1String("control") && f.size() == 8) {
            Measurement m;
            m.rect = QRectF(f[2].toDouble(), f[3].toDouble(), f[4].toDouble(), f[5].toDouble());
            m.textFits = f[6] == QLatin1String("1");
            m.wholeRows = f[7].toInt();
            run.controls.insert(f[1], m);
            run.order.append(f[1]);
        }
    }
    if (run.order.isEmpty())
        run.error = QStringLiteral("the measuring run reported nothing");
    return run;
}

// Every run once, however many rows read it.
const Run &runFor(const QString &setting)
{
    static QHash<QString, Run> runs;
    if (!runs.contains(setting)) {
        QStringList environment;
        for (const auto &[name, variables] : settings()) {
            if (name == setting)
                environment = variables;
        }
        runs.insert(setting, runMeasurement(environment));
    }
    return runs[setting];
}

const QString Baseline = QStringLiteral("96 DPI");

} // namespace

class tst_HighDpi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void settingTakesEffect_data();
    void settingTakesEffect();
    void scalesAsAWhole_data();
    void scalesAsAWhole();
};

void tst_HighDpi::cleanup()
{
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_HighDpi::settingTakesEffect_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<double>("dpi");

    QTest::newRow("96 DPI") << Baseline << 96.0;
    for (const auto &setting : settings())
        QTest::newRow(qPrintable(setting.first)) << setting.first << 144.0;
}

void tst_HighDpi::settingTakesEffect()
{
    QFETCH(QString, setting);
    QFETCH(double, dpi);

    // Without this the comparisons below would compare 96 DPI with itself.
    const Run &run = runFor(setting);
    QVERIFY2(run.error.isEmpty(), qPrintable(run.error));
    QCOMPARE(run.logicalDpi * run.devicePixelRatio, dpi);
}

void tst_HighDpi::scalesAsAWhole_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("control");

    const Run &baseline = runFor(Baseline);
    QVERIFY2(baseline.error.isEmpty(), qPrintable(baseline.error));
    // Both windows and all their controls, the hidden stop flag included.
    QVERIFY(baseline.controls.contains(QStringLiteral("MainWindow/fontList")));
    QVERIFY(baseline.controls.contains(QStringLiteral("ProgressWindow/nameLine")));
    for (const auto &setting : settings()) {
        for (const QString &control : baseline.order) {
            QTest::addRow("%s: %s", qPrintable(setting.first), qPrintable(control))
                << setting.first << control;
        }
    }
}

void tst_HighDpi::scalesAsAWhole()
{
    QFETCH(QString, setting);
    QFETCH(QString, control);

    const Run &run = runFor(setting);
    QVERIFY2(run.error.isEmpty(), qPrintable(run.error));
    QVERIFY2(run.controls.contains(control), "missing at 144 DPI");
    const Measurement at96 = runFor(Baseline).controls.value(control);
    const Measurement at144 = run.controls.value(control);

    // Each edge within a device pixel of where 1.5 times its 96 DPI place
    // puts it: the twips are converted once, at whichever DPI.
    const QRectF expected(at96.rect.topLeft() * 1.5, at96.rect.size() * 1.5);
    const auto near = [](qreal a, qreal b) { return qAbs(a - b) <= 1.0 + 1e-6; };
    const QString message = QStringLiteral("at 144 DPI (%1, %2, %3 x %4), expected (%5, %6, %7 x %8)")
                                .arg(at144.rect.x()).arg(at144.rect.y())
                                .arg(at144.rect.width()).arg(at144.rect.height())
                                .arg(expected.x()).arg(expected.y())
                                .arg(expected.width()).arg(expected.height());
    QVERIFY2(near(at144.rect.left(), expected.left()) && near(at144.rect.top(), expected.top())
                 && near(at144.rect.right(), expected.right())
                 && near(at144.rect.bottom(), expected.bottom()),
             qPrintable(message));

    if (at96.textFits)
        QVERIFY2(at144.textFits, "text cut off at 144 DPI that is whole at 96 DPI");
    QVERIFY2(at144.wholeRows >= at96.wholeRows,
             qPrintable(QStringLiteral("%1 whole entries at 144 DPI, %2 at 96 DPI")
                            .arg(at144.wholeRows).arg(at96.wholeRows)));
}

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], MeasureArgument) == 0)
        return measureWindows(argc, argv);
    QCoreApplication app(argc, argv);
    tst_HighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_high_dpi.moc"
