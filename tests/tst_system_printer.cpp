// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The real printer surface with no printer set up: the PDF printer files each
// document in the documents folder of a private home. The PDFs are read back
// with poppler's tools.

#include "fonts/ppd_fonts.h"
#include "fonts/printer_fonts.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "printing/system_printer.h"
#include "fake_notifier.h"
#include "pdf_tools.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// pdftotext -bbox and pdffonts measure in points; the PDF printer leaves a
// quarter-inch margin on every side.
constexpr double PointsPerTwip = 1.0 / 20.0;
constexpr double MarginPoints = 18.0;
// Positions from pdftotext are rounded to 1/1000 point, and its word box
// comes from the font's own ascent, which differs slightly from Qt's.
constexpr double Tolerance = 0.5;

// An account that is not the owner of the test folders.
constexpr uid_t Nobody = 65534;

// Restores what a test changed about the process, however it leaves.
class ScopeExit
{
public:
    explicit ScopeExit(std::function<void()> undo) : m_undo(std::move(undo)) {}
    ~ScopeExit() { m_undo(); }

private:
    std::function<void()> m_undo;
};

} // namespace

class tst_SystemPrinter : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linesComeOutInPlace_data();
    void linesComeOutInPlace();
    void lineEndsAreNotDrawn();
    void pageBreaksWhereLinesStopFitting();
    void fontListHoldsTheTypefaces();
    void fontNames_data();
    void fontNames();
    void residentFaces_data();
    void residentFaces();
    void refusedSettings_data();
    void refusedSettings();
    void abandonedDocumentLeavesNoFile_data();
    void abandonedDocumentLeavesNoFile();
    void unwritableFolder_data();
    void unwritableFolder();
    void secondDocumentNeverOverwrites();
    void residentFontsFromPpd();
    void ppdText_data();
    void ppdText();

private:
    QStringList documents() const;
    QString onlyDocument() const;

    QTemporaryDir m_home;
    QString m_documents;
    FakeNotifier m_notifier;
};

void tst_SystemPrinter::initTestCase()
{
    QVERIFY(m_home.isValid());
    // Another account must be able to reach the documents folder for the
    // read-only case to be about permissions and nothing else.
    QFile::setPermissions(m_home.path(), QFile::permissions(m_home.path()) | QFile::ExeOther
                                             | QFile::ReadOther);
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    m_documents = m_home.filePath(QStringLiteral("Documents"));
}

void tst_SystemPrinter::init()
{
    QDir(m_documents).removeRecursively();
    m_notifier.filed.clear();
}

