// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Face files that change under the program while it holds them, in a font
// folder of the test's own: the program lives on, and neither the sample
// line nor the sheet shows such a font in another face under its name.

#include "desktop/system_screen.h"
#include "fake_notifier.h"
#include "fake_runtime.h"
#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "main_window/main_window.h"
#include "pdf_tools.h"
#include "printing/system_printer.h"
#include "ui/list_box.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString Dejavu = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QString Liberation = QStringLiteral("/usr/share/fonts/truetype/liberation/");
// The folder's faces; Liberation Sans stays whole, for the design face.
const QStringList FaceFiles = {Dejavu + QLatin1String("DejaVuSansMono.ttf"), Dejavu + QLatin1String("DejaVuSerif.ttf"),
                               Dejavu + QLatin1String("DejaVuSans.ttf"),
                               Liberation + QLatin1String("LiberationMono-Regular.ttf"),
                               Liberation + QLatin1String("LiberationSerif-Regular.ttf"),
                               Liberation + QLatin1String("LiberationSansNarrow-Regular.ttf"),
                               Liberation + QLatin1String("LiberationSans-Regular.ttf")};
const QString NotAvailable = QStringLiteral("Font Not Available");
const QString Typed = QStringLiteral("QWERTYUIOPasdfghjkl@#%&*()_+{}|:<>?~");

enum class Change { CutShort, Deleted, Replaced };
enum class Moment { BeforeUse, AfterShown, WhilePrinting, InEarlierPart };

