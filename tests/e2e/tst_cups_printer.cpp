// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The real printer surface against a private cupsd with a cups-pdf queue as
// the default destination. Run by cups_printer.sh, which starts the server
// and tells this program about it through PRIVATE_CUPSD_* variables.

#include "fake_notifier.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fonts/ppd_fonts.h"
#include "printing/system_printer.h"
#include "../pdf_tools.h"
#include "private_cupsd.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

namespace {

const QString CupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
constexpr int CupsPdfResidentFonts = 35;
// Lines of 24 points: some four pages.
constexpr int LongSheetLines = 100;

QString environment(const char *name)
{
    return qEnvironmentVariable(name);
}

// The message of the PrinterError that endDoc raises, or nothing.
QString endDocFailure(SystemPrinter &printer)
{
    try {
        printer.finish();
    } catch (const PrinterError &error) {
        qInfo("endDoc: %s", error.what());
        return QString::fromUtf8(error.what());
    }
    return QString();
}

QStringList pdfsIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

} // namespace

class tst_CupsPrinter : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void cleanup();
    void initTestCase();
    void residentFontsAreListed();
    void printsThroughTheQueue();
    void longSheetIsOneJob();
    void queueDeletedMidDocument();
    // Last: it leaves no server behind.
    void serverStoppedMidDocument();

private:
    QString m_out;
    QString m_documents;
    // A sheet that goes to a queue is never announced as filed.
    FakeNotifier m_notifier;
};

void tst_CupsPrinter::cleanup()
{
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CupsPrinter::initTestCase()
{
    m_out = environment("PRIVATE_CUPSD_OUT");
    if (m_out.isEmpty() || environment("CUPS_SERVER").isEmpty())
        QSKIP("no private cupsd: run this through cups_printer.sh");
    m_documents = QDir::home().filePath(QStringLiteral("Documents"));
}

void tst_CupsPrinter::residentFontsAreListed()
{
    SystemPrinter printer(m_fonts, m_notifier);
    QStringList names;
    for (int i = 0; i < printer.fontCount(); ++i)
        names.append(printer.fontName(i));

    const QStringList resident = residentFontsOfPpdFile(QFile::encodeName(CupsPdfPpd));
    QCOMPARE(resident.size(), CupsPdfResidentFonts);
    QVERIFY(resident.contains(QStringLiteral("AvantGarde-Book")));
    const QStringList families = m_fonts.typefaces();
    QCOMPARE(names, families + resident);
}

void tst_CupsPrinter::printsThroughTheQueue()
{
    SystemPrinter printer(m_fonts, m_notifier);
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(12);
    printer.setCurrentX(800);
    printer.printLine(QStringLiteral("Printed through CUPS"));
    printer.setFontName(QStringLiteral("AvantGarde-Book"));
    printer.setFontSize(14.0);
    printer.setCurrentX(835);
    printer.printLine(QStringLiteral("Resident AvantGarde"));
    printer.setFontName(QStringLiteral("Times New Roman"));
    printer.setFontItalic(true);
    printer.printLine(QStringLiteral("Serif italic"));
    printer.finish();
    privateCupsd(QStringLiteral("wait_for_jobs 60"));

    const QStringList pdfs = pdfsIn(m_out);
    QCOMPARE(pdfs.size(), 1);
    const QString pdf = QDir(m_out).filePath(pdfs.first());
    const QString text = pdfText(pdf, true);
    QCOMPARE(text.simplified(), QStringLiteral("Printed through CUPS Resident AvantGarde Serif italic"));
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The lines are indented as set: 800 and 835 twips are about 40 points.
    QVERIFY(lines.first().startsWith(QLatin1Char(' ')));

    QStringList fonts = pdfFonts(pdf);
    fonts.sort();
    QCOMPARE(fonts, (QStringList{QStringLiteral("LiberationSans yes"), QStringLiteral("LiberationSerif-Italic yes"),
                                 QStringLiteral("URWGothic-Book yes")}));
    // A CUPS destination takes the document; the PDF printer is not used.
    QCOMPARE(pdfsIn(m_documents), QStringList());
    QCOMPARE(m_notifier.filed, QStringList());
    QFile::remove(pdf);
}

void tst_CupsPrinter::longSheetIsOneJob()
{
    // A part a page: the parts reach the queue joined, as one job.
    SystemPrinter printer(m_fonts, m_notifier, 1);
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(24);
    QStringList lines;
    for (int line = 1; line <= LongSheetLines; ++line) {
        lines.append(QStringLiteral("Line %1").arg(line));
        printer.printLine(lines.last());
    }
    printer.finish();
    privateCupsd(QStringLiteral("wait_for_jobs 60"));

    const QStringList pdfs = pdfsIn(m_out);
    QCOMPARE(pdfs.size(), 1);
    const QString pdf = QDir(m_out).filePath(pdfs.first());
    const QString pages = toolOutput(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(QRegularExpression(QStringLiteral("Pages: *[3-9]\\b")).match(pages).hasMatch(), qPrintable(pages));
    QCOMPARE(pdfText(pdf).simplified(), lines.join(QLatin1Char(' ')));
    QCOMPARE(pdfsIn(m_documents), QStringList());
    QFile::remove(pdf);
}

void tst_CupsPrinter::queueDeletedMidDocument()
{
    const QString queue = environment("PRIVATE_CUPSD_QUEUE");
    const QString doomed = QStringLiteral("glyphora-doomed");
    privateCupsd(QStringLiteral("add_pdf_queue %1 && lpadmin -d %1").arg(doomed));
    {
        SystemPrinter printer(m_fonts, m_notifier);
        printer.printLine(QStringLiteral("Sent to a queue about to go"));
        privateCupsd(QStringLiteral("lpadmin -x %1").arg(doomed));
        printer.printLine(QStringLiteral("Still drawing"));
        QVERIFY(endDocFailure(printer).contains(doomed));
    }
    privateCupsd(QStringLiteral("lpadmin -d %1 && wait_for_jobs 60").arg(queue));
    QCOMPARE(pdfsIn(m_out), QStringList());
    QCOMPARE(pdfsIn(m_documents), QStringList());
}

void tst_CupsPrinter::serverStoppedMidDocument()
{
    SystemPrinter printer(m_fonts, m_notifier);
    printer.printLine(QStringLiteral("Sent to a server about to stop"));
    const qint64 pid = environment("PRIVATE_CUPSD_PID").toLongLong();
    QVERIFY(pid > 0);
    QCOMPARE(::kill(static_cast<pid_t>(pid), SIGTERM), 0);
    QTRY_VERIFY_WITH_TIMEOUT(privateCupsd(QStringLiteral("lpstat -r")).contains(QLatin1String("not running")), 10000);
    printer.printLine(QStringLiteral("Still drawing"));
    QVERIFY(endDocFailure(printer).contains(environment("PRIVATE_CUPSD_QUEUE")));
    QCOMPARE(pdfsIn(m_out), QStringList());
    QCOMPARE(pdfsIn(m_documents), QStringList());

    // With no server the next document goes to the PDF printer, whole.
    printer.printLine(QStringLiteral("Filed instead"));
    printer.finish();
    const QStringList filed = pdfsIn(m_documents);
    QCOMPARE(filed.size(), 1);
    const QString text = pdfText(QDir(m_documents).filePath(filed.first()));
    QCOMPARE(text.simplified(), QStringLiteral("Filed instead"));
}

QTEST_MAIN(tst_CupsPrinter)

#include "tst_cups_printer.moc"