void tst_SystemPrinter::cleanup()
{
    QFile::setPermissions(m_documents, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QStringList tst_SystemPrinter::documents() const
{
    return QDir(m_documents).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString tst_SystemPrinter::onlyDocument() const
{
    const QStringList files = documents();
    if (files.size() != 1)
        return QString();
    return QDir(m_documents).filePath(files.first());
}

void tst_SystemPrinter::linesComeOutInPlace_data()
{
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("embedded");

    QTest::newRow("metric twin of Arial") << "Arial" << false << false << "LiberationSans";
    QTest::newRow("metric twin of Times New Roman, italic")
        << "Times New Roman" << false << true << "LiberationSerif-Italic";
    QTest::newRow("family in another case, bold") << "liberation sans" << true << false << "LiberationSans-Bold";
    QTest::newRow("OpenType face") << "URW Gothic" << false << false << "URWGothic-Book";
    QTest::newRow("DejaVu") << "DejaVu Sans" << false << false << "DejaVuSans";
    QTest::newRow("no font set: Courier New's twin") << "" << false << false << "LiberationMono";
}

void tst_SystemPrinter::linesComeOutInPlace()
{
    QFETCH(QString, fontName);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, embedded);

    SystemPrinter printer(m_fonts, m_notifier);
    if (!fontName.isEmpty())
        printer.setFontName(fontName);
    printer.setFontBold(bold);
    printer.setFontItalic(italic);
    printer.setFontSize(12.5);
    printer.setCurrentX(1440);
    printer.setCurrentY(2880);
    printer.printLine(QStringLiteral("First line"));
    QCOMPARE(printer.currentX(), 0.0);
    const double lineHeight = printer.currentY() - 2880;
    // Line spacing is a little more than the size.
    QVERIFY2(lineHeight > 12.5 * 20 && lineHeight < 12.5 * 20 * 1.5, qPrintable(QString::number(lineHeight)));
    printer.setCurrentX(835);
    printer.printLine(QStringLiteral("Second"));
    printer.finish();

    const QString pdf = onlyDocument();
    QVERIFY2(!pdf.isEmpty(), qPrintable(documents().join(QLatin1Char(','))));
    QVERIFY(QFileInfo(pdf).fileName().startsWith(QLatin1String("Glyphora ")));
    QCOMPARE(pdfFonts(pdf), QStringList{embedded + QStringLiteral(" yes")});

    const QList<PdfWord> words = pdfWords(pdf);
    QCOMPARE(words.size(), 3);
    QCOMPARE(words.at(0).text, QStringLiteral("First"));
    QCOMPARE(words.at(1).text, QStringLiteral("line"));
    QCOMPARE(words.at(2).text, QStringLiteral("Second"));
    QCOMPARE_LT(std::abs(words.at(0).box.left() - (MarginPoints + 1440 * PointsPerTwip)), Tolerance);
    QCOMPARE_LT(std::abs(words.at(2).box.left() - (MarginPoints + 835 * PointsPerTwip)), Tolerance);
    // The second line starts one line height below the first.
    const double step = words.at(2).box.top() - words.at(0).box.top();
    QCOMPARE_LT(std::abs(step - lineHeight * PointsPerTwip), Tolerance);
    // The first line hangs from the pen: its top is where the pen was, give
    // or take the difference between the face's two ascent figures (poppler
    // reads another one than Qt draws with). Drawn on its baseline it would
    // stand a whole ascent higher.
    QCOMPARE_LT(std::abs(words.at(0).box.top() - (MarginPoints + 2880 * PointsPerTwip)), 12.5 * 0.4);
}

void tst_SystemPrinter::lineEndsAreNotDrawn()
{
    SystemPrinter printer(m_fonts, m_notifier);
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(12);
    printer.printLine(QString());
    const double lineHeight = printer.currentY();
    QVERIFY(lineHeight > 0);
    printer.printLine(QStringLiteral("Heading 1/2/24\r"));
    QCOMPARE(printer.currentY(), 2 * lineHeight);
    printer.printLine(QStringLiteral("Next\r\n"));
    QCOMPARE(printer.currentY(), 3 * lineHeight);
    printer.finish();

    const QString text = pdfText(onlyDocument(), true);
    QCOMPARE(text.simplified(), QStringLiteral("Heading 1/2/24 Next"));
}

void tst_SystemPrinter::pageBreaksWhereLinesStopFitting()
{
    // A4 less the margins.
    const double printableTwips = (841.89 - 2 * MarginPoints) / PointsPerTwip;

    SystemPrinter printer(m_fonts, m_notifier);
    printer.setFontName(QStringLiteral("Liberation Serif"));
    constexpr int Lines = 120;
    QList<bool> broke;
    for (int i = 0; i < Lines; ++i) {
        // Mixed sizes, so that the break depends on the height of each line.
        printer.setFontSize(i % 3 == 0 ? 20 : 9.5);
        const double before = printer.currentY();
        printer.printLine(QStringLiteral("line%1").arg(i));
        const double after = printer.currentY();
        broke.append(after < before);
        if (broke.last()) {
            // Went over because it would not have fitted where the pen was.
            QCOMPARE_GT(before + after, printableTwips);
        } else {
            QCOMPARE_LE(after, printableTwips);
        }
    }
    printer.finish();

    const QString pdf = onlyDocument();
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QLatin1String("(A4)")), qPrintable(info));
    const QList<PdfWord> words = pdfWords(pdf);
    QCOMPARE(words.size(), Lines);
    QCOMPARE(words.first().page, 1);
    for (int i = 0; i < Lines; ++i) {
        QCOMPARE(words.at(i).text, QStringLiteral("line%1").arg(i));
        if (i == 0)
            continue;
        QCOMPARE(words.at(i).page, words.at(i - 1).page + (broke.at(i) ? 1 : 0));
        // A line that went over is at the top of its new page.
        if (broke.at(i))
            QCOMPARE_LT(words.at(i).box.top() - MarginPoints, 2.0);
    }
    QCOMPARE_GE(words.last().page, 3);
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages: *%1\n").arg(words.last().page))));
}

void tst_SystemPrinter::fontListHoldsTheTypefaces()
{
    SystemPrinter printer(m_fonts, m_notifier);
    const QStringList expected = m_fonts.typefaces();
    QCOMPARE(printer.fontCount(), expected.size());
    QStringList listed;
    for (int i = 0; i < printer.fontCount(); ++i)
        listed.append(printer.fontName(i));
    QCOMPARE(listed, expected);
    QVERIFY(listed.contains(QStringLiteral("Liberation Sans")));
    QVERIFY(listed.contains(QStringLiteral("URW Gothic")));
}

