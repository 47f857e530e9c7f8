// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/face_watch.h"

#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"

#include <sys/stat.h>

namespace {

bool later(const timespec &a, const timespec &b)
{
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec > b.tv_nsec);
}

QString familyKey(const QString &family)
{
    return withoutFoundryTag(family).toCaseFolded();
}

} // namespace

FaceWatch::FaceWatch(ProcessFontState *process)
    : m_process(process)
{
    clock_gettime(CLOCK_REALTIME, &m_listedAt);
    if (m_process)
        connect(m_process, &ProcessFontState::facesFaulted, this, &FaceWatch::facesFaulted);
}

bool FaceWatch::isUsable(const QString &family, const QList<QByteArray> &files)
{
    const QString key = familyKey(family);
    if (m_unusable.contains(key))
        return false;
    for (const QByteArray &file : files) {
        struct stat status = {};
        if (stat(file.constData(), &status) != 0 || later(status.st_ctim, m_listedAt)) {
            m_unusable.insert(key);
            return false;
        }
    }
    return true;
}

void FaceWatch::setUnusable(const QString &family)
{
    m_unusable.insert(familyKey(family));
}

int FaceWatch::faultCount() const
{
    return m_process ? m_process->faultCount() : 0;
}
