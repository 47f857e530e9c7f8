// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <ctime>

class ProcessFontState;

// Which installed families can still be drawn in their own face, while
// their files are installed, updated and removed under the running program.
//
// FreeType maps each face file that Qt draws with into memory. A file cut
// short while it is mapped (a copy of a new version over it does that in
// its first moment) takes the pages past its new end with it, and the next
// glyph read from them would end the process with SIGBUS. A file that is
// gone, or cut short before Qt opens it, has Qt draw another face under the
// family's name.
//
// So a family's files are looked at before its face is used: files that
// are gone, or changed since the font list was read, make the family
// unusable for the rest of the run. That costs one stat() per file and no
// memory. Reading the faces into memory of the program's own would cost
// their whole files and, through Qt's application fonts, a fontconfig
// match against every installed face at each first use.
//
// A file that changes between the look and the draw, or while Qt repaints
// on its own, faults: the pages from the faulting one to the end of the
// mapping are then replaced with zeros, which FreeType reads as empty
// glyphs, and facesFaulted() has the program look again. The process's
// font state catches those faults; a watch without it hears of none.
class FaceWatch : public QObject
{
    Q_OBJECT

public:
    // The font list counts as read now: make the watch before it is read.
    // process, where given, must outlive the watch.
    explicit FaceWatch(ProcessFontState *process);

    // False for a family that was found unusable before, or whose face
    // files are gone or have changed since the font list was read. A family
    // that has no files of its own (a name that only the printer has) is
    // not this watch's to judge, and counts as usable.
    bool isUsable(const QString &family, const QList<QByteArray> &files);
    // For a family that Qt, asked for it, draws in another face.
    void setUnusable(const QString &family);

    // How many faults of face files were caught so far; a count that
    // changed while something was read tells that it may read empty.
    int faultCount() const;

signals:
    // A face file faulted while it was drawn: what shows may be empty.
    void facesFaulted();

private:
    ProcessFontState *m_process;
    timespec m_listedAt{};
    // Case-folded family names.
    QSet<QString> m_unusable;
};