void tst_SystemPrinter::fontNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("resident");
    QTest::addColumn<QString>("family");

    const QStringList none;
    const QStringList ppd = {QStringLiteral("AvantGarde-Book"), QStringLiteral("Times-Roman"),
                             QStringLiteral("Times-Roman")};
    QTest::newRow("installed family") << "Liberation Mono" << none << "Liberation Mono";
    QTest::newRow("installed family, any case") << "dejavu SANS" << none << "DejaVu Sans";
    QTest::newRow("metric twin") << "Arial" << none << "Liberation Sans";
    QTest::newRow("metric twin, serif") << "Times New Roman" << none << "Liberation Serif";
    QTest::newRow("resident name") << "AvantGarde-Book" << ppd << "URW Gothic";
    QTest::newRow("resident name, duplicated") << "Times-Roman" << ppd << "Nimbus Roman";
    QTest::newRow("resident name elsewhere") << "AvantGarde-Book" << none << "";
    QTest::newRow("unknown") << "NoSuchFont" << ppd << "";
    QTest::newRow("empty") << "" << ppd << "";
}

void tst_SystemPrinter::fontNames()
{
    QFETCH(QString, name);
    QFETCH(QStringList, resident);
    QFETCH(QString, family);

    PrinterFonts fonts(m_fonts, resident);
    QCOMPARE(fonts.names().mid(fonts.names().size() - resident.size()), resident);
    // Twice: the second answer comes from what the first one learnt.
    for (int round = 0; round < 2; ++round) {
        const std::optional<PrinterFace> face = fonts.faceFor(name);
        QCOMPARE(face ? face->family : QString(), family);
    }
}

void tst_SystemPrinter::residentFaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("embedded");

    QTest::newRow("bold") << "Courier-Bold" << false << false << "NimbusMonoPS-Bold";
    QTest::newRow("bold italic") << "Times-BoldItalic" << false << false << "NimbusRoman-BoldItalic";
    QTest::newRow("demi") << "AvantGarde-Demi" << false << false << "URWGothic-Demi";
    QTest::newRow("light italic") << "Bookman-LightItalic" << false << false << "URWBookman-LightItalic";
    QTest::newRow("medium italic") << "ZapfChancery-MediumItalic" << false << false << "Z003-MediumItalic";
    QTest::newRow("abbreviated family") << "NewCenturySchlbk-Roman" << false << false << "C059-Roman";
    QTest::newRow("abbreviated family, italic") << "NewCenturySchlbk-Italic" << false << false << "C059-Italic";
    QTest::newRow("narrow family, bold oblique")
        << "Helvetica-Narrow-BoldOblique" << false << false << "NimbusSansNarrow-BoldOblique";
    QTest::newRow("narrow family alone") << "Helvetica-Narrow" << false << false << "NimbusSansNarrow-Regular";
    QTest::newRow("book") << "AvantGarde-Book" << false << false << "URWGothic-Book";
    QTest::newRow("no style part") << "Courier" << false << false << "NimbusMonoPS-Regular";
    QTest::newRow("no style part, abbreviated") << "ZapfDingbats" << false << false << "D050000L";
    // FontBold and FontItalic only ever add to the face.
    QTest::newRow("bold added") << "Courier" << true << false << "NimbusMonoPS-Bold";
    QTest::newRow("italic added to bold") << "Times-Bold" << false << true << "NimbusRoman-BoldItalic";
    QTest::newRow("bold added to bold") << "Times-Bold" << true << false << "NimbusRoman-Bold";
    QTest::newRow("bold added to demi") << "AvantGarde-Demi" << true << false << "URWGothic-Demi";
    QTest::newRow("bold added to light italic")
        << "Bookman-LightItalic" << true << false << "URWBookman-DemiItalic";
}

void tst_SystemPrinter::residentFaces()
{
    QFETCH(QString, name);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, embedded);

    PrinterFonts fonts(m_fonts, {name});
    const QString pdf = m_home.filePath(QStringLiteral("face.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        painter.setFont(fonts.font(*fonts.faceFor(name), 12, bold, italic));
        painter.drawText(QPointF(100, 100), QStringLiteral("Sample"));
    }
    QCOMPARE(pdfFonts(pdf), QStringList{embedded + QStringLiteral(" yes")});
}

