#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class Runtime;

// The progress window that the start-up and printing routines drive: a count
// line, a second line of text, and a Stop button. The caption tells the Stop
// button which routine runs; the hidden Label3 carries the stop flag.
class EzFonCnt : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char *ReadingCaption = "Reading Fonts";
    static constexpr const char *PrintingCaption = "Printing Fonts";
    static constexpr const char *StopRequest = "stop";

    // The count line that both drivers write into Label1: the index being
    // visited, " / ", the last index, in plain digits ("0 / 57").
    static QString countLine(int index, int last);

    explicit EzFonCnt(Runtime &runtime, QWidget *parent = nullptr);
    ~EzFonCnt() override;

    // Shows the window without waiting for it. A closed window starts again
    // from its initial texts; an open one keeps them and is only raised.
    void open();
    // Takes the window off the screen. Its texts stay readable.
    void closeWindow();

    QString caption() const;
    void setCaption(const QString &caption);

    QFrame *picture1() const { return m_picture1; }
    QLabel *label1() const { return m_label1; }
    QLabel *label2() const { return m_label2; }
    QLabel *label3() const { return m_label3; }
    QPushButton *command1() const { return m_command1; }

    // Paints at once, without waiting for the event loop. A window that the
    // platform has not put on the screen yet has nothing to paint into; it
    // paints its current texts when it gets there, at the next event pump.
    void repaintLabel(QLabel *label);
    void repaintWindow();

private Q_SLOTS:
    void onCommand1Clicked();

private:
    void resetTexts();

    Runtime &m_runtime;
    QFrame *m_picture1 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QPushButton *m_command1 = nullptr;
};