void change(const QString &file, Change how)
{
    switch (how) {
    case Change::CutShort:
        QVERIFY(QFile::resize(file, 2000));
        break;
    case Change::Deleted:
        QVERIFY(QFile::remove(file));
        break;
    case Change::Replaced: {
        // As cp writes a new version over a file: in place, same inode.
        QFile source(Dejavu + QLatin1String("DejaVuSans.ttf"));
        QFile target(file);
        QVERIFY(source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(target.write(source.readAll()) > 0);
        break;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Moment)

class tst_ChangingFonts : public QObject
{
    Q_OBJECT

public:
    explicit tst_ChangingFonts(const QString &folder) : m_folder(folder) {}

private slots:
    void initTestCase();
    void changedFace_data();
    void changedFace();

private:
    void clickFont(const QString &name);
    template <typename Control>
    Control *find(const char *name) const
    {
        return control<Control>(*m_window, name);
    }

    QString m_folder;
    // Files changed from here on have changed under the program.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};
    FakeNotifier m_notifier;
    SystemPrinter m_printer{m_fonts, m_notifier};
    SystemScreen m_screen{m_fonts};
    FakeRuntime m_runtime;
    std::unique_ptr<MainWindow> m_window;
};

void tst_ChangingFonts::initTestCase()
{
    m_runtime.processQtEvents = true;
    m_window = std::make_unique<MainWindow>(m_fonts, m_printer, m_screen, m_runtime);
    m_window->load();
}

void tst_ChangingFonts::clickFont(const QString &name)
{
    ListBox *fontList = find<ListBox>("fontList");
    int row = 0;
    while (row < fontList->count() && fontList->text(row) != name)
        ++row;
    QVERIFY2(row < fontList->count(), qPrintable(name));
    const QRect rect = fontList->visualRect(fontList->model()->index(row, 0));
    QTest::mouseClick(fontList->viewport(), Qt::LeftButton, {}, rect.center());
}

void tst_ChangingFonts::changedFace_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("postScriptName");
    QTest::addColumn<Change>("how");
    QTest::addColumn<Moment>("when");
    // Each row its own family: a family found unusable stays so.
    QTest::newRow("cut short after use") << "DejaVu Sans Mono" << "DejaVuSansMono.ttf" << "DejaVuSansMono"
                                         << Change::CutShort << Moment::AfterShown;
    QTest::newRow("cut short before use") << "DejaVu Serif" << "DejaVuSerif.ttf" << "DejaVuSerif"
                                          << Change::CutShort << Moment::BeforeUse;
    QTest::newRow("deleted") << "Liberation Mono" << "LiberationMono-Regular.ttf" << "LiberationMono"
                             << Change::Deleted << Moment::BeforeUse;
    QTest::newRow("replaced by another face") << "Liberation Serif" << "LiberationSerif-Regular.ttf"
                                              << "LiberationSerif" << Change::Replaced << Moment::AfterShown;
    QTest::newRow("cut short while printed") << "DejaVu Sans" << "DejaVuSans.ttf" << "DejaVuSans"
                                             << Change::CutShort << Moment::WhilePrinting;
    QTest::newRow("cut short in an earlier part") << "Liberation Sans Narrow" << "LiberationSansNarrow-Regular.ttf"
                                                  << "LiberationSansNarrow" << Change::CutShort
                                                  << Moment::InEarlierPart;
}

void tst_ChangingFonts::changedFace()
{
    QFETCH(QString, family);
    QFETCH(QString, file);
    QFETCH(QString, postScriptName);
    QFETCH(Change, how);
    QFETCH(Moment, when);
    const QString path = QDir(m_folder).filePath(file);
    QLabel &sample = *find<QLabel>("sampleLine");
    find<QLineEdit>("userTextBox")->clear();
    find<QRadioButton>("fontNameOption")->click();

    if (when == Moment::BeforeUse)
        change(path, how);
    clickFont(family);
    const bool shownBefore = sample.text() == family && QFontInfo(sample.font()).family() == family;
    QCOMPARE(shownBefore, when != Moment::BeforeUse);
    if (when == Moment::AfterShown) {
        change(path, how);
        // New glyphs in the face: its file is not read again.
        find<QRadioButton>("userTextOption")->click();
        QTest::keyClicks(find<QLineEdit>("userTextBox"), Typed);
        QCOMPARE(sample.text(), NotAvailable);
        find<QRadioButton>("fontNameOption")->click();
    }
    if (when == Moment::BeforeUse || when == Moment::AfterShown) {
        clickFont(family);
        QCOMPARE(sample.text(), NotAvailable);
        QVERIFY(QFontInfo(sample.font()).family() != family);
    }

    // The sheet: the family, then a whole face, changed after the family's
    // entry was drawn where the row says so.
    ListBox &fontList = *find<ListBox>("fontList");
    for (int i = 0; i < fontList.count(); ++i)
        fontList.setSelected(i, fontList.text(i) == family || fontList.text(i) == QLatin1String("Liberation Sans"));
    // The family sorts before Liberation Sans: its entry is drawn by then.
    int wholeRow = 0;
    while (fontList.text(wholeRow) != QLatin1String("Liberation Sans"))
        ++wholeRow;
    // What the progress window had counted when the face changed.
    QString countedAtChange;
    m_runtime.onPump = [&](int pump) {
        if (when == Moment::WhilePrinting && pump == wholeRow + 1) {
            change(path, how);
            countedAtChange = control<QLabel>(m_window->progressWindow(), "countLine")->text();
        }
    };
    const QDir documents(QDir::home().filePath(QStringLiteral("Documents")));
    for (const QString &old : documents.entryList(QDir::Files))
        QFile::remove(documents.filePath(old));
    m_runtime.pumps = 0;
    if (when == Moment::InEarlierPart) {
        // A part a page: the family's entry, changed before its part ends
        // at the first page break, then pages of the whole face.
        SystemPrinter parted(m_fonts, m_notifier, 1);
        parted.setFontName(QStringLiteral("Liberation Sans"));
        parted.printLine(QStringLiteral("Heading"));
        parted.printLine(QLatin1Char('(') + family + QLatin1Char(')'));
        parted.setFontName(family);
        parted.setFontSize(20);
        parted.printLine(family);
        change(path, how);
        parted.setFontName(QStringLiteral("Liberation Sans"));
        for (int line = 0; line < 100; ++line)
            parted.printLine(QStringLiteral("Liberation Sans"));
        parted.finish();
    } else {
        find<QPushButton>("printButton")->click();
    }
    m_runtime.onPump = nullptr;
    if (when == Moment::WhilePrinting) {
        // An entry is drawn as soon as it is counted ("3 / 6"): the count
        // had reached the family's entry.
        int familyRow = 0;
        while (familyRow < fontList.count() && fontList.text(familyRow) != family)
            ++familyRow;
        bool counted = false;
        const int reached = countedAtChange.section(QLatin1Char(' '), 0, 0).toInt(&counted);
        QVERIFY2(counted && reached >= familyRow, qPrintable(countedAtChange));
    }
    QVERIFY(m_runtime.messages.isEmpty());
    QVERIFY(m_runtime.failures.isEmpty());
    const QStringList sheets = documents.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    QCOMPARE(sheets.size(), 1);
    const QString pdf = documents.filePath(sheets.first());

    QStringList lines = pdfText(pdf).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const qsizetype caption = lines.indexOf(QLatin1Char('(') + family + QLatin1Char(')'));
    QVERIFY2(caption > 0 && caption + 1 < lines.size(), qPrintable(lines.join(QLatin1Char('|'))));
    QCOMPARE(lines.at(caption + 1), NotAvailable);
    QVERIFY(lines.contains(QLatin1String("Liberation Sans")));
    const QStringList fonts = pdfFonts(pdf);
    QVERIFY2(!fonts.contains(postScriptName + QLatin1String(" yes")), qPrintable(fonts.join(QLatin1Char(','))));
    QVERIFY2(fonts.contains(QLatin1String("LiberationSans yes")), qPrintable(fonts.join(QLatin1Char(','))));
}

int main(int argc, char *argv[])
{
    // The faces and the home must be in place before Qt reads the font list.
    QTemporaryDir home;
    const QString folder = QDir(home.path()).filePath(QStringLiteral("fonts"));
    if (!home.isValid() || !QDir().mkpath(folder))
        return 1;
    for (const QString &face : FaceFiles) {
        if (!QFile::copy(face, QDir(folder).filePath(QFileInfo(face).fileName())))
            return 1;
    }
    QFile config(QDir(home.path()).filePath(QStringLiteral("fonts.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">"
                                "<fontconfig><dir>%1</dir><cachedir>%2</cachedir>"
                                "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include></fontconfig>")
                     .arg(folder, QDir(home.path()).filePath(QStringLiteral("cache")))
                     .toUtf8());
    config.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config.fileName()));
    // No print server at this address: the PDF printer files the sheets,
    // even on a machine with a default queue.
    qputenv("CUPS_SERVER", "/nonexistent/glyphora-test/cups.sock");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(home.path()).filePath(QStringLiteral(".config"))));
    QApplication app(argc, argv);
    tst_ChangingFonts test(folder);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_changing_fonts.moc"