void tst_SystemPrinter::refusedSettings_data()
{
    QTest::addColumn<std::function<void(SystemPrinter &)>>("setting");

    QTest::newRow("unknown font") << std::function([](SystemPrinter &p) { p.setFontName("NoSuchFont"); });
    QTest::newRow("resident name of no printer")
        << std::function([](SystemPrinter &p) { p.setFontName("AvantGarde-Book"); });
    QTest::newRow("size 0") << std::function([](SystemPrinter &p) { p.setFontSize(0.0); });
    QTest::newRow("negative size") << std::function([](SystemPrinter &p) { p.setFontSize(-8.0); });
    QTest::newRow("infinite size")
        << std::function([](SystemPrinter &p) { p.setFontSize(std::numeric_limits<double>::infinity()); });
    QTest::newRow("size that is no number")
        << std::function([](SystemPrinter &p) { p.setFontSize(std::numeric_limits<double>::quiet_NaN()); });
    QTest::newRow("font past the end")
        << std::function([](SystemPrinter &p) { p.fontName(p.fontCount()); });
    QTest::newRow("font before the start") << std::function([](SystemPrinter &p) { p.fontName(-1); });
}

void tst_SystemPrinter::refusedSettings()
{
    QFETCH(std::function<void(SystemPrinter &)>, setting);

    SystemPrinter printer(m_fonts, m_notifier);
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(12.0);
    printer.printLine(QStringLiteral("Before"));
    const double lineHeight = printer.currentY();
    QVERIFY_THROWS_EXCEPTION(PrinterError, setting(printer));
    // The surface goes on in the font it had.
    printer.printLine(QStringLiteral("After"));
    QCOMPARE(printer.currentY(), 2 * lineHeight);
    printer.finish();
    QCOMPARE(pdfFonts(onlyDocument()), QStringList{QStringLiteral("LiberationSans yes")});
}

void tst_SystemPrinter::abandonedDocumentLeavesNoFile_data()
{
    QTest::addColumn<bool>("killed");

    QTest::newRow("killDoc") << true;
    QTest::newRow("printer gone") << false;
}

void tst_SystemPrinter::abandonedDocumentLeavesNoFile()
{
    QFETCH(bool, killed);

    {
        SystemPrinter printer(m_fonts, m_notifier);
        printer.setFontName(QStringLiteral("Arial"));
        for (int i = 0; i < 200; ++i)
            printer.printLine(QStringLiteral("Abandoned %1").arg(i));
        if (killed) {
            printer.abort();
            QCOMPARE(printer.currentY(), 0.0);
            QCOMPARE(documents(), QStringList());
            QCOMPARE(m_notifier.filed, QStringList());
            // The next line starts a fresh document.
            printer.printLine(QStringLiteral("Fresh"));
            printer.finish();
            const QString text = pdfText(onlyDocument());
            QCOMPARE(text.simplified(), QStringLiteral("Fresh"));
            QFile::remove(onlyDocument());
            // Ending with no document open does nothing.
            printer.finish();
        }
    }
    QCOMPARE(documents(), QStringList());
}

void tst_SystemPrinter::unwritableFolder_data()
{
    QTest::addColumn<QString>("how");
    // Lines printed before the folder stops taking data, and after it.
    QTest::addColumn<int>("linesBefore");
    QTest::addColumn<int>("linesAfter");

    // Pages are written out as the next one starts, the fonts at the end.
    QTest::newRow("disk full mid-document") << "full" << 1 << 400;
    QTest::newRow("disk full at the end") << "full" << 3 << 0;
    QTest::newRow("read-only before the first line") << "read-only" << 0 << 1;
    QTest::newRow("read-only before the end") << "read-only" << 1 << 400;
}

void tst_SystemPrinter::unwritableFolder()
{
    QFETCH(QString, how);
    QFETCH(int, linesBefore);
    QFETCH(int, linesAfter);

    SystemPrinter printer(m_fonts, m_notifier);
    printer.setFontName(QStringLiteral("Arial"));
    QVERIFY(QDir().mkpath(m_documents));
    auto printLines = [&](int count) {
        for (int i = 0; i < count; ++i)
            printer.printLine(QStringLiteral("Some text to fill the disk with, line %1").arg(i));
    };
    auto attempt = [&] {
        printLines(linesAfter);
        printer.finish();
    };

    printLines(linesBefore);
    if (how == QLatin1String("full")) {
        // A file size limit fails writes with EFBIG, as a full disk or a
        // quota fails them with ENOSPC or EDQUOT.
        rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const ScopeExit restore([&] {
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
        });
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QVERIFY_THROWS_EXCEPTION(PrinterError, attempt());
    } else {
        QVERIFY(QFile::setPermissions(m_documents, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                       | QFile::ExeOther));
        // Permissions do not stop root: act as another account meanwhile.
        const bool asRoot = geteuid() == 0;
        if (asRoot)
            QCOMPARE(seteuid(Nobody), 0);
        const ScopeExit restore([&] {
            if (asRoot && seteuid(0) != 0)
                qFatal("cannot return to root");
        });
        QVERIFY_THROWS_EXCEPTION(PrinterError, attempt());
    }
    QCOMPARE(documents(), QStringList());
    // A sheet that was not saved is not announced.
    QCOMPARE(m_notifier.filed, QStringList());

    // Once the folder takes files again, a fresh document gets through.
    cleanup();
    printer.printLine(QStringLiteral("Fresh"));
    printer.finish();
    const QString text = pdfText(onlyDocument());
    QCOMPARE(text.simplified(), QStringLiteral("Fresh"));
}

