// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fonts/fontconfig_handles.h"

#include <QObject>

class QSocketNotifier;

// What the program changes about fonts for its whole process, in one place:
// - a bus-error handler that survives a face file cut short under FreeType's
//   mapping of it (see FaceWatch);
// - fontconfig's current configuration, which every fontconfig call of Qt's
//   reads: the installed one at first, a short one for borrowing glyphs
//   once the catalogue is read (see GlyphFallback), and for a moment the one
//   that sets up a single face (see FaceSetup);
// - fontconfig's rescans of the font folders, which are turned off.
//
// main() makes the one object, before the font catalogue, and hands it to
// the catalogue; a catalogue made without it changes nothing outside
// itself. A second object in the same process is a fault: its constructor
// throws std::logic_error. The destructor puts the process back as it was.
class ProcessFontState : public QObject
{
    Q_OBJECT

public:
    ProcessFontState();
    ~ProcessFontState() override;
    ProcessFontState(const ProcessFontState &) = delete;
    ProcessFontState &operator=(const ProcessFontState &) = delete;

    // The configuration that was current when this object was made, which
    // is the one Qt reads the installed fonts from.
    FcConfig *installedConfig() const { return m_installed.get(); }

    // Makes config fontconfig's current configuration for the rest of this
    // object's life, in place of the installed one or an earlier one given
    // here. Returns false, and changes nothing, where fontconfig refuses it.
    bool setDrawingConfig(FcConfigHandle config);

    // Makes a configuration current until the end of a scope, then puts the
    // one before it back. The program draws on one thread, so no other can
    // see it meanwhile.
    class TemporaryConfig
    {
    public:
        TemporaryConfig(ProcessFontState &state, FcConfig *config);
        ~TemporaryConfig();
        TemporaryConfig(const TemporaryConfig &) = delete;
        TemporaryConfig &operator=(const TemporaryConfig &) = delete;

    private:
        FcConfigHandle m_previous;
    };

    // How many faults of face files the handler has caught so far.
    int faultCount() const;

signals:
    // A face file faulted while it was drawn: what shows may be empty.
    void facesFaulted();

private:
    void onFaultSignalled();

    FcConfigHandle m_installed;
    int m_installedRescanInterval = 0;
    FcConfigHandle m_drawing;
    int m_faultPipe[2] = {-1, -1};
    QSocketNotifier *m_faultNotifier = nullptr;
};
