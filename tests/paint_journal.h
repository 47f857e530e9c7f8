// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QEvent>
#include <QLabel>
#include <QStringList>
#include <QWidget>

// Writes one line into a journal for every paint event of the watched
// widgets: "Paint:countLine:0 / 57" for a label (with the text it shows),
// "Paint:ProgressWindow" for anything else. Tests read the journal beside the
// fakes' lines to see what was on the screen at each step.
class PaintJournal : public QObject
{
public:
    explicit PaintJournal(QStringList &journal)
        : m_journal(journal)
    {
    }

    void watch(QWidget *widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            QString line = QLatin1String("Paint:") + watched->objectName();
            if (const auto *label = qobject_cast<const QLabel *>(watched))
                line += QLatin1Char(':') + label->text();
            m_journal.append(line);
        }
        return false;
    }

private:
    QStringList &m_journal;
};