void tst_SystemPrinter::secondDocumentNeverOverwrites()
{
    // Files named as the next documents could be, to be left alone.
    QVERIFY(QDir().mkpath(m_documents));
    const QDateTime now = QDateTime::currentDateTime();
    QStringList kept;
    for (int second = 0; second < 3; ++second) {
        const QString name = QStringLiteral("Glyphora %1.pdf")
                                 .arg(now.addSecs(second).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
        QFile file(QDir(m_documents).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
        kept.append(name);
    }

    SystemPrinter printer(m_fonts, m_notifier);
    printer.setFontName(QStringLiteral("Arial"));
    printer.printLine(QStringLiteral("One"));
    printer.finish();
    printer.printLine(QStringLiteral("Two"));
    printer.finish();

    QStringList texts;
    for (const QString &name : documents()) {
        const QString path = QDir(m_documents).filePath(name);
        if (kept.contains(name)) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("keep"));
        } else {
            QVERIFY2(QRegularExpression(QStringLiteral(R"(^Glyphora [-0-9 ]+ \(\d\)\.pdf$)")).match(name).hasMatch(),
                     qPrintable(name));
            texts.append(pdfText(path).simplified());
        }
    }
    texts.sort();
    QCOMPARE(texts, (QStringList{QStringLiteral("One"), QStringLiteral("Two")}));
    // The user is told the name each sheet got, not the name it was meant
    // to get.
    QCOMPARE(m_notifier.filed.size(), 2);
    for (const QString &path : std::as_const(m_notifier.filed)) {
        QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        QVERIFY2(!kept.contains(QFileInfo(path).fileName()), qPrintable(path));
    }
}

void tst_SystemPrinter::residentFontsFromPpd()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fonts.ppd"));
    QFile ppd(path);
    QVERIFY(ppd.open(QIODevice::WriteOnly));
    ppd.write("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
              "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"TEST.PPD\"\n"
              "*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n*ModelName: \"Test\"\n"
              "*ShortNickName: \"Test\"\n*NickName: \"Test\"\n*PSVersion: \"(3010) 0\"\n"
              "*DefaultFont: Courier\n");
    for (const char *name : {"Courier", "AvantGarde-Book", "Courier", "ZapfDingbats"})
        ppd.write(QByteArray("*Font ") + name + ": Standard \"(001.005)\" Standard ROM\n");
    ppd.close();

    QCOMPARE(residentFontsOfPpdFile(QFile::encodeName(path)),
             (QStringList{"Courier", "AvantGarde-Book", "Courier", "ZapfDingbats"}));
    QCOMPARE(residentFontsOfPpdFile(QFile::encodeName(dir.filePath(QStringLiteral("missing.ppd")))),
             QStringList());
}

void tst_SystemPrinter::ppdText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("Helvetica-Narrow") << QStringLiteral("Helvetica-Narrow");
    QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9") << QStringLiteral("Caf\u00e9");
    QTest::newRow("Latin-1") << QByteArray("Caf\xe9-Bold") << QStringLiteral("Caf\u00e9-Bold");
    QTest::newRow("broken UTF-8") << QByteArray("\xc3(") << QStringLiteral("\u00c3(");
}

void tst_SystemPrinter::ppdText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(::ppdText(bytes), text);
}

int main(int argc, char *argv[])
{
    // Before libcups and Qt's printer support first look for a server: there
    // is none at this address, so the PDF printer stands in.
    qputenv("CUPS_SERVER", "/nonexistent/glyphora-test/cups.sock");
    QApplication app(argc, argv);
    tst_SystemPrinter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_system_printer.moc"
